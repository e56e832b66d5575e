#include "platform/paths.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(Paths, FolderAndFileParts) {
  EXPECT_EQ(FolderPart("/usr/bin/jpg2dds"), "/usr/bin/");
  EXPECT_EQ(FolderPart("c:\\pics\\sea.jpg"), "c:\\pics\\");
  EXPECT_EQ(FolderPart("a/b\\c.jpg"), "a/b\\");
  EXPECT_EQ(FolderPart("sea.jpg"), "");
  EXPECT_EQ(FolderPart("/"), "/");
  EXPECT_EQ(FileNamePart("/usr/bin/jpg2dds"), "jpg2dds");
  EXPECT_EQ(FileNamePart("c:\\pics\\sea.jpg"), "sea.jpg");
  EXPECT_EQ(FileNamePart("folder/"), "");
  EXPECT_EQ(FileNamePart("sea.jpg"), "sea.jpg");
}

TEST(Paths, ExtensionRule) {
  EXPECT_EQ(PathExtension("photo.JPG"), "JPG");
  EXPECT_EQ(PathExtension("my.photo.jpg"), "jpg");
  EXPECT_EQ(PathExtension("photo.jpg\"tail"), "jpg");
  EXPECT_EQ(PathExtension("photo"), "");
  EXPECT_EQ(PathExtension(".jpg"), "");
  EXPECT_EQ(PathExtension("dir/.jpg"), "");
  EXPECT_EQ(PathExtension("dir\\.jpg"), "");
  EXPECT_EQ(PathExtension("c:\\pics.jpg\\photo"), "");
  EXPECT_EQ(PathExtension("photo.jpg "), "");
  EXPECT_EQ(PathExtension("photo.j pg"), "");
  EXPECT_EQ(PathExtension("a..jpg"), "jpg");
  EXPECT_EQ(PathExtension(""), "");
}

}  // namespace
}  // namespace jpg2dds
