// Modes chosen by the first argument, the exit code, and copies started
// together.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/program_identity.h"
#include "e2e_support.h"
#include "platform/instance_lock.h"

namespace {

using e2e::FinishJpg2dds;
using e2e::ReadOutputFor;
using e2e::RunJpg2dds;
using e2e::Running;
using e2e::StartJpg2dds;

void ExpectHelp(const e2e::RunResult& result) {
  ASSERT_EQ(result.lines.size(), 36u) << result.out;
  EXPECT_EQ(result.lines[0], " ");
  EXPECT_EQ(result.lines[1], "Usage: jpg2dds -i <filename> [options]");
  EXPECT_EQ(result.lines[3], "  jpg2dds -i example.jpg");
  EXPECT_EQ(result.lines[35], "  -v, --version             Display version information and exit");
  // Nothing after the last line: not even an empty line.
  EXPECT_EQ(result.out.substr(result.out.size() - 2), "t\n");
  EXPECT_EQ(result.exitCode, 0);
}

TEST(Cli, VersionIsOneLine) {
  for (const char* option : {"-v", "-V", "--version", " --Version "}) {
    e2e::RunResult result = RunJpg2dds({option});
    EXPECT_EQ(result.out, "2.8\n") << option;
    EXPECT_EQ(result.exitCode, 0);
  }
}

TEST(Cli, HelpInEveryForm) {
  for (const char* option : {"-h", "-H", "-?", "--help", "--HELP=x"}) {
    SCOPED_TRACE(option);
    ExpectHelp(RunJpg2dds({option}));
  }
}

TEST(Cli, WithoutAnInputOptionTheHelpIsShown) {
  ExpectHelp(RunJpg2dds({}));
  ExpectHelp(RunJpg2dds({"-q"}));
  ExpectHelp(RunJpg2dds({"a.jpg", "-q"}));
}

TEST(Cli, WindowedModesEndAtOnce) {
  for (std::vector<std::string> args : {std::vector<std::string>{"-u"}, {"-U", "-v"}, {"-t"}, {"-t", "/tmp"}}) {
    e2e::RunResult result = RunJpg2dds(args);
    EXPECT_EQ(result.out, "") << args[0];
    EXPECT_EQ(result.exitCode, 0);
  }
}

TEST(Cli, VersionOrHelpLaterOnIsNoModeSwitch) {
  e2e::RunResult result = RunJpg2dds({"-q", "-v"});
  EXPECT_NE(result.out, "2.8\n");
  EXPECT_EQ(result.exitCode, 0);
}

// A copy started while another runs waits for it and then does its work;
// it is never dropped.
TEST(Cli, SecondCopyWaitsForTheFirstAndThenRuns) {
  jpg2dds::InstanceLock held = jpg2dds::TakeInstanceLock(jpg2dds::InstanceLockPath(jpg2dds::FullTitle()));
  ASSERT_GE(held.fd, 0);
  Running waiting = StartJpg2dds({"-v"});
  ASSERT_GT(waiting.pid, 0);
  ReadOutputFor(waiting, 500);
  EXPECT_EQ(waiting.text, "") << "ran while another copy held the lock";
  jpg2dds::ReleaseInstanceLock(held);
  EXPECT_EQ(FinishJpg2dds(waiting), 0);
  EXPECT_EQ(waiting.text, "2.8\n");
}

TEST(Cli, CopiesStartedTogetherAllRunToTheirEnd) {
  std::vector<Running> copies;
  for (int i = 0; i < 4; ++i) copies.push_back(StartJpg2dds(i % 2 ? std::vector<std::string>{"-v"}
                                                            : std::vector<std::string>{"-h"}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(FinishJpg2dds(copies[i]), 0);
    if (i % 2) {
      EXPECT_EQ(copies[i].text, "2.8\n");
    } else {
      EXPECT_EQ(std::count(copies[i].text.begin(), copies[i].text.end(), '\n'), 36) << copies[i].text;
    }
  }
}

}  // namespace
