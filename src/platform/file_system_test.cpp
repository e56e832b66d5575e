#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace jpg2dds {
namespace {

class Folder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/jpg2dds-fs-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    path = pattern;
  }
  void TearDown() override {
    std::string command = "rm -rf '" + path + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(path + "/" + name, std::ios::binary) << bytes;
  }
  std::string path;
};

// Spellings of one output file give one text; the file itself need not
// exist, its folder must.
TEST_F(Folder, ResolvedFilePathGivesEverySpellingOneText) {
  ASSERT_EQ(mkdir((path + "/out").c_str(), 0755), 0);
  ASSERT_EQ(symlink((path + "/out").c_str(), (path + "/link").c_str()), 0);
  const std::string expected = path + "/out/a.dds";
  for (const std::string& spelling : {path + "/out/a.dds", path + "//out//a.dds", path + "/out/./a.dds",
                                      path + "/link/a.dds", path + "/out/../out/a.dds"}) {
    EXPECT_EQ(ResolvedFilePath(spelling), expected) << spelling;
  }
  EXPECT_EQ(ResolvedFilePath(path + "/gone/a.dds"), path + "/gone/a.dds");  // as it is
  char* here = getcwd(nullptr, 0);
  ASSERT_NE(here, nullptr);
  ASSERT_EQ(chdir(path.c_str()), 0);
  EXPECT_EQ(ResolvedFilePath("a.dds"), expected.substr(0, path.size()) + "/a.dds");
  EXPECT_EQ(ResolvedFilePath("./out/a.dds"), expected);
  ASSERT_EQ(chdir(here), 0);
  std::free(here);
}

TEST_F(Folder, QueryTellsFilesFoldersAndMissingPathsApart) {
  Write("a.jpg", "12345");
  ASSERT_EQ(mkdir((path + "/sub.jpg").c_str(), 0755), 0);
  PathInfo file = QueryPath(path + "/a.jpg");
  EXPECT_EQ(file.kind, PathKind::kFile);
  EXPECT_EQ(file.size, 5);
  EXPECT_EQ(QueryPath(path + "/sub.jpg").kind, PathKind::kFolder);
  EXPECT_EQ(QueryPath(path + "/none.jpg").kind, PathKind::kMissing);
  EXPECT_EQ(QueryPath("").kind, PathKind::kMissing);
  EXPECT_EQ(QueryPath("/dev/null").kind, PathKind::kMissing);  // neither file nor folder
}

TEST_F(Folder, QueryFollowsLinks) {
  Write("a.jpg", "123");
  ASSERT_EQ(symlink((path + "/a.jpg").c_str(), (path + "/link.jpg").c_str()), 0);
  ASSERT_EQ(symlink((path + "/gone").c_str(), (path + "/dangling.jpg").c_str()), 0);
  EXPECT_EQ(QueryPath(path + "/link.jpg").size, 3);
  EXPECT_EQ(QueryPath(path + "/dangling.jpg").kind, PathKind::kMissing);
}

TEST_F(Folder, WildcardsAnswerForTheFirstMatch) {
  Write("one.jpg", "1");
  PathInfo match = QueryPath(path + "/o?e.*");
  EXPECT_EQ(match.kind, PathKind::kFile);
  EXPECT_EQ(match.size, 1);
  EXPECT_EQ(QueryPath(path + "/*.png").kind, PathKind::kMissing);
  EXPECT_EQ(QueryPath(path + "/*").kind, PathKind::kFile);
}

TEST_F(Folder, ReadWholeFile) {
  Write("b.bin", std::string("a\0b", 3));
  std::string contents;
  ASSERT_TRUE(ReadWholeFile(path + "/b.bin", 3, contents));
  EXPECT_EQ(contents, std::string("a\0b", 3));
  EXPECT_FALSE(ReadWholeFile(path + "/missing", 100, contents));
  EXPECT_FALSE(ReadWholeFile(path, 100, contents));
  EXPECT_FALSE(ReadWholeFile("/dev/zero", 100, contents));
  EXPECT_FALSE(ReadWholeFile("/dev/null", 100, contents));
  EXPECT_EQ(contents, std::string("a\0b", 3)) << "a refused file leaves the contents alone";
}

TEST_F(Folder, ReadWholeFileRefusesFilesOverTheBound) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{65535}, size_t{65536}, size_t{65537}, size_t{200000}}) {
    Write("f.bin", std::string(size, 'x'));
    for (size_t bound : {size, size + 1, size - 1}) {
      if (bound > size + 1) continue;  // size 0 has no bound below it
      std::string contents;
      EXPECT_EQ(ReadWholeFile(path + "/f.bin", bound, contents), bound >= size) << size << " " << bound;
      EXPECT_EQ(contents.size(), bound >= size ? size : 0u);
    }
  }
}

TEST(ProgramFile, FolderEndsWithSlashAndHoldsTheFile) {
  std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_EQ(folder.back(), '/');
  std::string name = ProgramFileName();
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(name.find('/'), std::string::npos);
  EXPECT_EQ(access((folder + name).c_str(), X_OK), 0);
}

}  // namespace
}  // namespace jpg2dds
