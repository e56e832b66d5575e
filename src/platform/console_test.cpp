#include "platform/console.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "platform/signals.h"

namespace jpg2dds {
namespace {

// Runs WaitForKey in a child whose controlling terminal is a new
// pseudo-terminal; the test types into its master side.
class KeyWait : public ::testing::Test {
 protected:
  void SetUp() override {
    child = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
      InstallProcessSignals();
      termios before{};
      tcgetattr(STDIN_FILENO, &before);
      PrintLine("waiting");
      WaitForKey();
      termios after{};
      tcgetattr(STDIN_FILENO, &after);
      bool restored = (after.c_lflag & (ICANON | ECHO)) == (before.c_lflag & (ICANON | ECHO));
      PrintLine(restored ? "done restored" : "done broken");
      _exit(0);
    }
    ASSERT_TRUE(ReadUntil("waiting", 10000));
  }
  void TearDown() override {
    if (child > 0) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
    }
    if (master >= 0) close(master);
  }

  // Collects the child's output until it holds `text`, or the time is up.
  bool ReadUntil(const std::string& text, int milliseconds) {
    for (;;) {
      if (output.find(text) != std::string::npos) return true;
      pollfd pfd{master, POLLIN, 0};
      if (poll(&pfd, 1, milliseconds) <= 0) return false;
      char buffer[256];
      ssize_t n = read(master, buffer, sizeof buffer);
      if (n <= 0) return false;
      output.append(buffer, static_cast<size_t>(n));
    }
  }

  // The master side reports the terminal's modes: wait until the child has
  // switched echo off, so no key arrives before the wait has begun.
  bool WaitForRawMode() {
    for (int i = 0; i < 1000; ++i) {
      termios mode{};
      if (tcgetattr(master, &mode) == 0 && !(mode.c_lflag & ECHO)) return true;
      usleep(10000);
    }
    return false;
  }

  void Type(const std::string& keys) { ASSERT_EQ(write(master, keys.data(), keys.size()), (ssize_t)keys.size()); }

  int master = -1;
  pid_t child = -1;
  std::string output;
};

TEST_F(KeyWait, CharacterKeyEndsTheWaitWithoutEchoAndRestoresTheTerminal) {
  ASSERT_TRUE(WaitForRawMode());
  Type("x");
  ASSERT_TRUE(ReadUntil("done", 10000)) << output;
  EXPECT_NE(output.find("done restored"), std::string::npos) << output;
  EXPECT_EQ(output.find('x'), std::string::npos) << "the key was echoed: " << output;
}

TEST_F(KeyWait, KeysWithoutACharacterDoNotEndTheWait) {
  ASSERT_TRUE(WaitForRawMode());
  Type("\x1B[A");      // arrow up
  Type("\x1B[1;2P");   // shifted function key
  Type("\x1BOP");      // F1 as an application keypad sends it
  Type("\x1BOA");      // arrow up, likewise
  EXPECT_FALSE(ReadUntil("done", 500)) << output;
  Type("\x1B");        // the Escape key alone carries a character
  EXPECT_TRUE(ReadUntil("done restored", 10000)) << output;
}

TEST_F(KeyWait, CtrlCPutsTheTerminalBackAndEndsTheProcessBySigint) {
  ASSERT_TRUE(WaitForRawMode());
  Type("\x03");
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  child = -1;
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
  termios mode{};
  ASSERT_EQ(tcgetattr(master, &mode), 0);
  EXPECT_EQ(mode.c_lflag & (ICANON | ECHO), tcflag_t{ICANON | ECHO});
}

// Alt with a key: the terminal sends Escape and then the key's character.
class AltKey : public KeyWait, public ::testing::WithParamInterface<const char*> {};

TEST_P(AltKey, EndsTheWait) {
  ASSERT_TRUE(WaitForRawMode());
  Type(GetParam());
  EXPECT_TRUE(ReadUntil("done restored", 10000)) << output;
}

INSTANTIATE_TEST_SUITE_P(Keys, AltKey,
                         ::testing::Values("\x1Bx", "\x1BX", "\x1B" "5", "\x1B ", "\x1B~", "\x1B\xC3\xA9"));

TEST(WaitForKey, ReturnsAtOnceWithoutATerminal) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setsid();  // leaves the controlling terminal behind
    WaitForKey();
    _exit(7);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 7);
}

}  // namespace
}  // namespace jpg2dds
