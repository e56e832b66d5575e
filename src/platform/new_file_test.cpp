#include "platform/new_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace jpg2dds {
namespace {

// A write that finds no room is told apart from other failures: /dev/full
// answers every write as a full disk does.
TEST(CloseWrittenFile, GivesTheErrnoOfAFailedWrite) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  ASSERT_NE(full, nullptr);
  const std::string block(1 << 16, 'x');  // more than the stream buffers
  std::fwrite(block.data(), 1, block.size(), full);
  int error = 0;
  EXPECT_FALSE(CloseWrittenFile(full, &error));
  EXPECT_EQ(error, ENOSPC);
  EXPECT_TRUE(IsNoSpaceError(error));
}

}  // namespace
}  // namespace jpg2dds
