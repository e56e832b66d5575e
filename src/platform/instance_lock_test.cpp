#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace jpg2dds {
namespace {

class LockFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/jpg2dds-lock-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    std::string command = "rm -rf '" + folder + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  std::string folder;
};

TEST(InstanceLockPath, PerUserFileNamedAfterTheTitle) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  std::string savedValue = saved ? saved : "";
  setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
  EXPECT_EQ(InstanceLockPath("Brightmill JPG to DDS 2.8"), "/run/user/1234/Brightmill JPG to DDS 2.8.lock");
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(InstanceLockPath("T 1.0"), "/tmp/T 1.0-" + std::to_string(geteuid()) + ".lock");
  setenv("XDG_RUNTIME_DIR", "relative", 1);  // not a usable folder
  EXPECT_EQ(InstanceLockPath("T 1.0"), "/tmp/T 1.0-" + std::to_string(geteuid()) + ".lock");
  if (saved) setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1); else unsetenv("XDG_RUNTIME_DIR");
}

TEST_F(LockFolder, MadeWithOwnerOnlyPermissions) {
  std::string path = folder + "/t.lock";
  InstanceLock lock = TakeInstanceLock(path);
  ASSERT_GE(lock.fd, 0);
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ReleaseInstanceLock(lock);
  EXPECT_EQ(lock.fd, -1);
}

TEST_F(LockFolder, SymbolicLinkIsNotFollowed) {
  std::string target = folder + "/target";
  std::string path = folder + "/t.lock";
  ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
  InstanceLock lock = TakeInstanceLock(path);
  EXPECT_EQ(lock.fd, -1);
  EXPECT_NE(access(target.c_str(), F_OK), 0) << "the link's target must not be created";
}

// A second process waits while the first holds the lock, then runs: it is
// neither refused nor let in early.
TEST_F(LockFolder, SecondProcessWaitsAndThenRuns) {
  std::string path = folder + "/t.lock";
  InstanceLock first = TakeInstanceLock(path);
  ASSERT_GE(first.fd, 0);

  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    InstanceLock second = TakeInstanceLock(path);
    char report = second.fd >= 0 ? 'L' : 'F';
    _exit(write(fds[1], &report, 1) == 1 ? 0 : 1);
  }
  close(fds[1]);

  pollfd pfd{fds[0], POLLIN, 0};
  EXPECT_EQ(poll(&pfd, 1, 300), 0) << "the second process got the lock while the first held it";

  ReleaseInstanceLock(first);
  EXPECT_EQ(poll(&pfd, 1, 30000), 1);
  char report = 0;
  EXPECT_EQ(read(fds[0], &report, 1), 1);
  EXPECT_EQ(report, 'L');
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace jpg2dds
