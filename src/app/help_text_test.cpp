#include "app/help_text.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(ProgramNameFromFile, DropsTheLastExtensionOnly) {
  EXPECT_EQ(ProgramNameFromFile("tesselcmd.exe"), "tesselcmd");
  EXPECT_EQ(ProgramNameFromFile("a.b.exe"), "a.b");
  EXPECT_EQ(ProgramNameFromFile("jpg2dds"), "jpg2dds");
}

TEST(HelpLines, ThirtySixLinesWithTheProgramName) {
  std::vector<std::string> lines = HelpLines("tesselcmd");
  ASSERT_EQ(lines.size(), 36u);
  EXPECT_EQ(lines[0], " ");
  EXPECT_EQ(lines[1], "Usage: tesselcmd -i <filename> [options]");
  EXPECT_EQ(lines[3], "  tesselcmd -i example.jpg");
  EXPECT_EQ(lines[4], "  tesselcmd -i c:\\tmp\\example.jpg");
  EXPECT_EQ(lines[6], "  tesselcmd -i c:\\tmp\\example.jpg -o d:\\converted --jpg-quality=95");
  EXPECT_EQ(lines[35], "  -v, --version             Display version information and exit");
  for (const std::string& line : lines) {
    EXPECT_FALSE(line.empty()) << "blank help lines hold one space";
    EXPECT_EQ(line.find('%'), std::string::npos) << line;
  }
}

TEST(HelpLines, DescriptionsStartAtTheTwentyNinthCharacter) {
  std::vector<std::string> lines = HelpLines("jpg2dds");
  ASSERT_EQ(lines.size(), 36u);
  const int optionLines[][2] = {{11, 14}, {18, 29}, {33, 36}};
  for (const auto& range : optionLines) {
    for (int n = range[0]; n <= range[1]; ++n) {
      const std::string& line = lines[n - 1];
      ASSERT_GT(line.size(), 28u) << n;
      EXPECT_NE(line[28], ' ') << "line " << n << ": " << line;
      EXPECT_EQ(line.substr(26, 2), "  ") << "line " << n << ": " << line;
    }
  }
}

TEST(BannerLines, TitleNoticeAddressAndOneBlank) {
  std::vector<std::string> lines = BannerLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Brightmill JPG to DDS 2.8");
  EXPECT_EQ(lines[1].rfind("(c) ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[1].find("\xC2\xA9"), std::string::npos);
  EXPECT_NE(lines[1].find("Brightmill"), std::string::npos);
  EXPECT_EQ(lines[2].rfind("http", 0), 0u);
  EXPECT_EQ(lines[3], " ");
}

}  // namespace
}  // namespace jpg2dds
