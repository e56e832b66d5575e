#include "batch/folder_walk.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace jpg2dds {
namespace {

TEST(FolderBase, OneSlashAtTheEnd) {
  EXPECT_EQ(FolderBase("pics"), "pics/");
  EXPECT_EQ(FolderBase("pics/"), "pics/");
  EXPECT_EQ(FolderBase("/"), "/");
  EXPECT_EQ(FolderBase("."), "./");
}

TEST(SortByName, ByteOrderWhateverTheCase) {
  std::vector<FolderEntry> entries;
  for (const char* name : {"\xC3\xA9t\xC3\xA9.jpg", "b.jpg", "B.jpg", "a b.jpg", "a.jpg", "a", "10.jpg", "9.jpg",
                           "_x.jpg", "~y.jpg"}) {
    entries.push_back(FolderEntry{name, FolderEntryKind::kFile, 1, {}});
  }
  SortByName(entries);
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"10.jpg", "9.jpg", "B.jpg", "_x.jpg", "a", "a b.jpg", "a.jpg", "b.jpg",
                                             "~y.jpg", "\xC3\xA9t\xC3\xA9.jpg"}));
}

class FilesInFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/jpg2dds-walk-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    base_ = std::string(pattern) + "/";
  }
  void TearDown() override { EXPECT_EQ(std::system(("rm -rf '" + base_ + "'").c_str()), 0); }
  void File(const std::string& name, const std::string& bytes = "x") {
    std::ofstream(base_ + name, std::ios::binary) << bytes;
  }
  std::vector<std::string> Walk(bool recursive) {
    std::vector<FolderFile> files;
    EXPECT_TRUE(FilesInFolder(base_, recursive, files, unreadable_));
    std::vector<std::string> paths;
    for (const FolderFile& file : files) paths.push_back(file.path.substr(base_.size()));
    return paths;
  }
  std::string base_;
  std::vector<std::string> unreadable_;
};

// Depth first: a subfolder's files take its place among the names; links to
// folders are not followed (so the loop back to the top is not walked), links
// to files are files.
TEST_F(FilesInFolderTest, DepthFirstInNameOrderWithoutLinkedFolders) {
  File("b.jpg");
  ASSERT_EQ(mkdir((base_ + "a").c_str(), 0755), 0);
  File("a/z.jpg");
  ASSERT_EQ(mkdir((base_ + "a/sub").c_str(), 0755), 0);
  File("a/sub/y.jpg", "");
  File("C.txt");
  ASSERT_EQ(symlink(base_.c_str(), (base_ + "a/top").c_str()), 0);
  ASSERT_EQ(symlink("b.jpg", (base_ + "link.jpg").c_str()), 0);
  ASSERT_EQ(symlink("gone.jpg", (base_ + "dangling.jpg").c_str()), 0);
  EXPECT_EQ(Walk(false), (std::vector<std::string>{"C.txt", "b.jpg", "link.jpg"}));
  EXPECT_EQ(Walk(true), (std::vector<std::string>{"C.txt", "a/sub/y.jpg", "a/z.jpg", "b.jpg", "link.jpg"}));
}

TEST_F(FilesInFolderTest, AMissingFolderIsRefused) {
  std::vector<FolderFile> files{{"left over", 1, {}}};
  EXPECT_FALSE(FilesInFolder(base_ + "missing/", true, files, unreadable_));
  EXPECT_TRUE(files.empty());
}

}  // namespace
}  // namespace jpg2dds
