#include "platform/helper_process.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace jpg2dds {
namespace {

// A helper holds no file of the parent's (a lock, a file being written, the
// parent's end of another helper's socket): only the standard streams and
// its own socket. It ends when the parent's end closes, and is reaped.
TEST(HelperProcess, HoldsOnlyTheStandardStreamsAndItsSocket) {
  int parentFiles[2];
  ASSERT_EQ(pipe(parentFiles), 0);
  HelperProcess other;
  ASSERT_TRUE(StartHelperProcess(other, [](int) {}));
  HelperProcess helper;
  ASSERT_TRUE(StartHelperProcess(helper, [](int socket) {
    int strays = 0;
    DIR* listing = opendir("/proc/self/fd");
    if (!listing) std::exit(1);
    while (const dirent* entry = readdir(listing)) {
      if (entry->d_name[0] == '.') continue;
      const int file = std::atoi(entry->d_name);
      if (file != socket && file > 2 && file != dirfd(listing)) ++strays;
    }
    closedir(listing);
    SendMessage(socket, &strays, sizeof strays);
  }));
  int strays = -1;
  ASSERT_TRUE(ReceiveMessage(helper.socket, &strays, sizeof strays));
  EXPECT_EQ(strays, 0);
  const int pid = helper.pid;
  StopHelperProcess(helper);
  StopHelperProcess(other);
  EXPECT_EQ(helper.pid, -1);
  errno = 0;
  EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  close(parentFiles[0]);
  close(parentFiles[1]);
}

}  // namespace
}  // namespace jpg2dds
