// Option errors end the run with one "Error: " line and exit code 0.
#include <gtest/gtest.h>

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

TEST(OptionsCli, ShortOptionWithEqualsIsNoInputOption) {
  e2e::TempDir dir;
  e2e::WriteJpeg(dir.File("a.jpg"), 8, 8);
  e2e::RunResult result = RunJpg2dds({"-i=a.jpg"}, dir.path());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out.find("Error:"), std::string::npos) << result.out;
  EXPECT_EQ(e2e::ListFolder(dir.path()), std::vector<std::string>{"a.jpg"});
}

}  // namespace
