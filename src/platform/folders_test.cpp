#include "platform/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace jpg2dds {
namespace {

TEST(ConfigFolderFrom, OneSlashBetweenFoldersAndOneAtTheEnd) {
  const struct {
    const char* xdg;
    const char* home;
    const char* folder;
  } cases[] = {
      {"/", "/home/u", "/"},
      {"//", "/home/u", "/"},
      {"///", "", "/"},
      {"/x/", "", "/x/"},
      {"/x", "", "/x/"},
      {"//x//y//", "", "/x/y/"},
      {"relative/x", "/home/u", "/home/u/.config/"},  // a relative value is ignored
      {"", "/home/u/", "/home/u/.config/"},
      {nullptr, "/home//u", "/home/u/.config/"},
      {nullptr, "/", "/.config/"},
      {nullptr, "", ""},  // unknown
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConfigFolderFrom(c.xdg, c.home), c.folder) << (c.xdg ? c.xdg : "(unset)") << " " << c.home;
  }
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

TEST(CreateFoldersBelow, MakesWhatIsMissingAndNeverTheBase) {
  char pattern[] = "/tmp/jpg2dds-folders-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string top = std::string(pattern) + "/";
  EXPECT_TRUE(CreateFoldersBelow(top, "a b/c/"));
  EXPECT_TRUE(IsFolder(top + "a b/c"));
  EXPECT_TRUE(CreateFoldersBelow(top, "a b/c/d/"));  // the first two stand already
  EXPECT_TRUE(IsFolder(top + "a b/c/d"));
  EXPECT_TRUE(CreateFoldersBelow(top + "a b", "e/"));  // a base without its "/"
  EXPECT_TRUE(IsFolder(top + "a b/e"));
  EXPECT_TRUE(CreateFoldersBelow(top, "f/name"));  // a last part without "/" is a file's
  EXPECT_TRUE(IsFolder(top + "f"));
  EXPECT_FALSE(IsFolder(top + "f/name"));
  EXPECT_TRUE(CreateFoldersBelow(top, ""));

  EXPECT_FALSE(CreateFoldersBelow(top + "missing/", "g/"));  // the base is never made
  EXPECT_FALSE(IsFolder(top + "missing"));
  EXPECT_FALSE(CreateFoldersBelow(top, "../escaped/"));
  std::ofstream(top + "file") << "x";
  EXPECT_FALSE(CreateFoldersBelow(top, "file/h/"));  // a file stands in the way
  EXPECT_EQ(std::system(("rm -rf '" + top + "'").c_str()), 0);
}

}  // namespace
}  // namespace jpg2dds
