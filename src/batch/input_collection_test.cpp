#include "batch/input_collection.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "formats/format_tables.h"

namespace jpg2dds {
namespace {

TEST(RelativeSubfolder, RemovesTheBaseFolder) {
  EXPECT_EQ(RelativeSubfolder("/in/a/b/x.jpg", "/in/"), "a/b/");
  EXPECT_EQ(RelativeSubfolder("/in/a/b/x.jpg", "/other/"), "");
  EXPECT_EQ(RelativeSubfolder("/in/a/b/x.jpg", ""), "");
  EXPECT_EQ(RelativeSubfolder("", "/in/"), "");
}

// Below an input folder the base's text may come again in a deeper name;
// it stays there. Names such as "mypics" below "pics/" lost their end before.
TEST(RelativeSubfolder, OnlyTheLeadingBaseGoesFromAFileBelowIt) {
  const struct {
    const char* path;
    const char* base;
    const char* subfolder;
  } cases[] = {
      {"pics/mypics/x.jpg", "pics/", "mypics/"},
      {"pics/pics/x.jpg", "pics/", "pics/"},
      {"pics/a/pics/b/x.jpg", "pics/", "a/pics/b/"},
      {"/a/b/x.jpg", "/", "a/b/"},
      {"./x./y.jpg", "./", "x./"},
      {"pics/x.jpg", "pics/", ""},
      {"/in/a/b/x.jpg", "/in/", "a/b/"},
      {"/data/in/a/x.jpg", "in/", "/data/a/"},  // not at the start: every occurrence, as before
  };
  for (const auto& c : cases) EXPECT_EQ(RelativeSubfolder(c.path, c.base), c.subfolder) << c.path << " " << c.base;
}

class AddInputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/jpg2dds-input-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    job_.acceptedExtensions = DeriveAcceptedExtensions();
  }
  void TearDown() override { EXPECT_EQ(std::system(("rm -rf '" + folder_ + "'").c_str()), 0); }
  std::string MakeFile(const std::string& name, const std::string& bytes) {
    std::string path = folder_ + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string folder_;
  ConversionJob job_;
};

TEST_F(AddInputFileTest, AcceptsJpegExtensionsInAnyCase) {
  for (const char* name : {"a.JPG", "b.Jpeg", "c.jpe", "d.jif"}) {
    std::string path = MakeFile(name, "x");
    EXPECT_EQ(AddInputFile(path, job_), 1) << name;
    ASSERT_EQ(job_.inputList.size(), 1u);  // a second call replaces the entry
    EXPECT_EQ(job_.inputList[0].path, path);
    EXPECT_EQ(job_.inputList[0].relativeSubfolder, "");
  }
}

TEST_F(AddInputFileTest, RefusesEmptyFilesAndOtherExtensions) {
  EXPECT_EQ(AddInputFile(MakeFile("empty.jpg", ""), job_), 0);
  EXPECT_EQ(AddInputFile(MakeFile("photo.png", "x"), job_), 0);
  EXPECT_EQ(AddInputFile(MakeFile("list.txt", "x"), job_), 0);
  EXPECT_TRUE(job_.inputList.empty());
}

}  // namespace
}  // namespace jpg2dds
