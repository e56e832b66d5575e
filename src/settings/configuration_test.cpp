#include "settings/configuration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/program_identity.h"
#include "settings/setting_values.h"

namespace jpg2dds {
namespace {

namespace fs = std::filesystem;

class ConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("jpg2dds_configuration_test_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    path = (folder / "config.ini").string();
    ApplyDefaults(defaults, DefaultsVariant::kWindowed, 1000, 2000);
  }
  void TearDown() override {
    fs::permissions(folder, fs::perms::owner_all);
    fs::remove_all(folder);
  }

  void WriteFile(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
  std::string ReadFile() {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
  }
  ConversionSettings Load(const std::string& bytes) {
    WriteFile(bytes);
    ConversionSettings s;
    LoadConfiguration(s, path, 5000);
    return s;
  }

  fs::path folder;
  std::string path;
  ConversionSettings defaults;
};

std::string ExpectedDefaultLayout() {
  std::string lines[] = {
      "\xEF\xBB\xBF",
      "[General]", "CFG = 18", "Language = en", "Update Range = 2", "Update Date = 1000",
      "Save Window Position = 1", "; ",
      "[Window]", "IsMaximized = 0", "Width = 510", "Height = 260", "X = 100", "Y = 100", "; ",
      "[Interface]", "UI Theme = handdrawn", "UI Size = 2", "; ",
      "[Input]", "Format = jpg", "; ",
      "[Output]", "Format = dds", "DDS BPP = 0", "; ",
      "[Transform]", "Do Image Rotation = 0", "Image Rotation Type = 0", "Image Rotation = 0",
      "Image Rotation Back Color = 000000", "Do Image Resize = 0", "Image Width = 0", "Image Width Unit = 0",
      "Image Height = 0", "Image Height Unit = 0", "Keep Aspect Ratio = 1", "Image Resize Type = 0",
      "Image Resize Algorithm = 3", "Do Image Flip Horizontal = 0", "Do Image Flip Vertical = 0", "; ",
      "[Adjustment]", "Do Image Color Correction = 0", "Image Brightness = 0", "Image Contrast = 0",
      "Image Gamma = 1.000000", "Image Invert = 0", "Do Image Greyscale = 0", "Do Image Threshold = 0",
      "Image Threshold = 0", "; ",
      "[Frame]", "Do Frame = 0", "Solid Left = 0", "Solid Right = 0", "Solid Top = 0", "Solid Bottom = 0",
      "Solid Left Color = 000000", "Solid Right Color = 000000", "Solid Top Color = 000000",
      "Solid Bottom Color = 000000", "Solid Opacity = 255", "; ",
      "[Watermark]", "Do Watermark = 0", std::string("Text = ") + kMakerNotice, "Fonts = Arial,Tahoma,Verdana",
      "Font = Arial", "Font Size = 14", "Font Leading = 0",
      "Font Colors = 000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF", "Font Color = FFFFFF",
      "Font Style = 0", "Font Effect = 0", "Text Antialiasing = 0", "Text Alignment = 0", "Text Padding = 0",
      "Text Opacity = 255", "Back Colors = 000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF",
      "Back Color = 000000", "Back Opacity = 1", "Text Boundary = 0", "Text Position = 8", "Text X Offset = 10",
      "Text Y Offset = 10", "Text Rotation = 0", "Text Size = 0", "Text Scale = 10", "Image = ",
      "Image Greyscale = 0", "Image Opacity = 255", "Image Boundary = 0", "Image Position = 8",
      "Image X Offset = 10", "Image Y Offset = 10", "Image Rotation = 0", "Image Size = 0", "Image Scale = 10",
      "; ",
      "[Advanced]", "Filename Mask = %filename%.%ext%", "File Timestamp = 0", "Custom Timestamp = 2000",
      "Out Folders History = 1", "Out Folders Number = 5", "Keep Subfolders = 1", "; ",
      "[File]", "Recent Out Folders = ", "Recent Files = ", "; ",
      "[Privacy]", "Clean Recent Files = 0", "; ",
  };
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

void ExpectSameSettings(const ConversionSettings& a, const ConversionSettings& b) {
  for (int i = 0; i < kSettingFieldCount; ++i) {
    const SettingField& f = kSettingFields[i];
    SCOPED_TRACE(std::string(f.group) + "/" + f.key);
    EXPECT_EQ(SettingNumber(a, f), SettingNumber(b, f));
    EXPECT_EQ(SettingText(a, f), SettingText(b, f));
    float ra = SettingReal(a, f), rb = SettingReal(b, f);
    EXPECT_TRUE(ra == rb || (std::isnan(ra) && std::isnan(rb))) << ra << " " << rb;
  }
}

TEST_F(ConfigurationTest, DefaultsAreWrittenInTheExactLayout) {
  ASSERT_TRUE(SaveConfiguration(defaults, path));
  EXPECT_EQ(ReadFile(), ExpectedDefaultLayout());
}

TEST_F(ConfigurationTest, CfgIsAlwaysWrittenAsTheCurrentVersion) {
  defaults.cfg = 3;
  EXPECT_NE(ConfigurationText(defaults).find("\r\nCFG = 18\r\n"), std::string::npos);
}

TEST_F(ConfigurationTest, SettingsSurviveSaveAndLoad) {
  ASSERT_TRUE(SaveConfiguration(defaults, path));
  ConversionSettings loaded;
  LoadConfiguration(loaded, path, 5000);
  ExpectSameSettings(loaded, defaults);

  ConversionSettings changed = defaults;
  changed.text = "first line\nsecond\r\nthird";
  changed.imageGamma = 2.25f;
  changed.imageBrightness = -40;
  changed.outFoldersNumber = -3;
  changed.ddsBpp = 32;
  changed.recentOutFolders = "/a/b\t/c d";
  changed.fontColor = "ff8000";
  changed.customTimestamp = -86400;
  changed.x = -1200;
  ASSERT_TRUE(SaveConfiguration(changed, path));
  EXPECT_NE(ReadFile().find("\r\nText = first line%eol%second%eol%third\r\n"), std::string::npos);
  LoadConfiguration(loaded, path, 5000);
  changed.text = "first line%eol%second%eol%third";  // the text of its key line
  ExpectSameSettings(loaded, changed);
}

TEST_F(ConfigurationTest, TextValueIsTheTextOfItsKeyLine) {
  // "%eol%" is the watermark's own line-break token: a value holding it
  // survives save and load as it is.
  for (const char* text : {"a%eol%b", "%eol%", "%EOL%%eol%", "50%eol", "%eol%%filename%"}) {
    ConversionSettings changed = defaults;
    changed.text = text;
    changed.filenameMask = text;
    ASSERT_TRUE(SaveConfiguration(changed, path));
    EXPECT_NE(ReadFile().find(std::string("\r\nText = ") + text + "\r\n"), std::string::npos) << text;
    ConversionSettings loaded;
    LoadConfiguration(loaded, path, 5000);
    ExpectSameSettings(loaded, changed);
  }
  EXPECT_EQ(Load("[Watermark]\r\nText = line%eol%line\r\n").text, "line%eol%line");
}

TEST_F(ConfigurationTest, RealsSpecialValuesInAnyCase) {
  defaults.imageGamma = NAN;
  EXPECT_NE(ConfigurationText(defaults).find("Image Gamma = NaN\r\n"), std::string::npos);
  defaults.imageGamma = -INFINITY;
  EXPECT_NE(ConfigurationText(defaults).find("Image Gamma = -Infinity\r\n"), std::string::npos);
  EXPECT_TRUE(std::isnan(Load("[Adjustment]\r\nImage Gamma = nan\r\n").imageGamma));
  EXPECT_EQ(Load("[Adjustment]\r\nImage Gamma = +INFINITY\r\n").imageGamma, INFINITY);
  EXPECT_EQ(Load("[Adjustment]\r\nImage Gamma = 1.5x\r\n").imageGamma, 1.5f);
  EXPECT_EQ(Load("[Adjustment]\r\nImage Gamma = x\r\n").imageGamma, 0.0f);
}

TEST_F(ConfigurationTest, IntegersAreDecimalOnlyAndEightBitFieldsKeepTheLowByte) {
  EXPECT_EQ(Load("[Frame]\nSolid Opacity =\n").solidOpacity, 0);  // present but empty: not the default 255
  EXPECT_EQ(Load("[Frame]\nSolid Opacity = $20\n").solidOpacity, 0);
  EXPECT_EQ(Load("[Frame]\nSolid Opacity = 32abc\n").solidOpacity, 32);
  EXPECT_EQ(Load("[Frame]\nSolid Opacity = -%101\n").solidOpacity, 0);
  EXPECT_EQ(Load("[Advanced]\nOut Folders Number = 300\n").outFoldersNumber, 44);
  EXPECT_EQ(Load("[Advanced]\nOut Folders Number = 255\n").outFoldersNumber, -1);
  EXPECT_EQ(Load("[Frame]\nSolid Opacity = 4294967297\n").solidOpacity, 1);
}

TEST_F(ConfigurationTest, MissingKeysTakeTheWindowedDefaultsWithThreeExceptions) {
  ConversionSettings s = Load("[General]\r\nLanguage = de\r\n");
  EXPECT_EQ(s.language, "de");
  EXPECT_EQ(s.cfg, 0);
  EXPECT_EQ(s.x, 100);
  EXPECT_EQ(s.y, 100);
  EXPECT_EQ(s.updateDate, 5000);
  EXPECT_EQ(s.customTimestamp, 5000);
  EXPECT_EQ(s.keepAspectRatio, 1);
  EXPECT_EQ(s.solidOpacity, 255);
}

TEST_F(ConfigurationTest, UnreadableFileGivesDefaultsWithoutConversions) {
  ConversionSettings s;
  LoadConfiguration(s, (folder / "missing.ini").string(), 5000);
  ConversionSettings expected;
  ApplyDefaults(expected, DefaultsVariant::kWindowed, 5000, 5000);
  ExpectSameSettings(s, expected);
  LoadConfiguration(s, folder.string(), 5000);  // a folder
  ExpectSameSettings(s, expected);
}

TEST_F(ConfigurationTest, OlderLayoutsAreConverted) {
  EXPECT_EQ(Load("[Advanced]\nFilename Mask = %filename%\n").filenameMask, "%filename%.%ext%");
  EXPECT_EQ(Load("[General]\nCFG = 18\n[Advanced]\nFilename Mask = %filename%\n").filenameMask, "%filename%");
  EXPECT_EQ(Load("[General]\nCFG = 10\n[Advanced]\nFilename Mask = %EXT%\n").filenameMask, "%EXT%.%ext%");
  EXPECT_EQ(Load("[General]\nCFG = 10\n[Advanced]\nFilename Mask = a.%ext%\n").filenameMask, "a.%ext%");

  EXPECT_EQ(Load("[General]\nCFG = 13\n[Input]\nRAW Load As = 1\n").rawLoadAs, 3);
  EXPECT_EQ(Load("[General]\nCFG = 14\n[Input]\nRAW Load As = 1\n").rawLoadAs, 1);
  EXPECT_EQ(Load("[General]\nCFG = 13\n[Input]\nRAW Load As = 0\n").rawLoadAs, 0);
  EXPECT_EQ(Load("[General]\nCFG = 14\n[Input]\nRAW Load As = 0\n").rawLoadAs, 0);
}

TEST_F(ConfigurationTest, NamesMatchIgnoringAsciiCase) {
  ConversionSettings s = Load("[general]\ncfg = 18\n[ADVANCED]\nfilename mask = %filename%\n");
  EXPECT_EQ(s.cfg, 18);
  EXPECT_EQ(s.filenameMask, "%filename%");
}

TEST_F(ConfigurationTest, CsvDelimiterWordsAndReadOnlyKeys) {
  EXPECT_EQ(Load("[File]\nCsvDelimiter = TAB\n").csvDelimiter, "\t");
  EXPECT_EQ(Load("[File]\nCsvDelimiter = Space\n").csvDelimiter, " ");
  EXPECT_EQ(Load("[File]\nCsvDelimiter = crlf\n").csvDelimiter, "\r\n");
  EXPECT_EQ(Load("[File]\nCsvDelimiter = ;\n").csvDelimiter, ";");
  ConversionSettings s = Load("[File]\nCsvDelimiter = TAB\nTxtFields = a,b\n[Window]\nHide Passwords = 1\n");
  EXPECT_EQ(s.txtFields, "a,b");
  EXPECT_EQ(s.hidePasswords, 1);
  std::string text = ConfigurationText(s);
  EXPECT_EQ(text.find("CsvDelimiter"), std::string::npos);
  EXPECT_EQ(text.find("TxtFields"), std::string::npos);
  EXPECT_EQ(text.find("Hide Passwords"), std::string::npos);
  // The console's own settings have no place in the file.
  for (const char* key : {"Recursive Folders", "Threads", "Report File", "Exit Code", "Skip Up To Date"}) {
    EXPECT_EQ(text.find(key), std::string::npos) << key;
  }
}

TEST_F(ConfigurationTest, WindowKeysOnlyWithSaveWindowPosition) {
  defaults.saveWindowPosition = 0;
  defaults.width = 900;
  ASSERT_TRUE(SaveConfiguration(defaults, path));
  EXPECT_NE(ReadFile().find("\r\n[Window]\r\n; \r\n[Interface]\r\n"), std::string::npos);
  ConversionSettings s;
  LoadConfiguration(s, path, 5000);
  EXPECT_EQ(s.isMaximized, 0);
  EXPECT_EQ(s.width, 510);
  EXPECT_EQ(s.height, 260);
  EXPECT_EQ(s.x, 100);
  EXPECT_EQ(s.y, 100);
}

TEST_F(ConfigurationTest, KeysOfOtherFormatsAreReadButNotWritten) {
  ConversionSettings s = Load("[Output]\nPNG BPP = 24\n[Input]\nRAW Header Size = 7\n");
  EXPECT_EQ(s.pngBpp, 24);
  EXPECT_EQ(s.rawHeaderSize, 7);
  ASSERT_TRUE(SaveConfiguration(s, path));
  std::string text = ReadFile();
  EXPECT_EQ(text.find("PNG BPP"), std::string::npos);
  EXPECT_EQ(text.find("RAW Header Size"), std::string::npos);
}

TEST_F(ConfigurationTest, FailedSaveKeepsTheOldFile) {
  WriteFile("old contents");
  // The target being a folder, and a target in a missing folder, fail for
  // every user, root included.
  fs::create_directory(folder / "taken");
  EXPECT_FALSE(SaveConfiguration(defaults, (folder / "taken").string()));
  EXPECT_TRUE(fs::is_directory(folder / "taken"));
  EXPECT_FALSE(SaveConfiguration(defaults, (folder / "missing" / "config.ini").string()));

  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  std::string probe = (folder / "probe").string();
  bool canStillWrite = std::ofstream(probe).good();
  if (!canStillWrite) {
    EXPECT_FALSE(SaveConfiguration(defaults, path));
    EXPECT_EQ(ReadFile(), "old contents");
  }
  fs::permissions(folder, fs::perms::owner_all);
  fs::remove(probe);
  EXPECT_EQ(ReadFile(), "old contents");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);  // no leftovers
}

TEST_F(ConfigurationTest, PathUnderTheUserConfigFolderWithFoldersCreated) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const char* oldHome = std::getenv("HOME");
  std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";

  setenv("XDG_CONFIG_HOME", (folder / "xdg").c_str(), 1);
  EXPECT_EQ(ConfigurationPath(), (folder / "xdg/Brightmill/tessel/config.ini").string());
  EXPECT_TRUE(fs::is_directory(folder / "xdg/Brightmill/tessel"));
  // Doubled and trailing slashes of the variable do not reach the path.
  for (const std::string& typed : {"/" + folder.string() + "//xdg2/", folder.string() + "/xdg2//"}) {
    setenv("XDG_CONFIG_HOME", typed.c_str(), 1);
    EXPECT_EQ(ConfigurationPath(), (folder / "xdg2/Brightmill/tessel/config.ini").string()) << typed;
  }

  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", (folder / "home").c_str(), 1);
  fs::create_directory(folder / "home");
  EXPECT_EQ(ConfigurationPath(), (folder / "home/.config/Brightmill/tessel/config.ini").string());
  EXPECT_TRUE(fs::is_directory(folder / "home/.config/Brightmill/tessel"));

  if (oldXdg) setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  if (oldHome) setenv("HOME", savedHome.c_str(), 1);
  else unsetenv("HOME");
}

}  // namespace
}  // namespace jpg2dds
