#include "batch/up_to_date.h"

#include <gtest/gtest.h>

#include "settings/keywords.h"
#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

// Only names known before converting, the same in every run, let an output
// be judged up to date: no picture size, counter, random number or clock,
// no custom time. The one depth of DDS is known whatever the picture.
TEST(SkipUpToDate, NeedsNamesAndTimesKnownBeforeConverting) {
  const struct {
    const char* mask;
    int8_t timestamp;
    bool possible;
  } cases[] = {
      {"", choice::kTimestampCurrent, true},
      {"%filename%.%ext%", choice::kTimestampOriginal, true},
      {"%FILENAME[U]%_%filename[l]%_%Filename[T]%.%EXT[u]%.%ext[t]%", choice::kTimestampCurrent, true},
      {"%filename%_%bpp%.dds", choice::kTimestampCurrent, true},
      {"%filename%.dds", choice::kTimestampCustom, false},
      {"%filename%_%width%.dds", choice::kTimestampCurrent, false},
      {"%HEIGHT%.dds", choice::kTimestampCurrent, false},
      {"%n%.dds", choice::kTimestampCurrent, false},
      {"%rnd%.dds", choice::kTimestampCurrent, false},
      {"%yyyy%.dds", choice::kTimestampCurrent, false},
      {"%mm%.dds", choice::kTimestampCurrent, false},
      {"%dd%.dds", choice::kTimestampCurrent, false},
      {"%hh%.dds", choice::kTimestampCurrent, false},
      {"%ii%.dds", choice::kTimestampCurrent, false},
      {"%ss%.dds", choice::kTimestampCurrent, false},
      {"100%.dds", choice::kTimestampCurrent, true},
  };
  for (const auto& c : cases) {
    ConversionSettings settings = testing::DefaultSettings();
    settings.filenameMask = c.mask;
    settings.fileTimestamp = c.timestamp;
    EXPECT_EQ(SkippingIsPossible(settings, "dds"), c.possible) << c.mask << " " << int{c.timestamp};
  }
}

}  // namespace
}  // namespace jpg2dds
