// Option errors end the run with one "Error: " line and exit code 0.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "e2e_support.h"

namespace {

using e2e::RunJpg2dds;

TEST(OptionsCli, MissingInputValueIsOneErrorLine) {
  // With pause read first the key wait follows; without a terminal it
  // returns at once, so the run still ends.
  for (const auto& args : {std::vector<std::string>{"-p", "-i"}, std::vector<std::string>{"-i", "-p"}}) {
    e2e::RunResult result = RunJpg2dds(args);
    EXPECT_EQ(result.lines, std::vector<std::string>{"Error: Incorrect number of parameters"}) << args[0];
    EXPECT_EQ(result.exitCode, 0);
  }
}

TEST(OptionsCli, RefusedValuesStopTheRun) {
  e2e::TempDir dir;
  e2e::WriteJpeg(dir.File("a.jpg"), 8, 8);
  e2e::RunResult result = RunJpg2dds({"-i", "a.jpg", "--brightness=--20"}, dir.path());
  EXPECT_EQ(result.lines, std::vector<std::string>{"Error: Incorrect number of parameters"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(e2e::ListFolder(dir.path()), std::vector<std::string>{"a.jpg"});
}

TEST(OptionsCli, MissingProfileStopsBeforeLaterOptions) {
  e2e::TempDir dir;
  e2e::RunResult result = RunJpg2dds({"--profile=missing.ini", "-q"}, dir.path());
  EXPECT_EQ(result.lines, std::vector<std::string>{"Error: Invalid profile file"});
  EXPECT_EQ(result.exitCode, 0);
}

// Only a regular file of at most 16 MiB is a profile: a FIFO without a
// writer would block the run (and every copy waiting for the lock), a device
// would never end.
TEST(OptionsCli, ProfileMustBeARegularFileOfSaneSize) {
  e2e::TempDir dir;
  e2e::WriteJpeg(dir.File("a.jpg"), 8, 8);
  ASSERT_EQ(mkfifo(dir.File("fifo.ini").c_str(), 0600), 0);
  const size_t bound = size_t{16} << 20;
  std::string text = "[CLI]\r\n--FLIP-VERTICAL\r\n";
  while (text.size() < bound) text += "; a comment line that fills the profile up to its size\r\n";
  text.resize(bound);
  e2e::WriteBytes(dir.File("bound.ini"), text);
  e2e::WriteBytes(dir.File("over.ini"), text + "\n");
  for (const std::string& profile : {dir.File("fifo.ini"), std::string("/dev/zero"), dir.path(), dir.File("over.ini")}) {
    e2e::RunResult result = RunJpg2dds({"-i", "a.jpg", "--profile=" + profile, "-q"}, dir.path());
    EXPECT_EQ(result.lines, std::vector<std::string>{"Error: Invalid profile file"}) << profile;
    EXPECT_EQ(result.exitCode, 0);
  }
  e2e::RunResult result = RunJpg2dds({"-i", "a.jpg", "--profile=" + dir.File("bound.ini"), "-q", "-d"}, dir.path());
  EXPECT_NE(std::find(result.lines.begin(), result.lines.end(), "Flip Vertical: 1"), result.lines.end()) << result.out;
  EXPECT_EQ(result.lines.back(), "OK");
}

TEST(OptionsCli, ShortOptionWithEqualsIsNoInputOption) {
  e2e::TempDir dir;
  e2e::WriteJpeg(dir.File("a.jpg"), 8, 8);
  e2e::RunResult result = RunJpg2dds({"-i=a.jpg"}, dir.path());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out.find("Error:"), std::string::npos) << result.out;
  EXPECT_EQ(e2e::ListFolder(dir.path()), std::vector<std::string>{"a.jpg"});
}

}  // namespace
