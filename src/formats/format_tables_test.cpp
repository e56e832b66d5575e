#include "formats/format_tables.h"

#include <gtest/gtest.h>

#include <set>

namespace jpg2dds {
namespace {

TEST(FormatTables, SizesAndUniqueKeys) {
  EXPECT_EQ(kInputFormatCount, 79);
  EXPECT_EQ(kOutputFormatCount, 23);
  std::set<std::string> inputs, outputs;
  for (int i = 0; i < kInputFormatCount; ++i) EXPECT_TRUE(inputs.insert(kInputFormatTable[i].extension).second);
  for (int i = 0; i < kOutputFormatCount; ++i) EXPECT_TRUE(outputs.insert(kOutputFormatTable[i].formatName).second);
  ASSERT_NE(FindOutputFormat("dds"), nullptr);
  EXPECT_EQ(FindOutputFormat("dds")->saveId, 0x0437);
  EXPECT_EQ(FindOutputFormat("DDS"), nullptr);
}

TEST(DeriveAcceptedExtensions, TheJpegExtensionsInTableOrder) {
  EXPECT_EQ(DeriveAcceptedExtensions(), (std::vector<std::string>{"jpg", "jpeg", "jpe", "jif"}));
}

TEST(IsAcceptedInputFile, ExtensionRule) {
  const std::vector<std::string> accepted = DeriveAcceptedExtensions();
  for (const char* path : {"photo.JPG", "photo.jpeg", "photo.Jif", "c:\\pics\\photo.jpe", "my.photo.jpg",
                           "/home/u/pics/photo.jpg", "\"photo.jpg\"", "dir with blanks/photo.jpg"}) {
    EXPECT_TRUE(IsAcceptedInputFile(path, accepted)) << path;
  }
  // Formats of the table that are not this converter's input type.
  for (const char* path : {"photo.png", "photo.cr2"}) EXPECT_FALSE(IsAcceptedInputFile(path, accepted)) << path;
  for (const char* path : {"photo", ".jpg", "c:\\pics.jpg\\photo", "/pics.jpg/photo", "photo.jpg ", "photo.j pg",
                           "dir/.jpg", "dir\\.jpg", "photo.", ""}) {
    EXPECT_FALSE(IsAcceptedInputFile(path, accepted)) << "'" << path << "'";
  }
}

TEST(IsAcceptedInputFile, NonAsciiExtensionIsLowerCasedFully) {
  // Only an exact match counts after lower-casing; a look-alike does not.
  std::vector<std::string> accepted = {"\xC3\xA9xt"};  // "ext" with e-acute
  EXPECT_TRUE(IsAcceptedInputFile("a.\xC3\x89XT", accepted));
  EXPECT_FALSE(IsAcceptedInputFile("a.EXT", accepted));
}

TEST(IsAllowedOutputType, ExactAndCaseSensitive) {
  EXPECT_TRUE(IsAllowedOutputType("dds"));
  EXPECT_FALSE(IsAllowedOutputType("DDS"));
  EXPECT_FALSE(IsAllowedOutputType("png"));
  EXPECT_FALSE(IsAllowedOutputType(""));
  EXPECT_FALSE(IsAllowedOutputType("dds "));
}

TEST(IsAllowedBpp, ZeroOrAListedDepth) {
  EXPECT_TRUE(IsAllowedBpp("dds", 0));
  EXPECT_TRUE(IsAllowedBpp("dds", 32));
  EXPECT_FALSE(IsAllowedBpp("dds", 24));
  EXPECT_FALSE(IsAllowedBpp("dds", 16));
  EXPECT_FALSE(IsAllowedBpp("dds", -32));
  EXPECT_TRUE(IsAllowedBpp("bmp", 16));
  EXPECT_TRUE(IsAllowedBpp("bmp", 1));
  EXPECT_FALSE(IsAllowedBpp("bmp", 2));
  EXPECT_TRUE(IsAllowedBpp("jxr", 96));   // the last field
  EXPECT_FALSE(IsAllowedBpp("jxr", 9));   // a prefix of a field is not the field
  EXPECT_FALSE(IsAllowedBpp("unknown", 32));
  EXPECT_TRUE(IsAllowedBpp("unknown", 0));
}

TEST(PickAutoBitDepth, FirstListedDepthNotBelowTheSourceElseTheLast) {
  EXPECT_EQ(PickAutoBitDepth("dds", 8), 32);
  EXPECT_EQ(PickAutoBitDepth("dds", 48), 32);
  EXPECT_EQ(PickAutoBitDepth("bmp", 8), 8);
  EXPECT_EQ(PickAutoBitDepth("bmp", 9), 16);
  EXPECT_EQ(PickAutoBitDepth("png", 96), 48);
  EXPECT_EQ(PickAutoBitDepth("unknown", 8), 0);
}

}  // namespace
}  // namespace jpg2dds
