#include "platform/held_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace jpg2dds {
namespace {

bool IsFolder(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Enter(const std::string& base, const std::string& below, bool makeMissing) {
  HeldFolder folder;
  const bool entered = HoldFolder(base, folder) && EnterFolders(folder, below, makeMissing);
  ReleaseFolder(folder);
  return entered;
}

bool MakeBelow(const std::string& base, const std::string& below) { return Enter(base, below, true); }

TEST(EnterFolders, MakesWhatIsMissingAndNeverTheBase) {
  char pattern[] = "/tmp/jpg2dds-folders-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string top = std::string(pattern) + "/";
  EXPECT_TRUE(MakeBelow(top, "a b/c/"));
  EXPECT_TRUE(IsFolder(top + "a b/c"));
  EXPECT_TRUE(MakeBelow(top, "a b/c/d/"));  // the first two stand already
  EXPECT_TRUE(IsFolder(top + "a b/c/d"));
  EXPECT_TRUE(MakeBelow(top + "a b", "e/"));  // a base without its "/"
  EXPECT_TRUE(IsFolder(top + "a b/e"));
  EXPECT_TRUE(MakeBelow(top, "f/name"));  // a last part without "/" is a file's
  EXPECT_TRUE(IsFolder(top + "f"));
  EXPECT_FALSE(IsFolder(top + "f/name"));
  EXPECT_TRUE(MakeBelow(top, ""));

  EXPECT_FALSE(MakeBelow(top + "missing/", "g/"));  // the base is never made
  EXPECT_FALSE(IsFolder(top + "missing"));
  EXPECT_FALSE(MakeBelow(top, "../escaped/"));
  std::ofstream(top + "file") << "x";
  EXPECT_FALSE(MakeBelow(top, "file/h/"));  // a file stands in the way
  EXPECT_EQ(std::system(("rm -rf '" + top + "'").c_str()), 0);
}

// A link below the held folder is never followed, to a folder or to a file,
// whether folders are made or only entered; the folder the user named may
// be one.
TEST(EnterFolders, NoLinkBelowTheHeldFolderIsFollowed) {
  char pattern[] = "/tmp/jpg2dds-folders-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string top = std::string(pattern) + "/";
  ASSERT_EQ(mkdir((top + "shared").c_str(), 0777), 0);
  ASSERT_EQ(mkdir((top + "elsewhere").c_str(), 0755), 0);
  std::ofstream(top + "elsewhere/file") << "x";
  ASSERT_EQ(symlink("../elsewhere", (top + "shared/sub").c_str()), 0);
  ASSERT_EQ(symlink("../elsewhere/file", (top + "shared/file").c_str()), 0);
  ASSERT_EQ(symlink("shared", (top + "chosen").c_str()), 0);
  for (bool makeMissing : {true, false}) {
    EXPECT_FALSE(Enter(top + "shared/", "sub/", makeMissing));
    EXPECT_FALSE(Enter(top + "shared/", "sub/new/", makeMissing));
    EXPECT_FALSE(Enter(top + "shared/", "file/", makeMissing));
    EXPECT_TRUE(Enter(top + "chosen/", "", makeMissing));
  }
  EXPECT_TRUE(MakeBelow(top + "chosen/", "made/"));
  EXPECT_TRUE(IsFolder(top + "shared/made"));
  EXPECT_FALSE(IsFolder(top + "elsewhere/new"));
  EXPECT_TRUE(Enter(top + "shared/", "made/../made/./", false));  // as named, without making
  EXPECT_FALSE(Enter(top + "shared/", "gone/", false));
  EXPECT_EQ(std::system(("rm -rf '" + top + "'").c_str()), 0);
}

}  // namespace
}  // namespace jpg2dds
