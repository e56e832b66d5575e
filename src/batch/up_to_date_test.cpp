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
  ConversionSettings settings = testing::DefaultSettings();
  for (const char* mask : {"", "%FILENAME[U]%_%filename[l]%_%Filename[T]%.%EXT[u]%.%ext[t]%", "%filename%_%bpp%.dds",
                           "100%.dds"}) {
    settings.filenameMask = mask;
    EXPECT_TRUE(SkippingIsPossible(settings, "dds")) << mask;
  }
  // One token of each kind the output name cannot be known by before converting.
  for (const char* mask : {"%HEIGHT%.dds", "%n%.dds", "%yyyy%.dds"}) {
    settings.filenameMask = mask;
    EXPECT_FALSE(SkippingIsPossible(settings, "dds")) << mask;
  }
  settings.filenameMask = "";
  settings.fileTimestamp = choice::kTimestampOriginal;
  EXPECT_TRUE(SkippingIsPossible(settings, "dds"));
  settings.fileTimestamp = choice::kTimestampCustom;
  EXPECT_FALSE(SkippingIsPossible(settings, "dds"));
}

}  // namespace
}  // namespace jpg2dds
