#include "platform/held_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "testing/test_pictures.h"

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

// Folders made where missing, never the base, never past it; no link below
// the held folder followed, to a folder or a file, whether folders are made
// or only entered; the folder the user named may be a link.
TEST(EnterFolders, MakesWhatIsMissingAndFollowsNoLinkBelowTheBase) {
  const testing::TempFolder folder;
  const std::string& top = folder.path();
  ASSERT_EQ(mkdir((top + "elsewhere").c_str(), 0755), 0);
  std::ofstream(top + "file") << "x";
  ASSERT_EQ(symlink("elsewhere", (top + "sub").c_str()), 0);
  ASSERT_EQ(symlink("file", (top + "filelink").c_str()), 0);
  ASSERT_EQ(symlink(top.c_str(), (top + "elsewhere/chosen").c_str()), 0);
  const struct {
    std::string base, below;
    bool make, entered;
    const char* made;  // a folder that stands afterwards, or null
  } cases[] = {
      {top, "a b/c/", true, true, "a b/c"},        {top, "a b/c/d/", true, true, "a b/c/d"},
      {top + "a b", "e/", true, true, "a b/e"},    {top, "f/name", true, true, "f"},
      {top, "", true, true, nullptr},              {top + "missing/", "g/", true, false, nullptr},
      {top, "../escaped/", true, false, nullptr},  {top, "file/h/", true, false, nullptr},
      {top, "sub/", true, false, nullptr},         {top, "sub/new/", true, false, nullptr},
      {top, "sub/", false, false, nullptr},        {top, "filelink/", false, false, nullptr},
      {top + "elsewhere/chosen/", "made/", true, true, "made"},
      {top, "made/../made/./", false, true, nullptr},  {top, "gone/", false, false, nullptr},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Enter(c.base, c.below, c.make), c.entered) << c.base << " " << c.below;
    EXPECT_TRUE(!c.made || IsFolder(top + c.made)) << c.made;
  }
  EXPECT_FALSE(IsFolder(top + "missing"));
  EXPECT_FALSE(IsFolder(top + "f/name"));
  EXPECT_FALSE(IsFolder(top + "elsewhere/new"));
}

}  // namespace
}  // namespace jpg2dds
