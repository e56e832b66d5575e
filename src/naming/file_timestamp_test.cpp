#include "naming/file_timestamp.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/clock.h"
#include "platform/file_times.h"
#include "settings/keywords.h"
#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

class FileTimestampTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplyDefaults(settings, DefaultsVariant::kConsole, 0, 0);
    WriteBytes(input, "in");
    WriteBytes(output, "out");
    // A fractional input time, far from now.
    struct timespec times[2] = {{0, UTIME_OMIT}, {1500000000, 700000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, input.c_str(), times, 0), 0);
  }
  std::time_t OutputTime() {
    std::time_t instant = 0;
    EXPECT_TRUE(GetModificationTime(output, instant));
    return instant;
  }

  TempFolder folder;
  std::string input = folder.File("in.jpg");
  std::string output = folder.File("out.dds");
  ConversionSettings settings;
};

TEST_F(FileTimestampTest, CurrentKeepsTheTimeOfWriting) {
  std::time_t before = OutputTime();
  settings.fileTimestamp = choice::kTimestampCurrent;
  ApplyFileTimestamp(settings, output, input);
  EXPECT_EQ(OutputTime(), before);
}

TEST_F(FileTimestampTest, OriginalCopiesTheInputTimeToTheSecond) {
  settings.fileTimestamp = choice::kTimestampOriginal;
  ApplyFileTimestamp(settings, output, input);
  EXPECT_EQ(OutputTime(), 1500000000);
}

TEST_F(FileTimestampTest, OriginalWithUnreadableInputLeavesTheOutputAlone) {
  std::time_t before = OutputTime();
  settings.fileTimestamp = choice::kTimestampOriginal;
  ApplyFileTimestamp(settings, output, folder.File("gone.jpg"));
  EXPECT_EQ(OutputTime(), before);
  EXPECT_GT(OutputTime(), 86400 * 365);
}

TEST_F(FileTimestampTest, CustomIsALocalCalendarDateValue) {
  settings.fileTimestamp = choice::kTimestampCustom;
  settings.customTimestamp = 86400;  // 1970-01-02 00:00:00 local time
  ApplyFileTimestamp(settings, output, input);
  EXPECT_EQ(OutputTime(), DateValueToInstant(86400));
  EXPECT_EQ(InstantToDateValue(OutputTime()), 86400);

  settings.customTimestamp = 0;
  ApplyFileTimestamp(settings, output, input);
  EXPECT_EQ(InstantToDateValue(OutputTime()), 0);
}

TEST_F(FileTimestampTest, AccessTimeIsNotTouched) {
  struct timespec times[2] = {{1000000000, 0}, {UTIME_OMIT, UTIME_OMIT}};
  ASSERT_EQ(utimensat(AT_FDCWD, output.c_str(), times, 0), 0);
  settings.fileTimestamp = choice::kTimestampCustom;
  settings.customTimestamp = 86400 * 400;
  ApplyFileTimestamp(settings, output, input);
  struct stat st {};
  ASSERT_EQ(stat(output.c_str(), &st), 0);
  EXPECT_EQ(st.st_atim.tv_sec, 1000000000);
}

}  // namespace
}  // namespace jpg2dds
