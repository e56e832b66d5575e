#include "options/profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace jpg2dds {
namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplyDefaults(settings, DefaultsVariant::kConsole, 1000, 2000);
    path = (std::filesystem::temp_directory_path() / ("jpg2dds_profile_test_" + std::to_string(getpid()) + ".ini")).string();
  }
  void TearDown() override { std::filesystem::remove(path); }

  bool Load(const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return LoadProfile(path, settings);
  }

  ConversionSettings settings;
  std::string path;
};

TEST_F(ProfileTest, KeysMatchAfterUpperCasingAndSwitchTheirFeatures) {
  ASSERT_TRUE(Load("[cli]\r\n--dds-bpp = 32\r\n--Width=640\r\n--FR-SOLID-OPACITY = 50\r\n"));
  EXPECT_EQ(settings.ddsBpp, 32);
  EXPECT_EQ(settings.imageWidth, 640);
  EXPECT_EQ(settings.doImageResize, 1);
  EXPECT_EQ(settings.solidOpacity, 50);
  EXPECT_EQ(settings.doFrame, 0);
  // The two hyphens belong to the key.
  ASSERT_TRUE(Load("[CLI]\nWIDTH = 5\n-HEIGHT = 5\n"));
  EXPECT_EQ(settings.imageHeight, 0);
}

TEST_F(ProfileTest, ValuesByKind) {
  ASSERT_TRUE(Load("[CLI]\n--FLIP-VERTICAL = 0\n--JPG-QUALITY = $50\n--HEIGHT = 12px\n--GAMMA = 1.5\n"
                   "--DDS-LOAD-AS = bgra\n--RAW-TONE-MAPPING = fancy\n"));
  EXPECT_EQ(settings.doImageFlipVertical, 1);
  EXPECT_EQ(settings.jpgQuality, 80);
  EXPECT_EQ(settings.imageHeight, 12);
  EXPECT_FLOAT_EQ(settings.imageGamma, 1.5f);
  EXPECT_EQ(settings.doImageColorCorrection, 1);
  EXPECT_EQ(settings.ddsLoadAs, 1);
  EXPECT_EQ(settings.rawToneMapping, 0);  // unknown word, though the default is 2

  ASSERT_TRUE(Load("[CLI]\n--GAMMA = abc\n--WIDTH =\n--WM-FONT-SIZE\n"));
  EXPECT_EQ(settings.imageGamma, 0.0f);
  EXPECT_EQ(settings.imageWidth, 0);
  EXPECT_EQ(settings.fontSize, 0);  // a key line without "=" has an empty value
}

TEST_F(ProfileTest, QuotesStrippedOnlyFromTheFilenameMask) {
  ASSERT_TRUE(Load("[CLI]\n--WM-TEXT = \"Sample\"\n--FILENAME-MASK = \"\"%filename% x\"\n"));
  EXPECT_EQ(settings.text, "\"Sample\"");
  EXPECT_EQ(settings.doWatermark, 1);
  EXPECT_EQ(settings.filenameMask, "%filename% x");
}

TEST_F(ProfileTest, SemicolonAfterAValueBelongsToIt) {
  ASSERT_TRUE(Load("[CLI]\n--WIDTH = 640 ; width\n--WM-FONT = Arial ; font\n"));
  EXPECT_EQ(settings.imageWidth, 640);
  EXPECT_EQ(settings.font, "Arial ; font");
}

TEST_F(ProfileTest, RepeatedKeysApplyInOrderAndEmptyOrDashValuesAreTaken) {
  ASSERT_TRUE(Load("[CLI]\n--DDS-BPP = 24\n--DDS-BPP = 32\n--WM-FONT = --x\n--WM-TEXT =\n"));
  EXPECT_EQ(settings.ddsBpp, 32);
  EXPECT_EQ(settings.font, "--x");
  EXPECT_EQ(settings.text, "");
  EXPECT_EQ(settings.doWatermark, 1);
}

TEST_F(ProfileTest, OnlyTheFirstCliGroupCounts) {
  ASSERT_TRUE(Load("--WIDTH = 1\n[Other]\n--WIDTH = 2\n[CLI]\n--HEIGHT = 3\n[Cli]\n--WIDTH = 4\n"));
  EXPECT_EQ(settings.imageWidth, 0);
  EXPECT_EQ(settings.imageHeight, 3);
}

TEST_F(ProfileTest, RunOptionsAreNotProfileKeys) {
  ASSERT_TRUE(Load("[CLI]\n--OUTPUT = c:\\out\n--PROFILE = other.ini\n--QUIET\n--INPUT = a.jpg\n"));
  ConversionSettings defaults;
  ApplyDefaults(defaults, DefaultsVariant::kConsole, 1000, 2000);
  EXPECT_EQ(settings.filenameMask, defaults.filenameMask);
  EXPECT_EQ(settings.keepSubfolders, defaults.keepSubfolders);
}

TEST_F(ProfileTest, EncodingFollowsTheByteOrderMark) {
  ASSERT_TRUE(Load("\xEF\xBB\xBF[CLI]\n--WM-TEXT = caf\xC3\xA9\n"));
  EXPECT_EQ(settings.text, "caf\xC3\xA9");
  ASSERT_TRUE(Load("[CLI]\n--WM-TEXT = caf\xE9\n"));
  EXPECT_EQ(settings.text, "caf\xC3\xA9");
  ASSERT_TRUE(Load("[CLI]\n--WM-TEXT = caf\xC3\xA9\n"));
  EXPECT_EQ(settings.text, "caf\xC3\x83\xC2\xA9");  // UTF-8 without the mark arrives garbled
}

TEST_F(ProfileTest, UnreadablePathsAreRefusedWithoutChanges) {
  EXPECT_FALSE(LoadProfile("", settings));
  EXPECT_FALSE(LoadProfile("/nonexistent/missing.ini", settings));
  EXPECT_FALSE(LoadProfile(std::filesystem::temp_directory_path().string(), settings));
  EXPECT_TRUE(Load("no groups at all"));
  EXPECT_TRUE(Load(""));
  EXPECT_EQ(settings.imageWidth, 0);
}

}  // namespace
}  // namespace jpg2dds
