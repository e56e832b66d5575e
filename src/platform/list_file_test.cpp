#include "platform/list_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace jpg2dds {
namespace {

TEST(ReadListFile, FilesAndPipesAreReadToTheEnd) {
  char pattern[] = "/tmp/jpg2dds-list-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string folder = pattern;
  std::ofstream(folder + "/list.txt", std::ios::binary) << "a.jpg\nb.jpg\n";
  std::string text;
  ASSERT_TRUE(CanReadListFile(folder + "/list.txt"));
  ASSERT_TRUE(ReadListFile(folder + "/list.txt", 100, text));
  EXPECT_EQ(text, "a.jpg\nb.jpg\n");

  // A pipe by its /dev/fd name, as the shell's <(find ...) hands it over.
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], "c.jpg\n", 6), 6);
  close(fds[1]);
  const std::string byName = "/dev/fd/" + std::to_string(fds[0]);
  EXPECT_TRUE(CanReadListFile(byName));
  ASSERT_TRUE(ReadListFile(byName, 100, text));
  EXPECT_EQ(text, "c.jpg\n");
  close(fds[0]);

  EXPECT_FALSE(CanReadListFile(folder));
  EXPECT_FALSE(ReadListFile(folder, 100, text));
  EXPECT_FALSE(CanReadListFile(folder + "/missing.txt"));
  EXPECT_FALSE(ReadListFile(folder + "/missing.txt", 100, text));
  EXPECT_FALSE(ReadListFile("/dev/zero", 1 << 20, text));  // endless: refused at the bound
  EXPECT_FALSE(ReadListFile(folder + "/list.txt", 11, text));
  EXPECT_TRUE(ReadListFile(folder + "/list.txt", 12, text));
  EXPECT_FALSE(CanReadListFile(std::string("list.txt\0x", 10)));
  EXPECT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0);
}

}  // namespace
}  // namespace jpg2dds
