// Modes chosen by the first argument, the exit code, and copies started
// together.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/program_identity.h"
#include "e2e_support.h"
#include "platform/instance_lock.h"

namespace {

using e2e::RunJpg2dds;

// A jpg2dds process running in the background, its output read on demand.
struct Running {
  pid_t pid = -1;
  int out = -1;
  std::string text;
};

Running Start(const std::vector<std::string>& args) {
  Running run;
  int fds[2];
  if (pipe(fds) != 0) return run;
  run.pid = fork();
  if (run.pid == 0) {
    setsid();
    dup2(fds[1], 1);
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(devnull, 2);
    close(fds[0]);
    close(fds[1]);
    std::string program = JPG2DDS_BINARY;
    std::vector<std::string> copy = args;
    std::vector<char*> argv{program.data()};
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(fds[1]);
  run.out = fds[0];
  return run;
}

// Reads what arrives within the time; false at the end of the output.
bool ReadFor(Running& run, int milliseconds) {
  pollfd pfd{run.out, POLLIN, 0};
  if (poll(&pfd, 1, milliseconds) <= 0) return true;
  char buffer[512];
  ssize_t n = read(run.out, buffer, sizeof buffer);
  if (n <= 0) return false;
  run.text.append(buffer, static_cast<size_t>(n));
  return true;
}

// Reads to the end of the output and returns the exit code; a process that
// has not ended within 60 s is killed.
int Finish(Running& run) {
  bool open = true;
  for (int i = 0; i < 600 && open; ++i) open = ReadFor(run, 100);
  close(run.out);
  if (open) {
    kill(run.pid, SIGKILL);
    ADD_FAILURE() << "jpg2dds did not end";
  }
  int status = 0;
  waitpid(run.pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

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
  Running waiting = Start({"-v"});
  ASSERT_GT(waiting.pid, 0);
  ReadFor(waiting, 500);
  EXPECT_EQ(waiting.text, "") << "ran while another copy held the lock";
  jpg2dds::ReleaseInstanceLock(held);
  EXPECT_EQ(Finish(waiting), 0);
  EXPECT_EQ(waiting.text, "2.8\n");
}

TEST(Cli, CopiesStartedTogetherAllRunToTheirEnd) {
  std::vector<Running> copies;
  for (int i = 0; i < 4; ++i) copies.push_back(Start(i % 2 ? std::vector<std::string>{"-v"}
                                                            : std::vector<std::string>{"-h"}));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Finish(copies[i]), 0);
    if (i % 2) {
      EXPECT_EQ(copies[i].text, "2.8\n");
    } else {
      EXPECT_EQ(std::count(copies[i].text.begin(), copies[i].text.end(), '\n'), 36) << copies[i].text;
    }
  }
}

}  // namespace
