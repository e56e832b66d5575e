#include "options/parse_options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace jpg2dds {
namespace {

class ParseOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { ApplyDefaults(settings, DefaultsVariant::kConsole, 1000, 2000); }
  std::string Parse(const std::vector<std::string>& args) { return ParseOptions(args, settings, run); }

  ConversionSettings settings;
  RunOptions run;
};

TEST_F(ParseOptionsTest, NamesMatchInAnyCaseAndSwitchesFollowValues) {
  EXPECT_EQ(Parse({"--Width=100", "-i", "a.jpg"}), "");
  EXPECT_EQ(settings.imageWidth, 100);
  EXPECT_EQ(settings.doImageResize, 1);
  EXPECT_TRUE(run.consoleRun);
  EXPECT_EQ(run.inputPath, "a.jpg");

  EXPECT_EQ(Parse({"--RESIZE-algorithm=Lanczos", "--rotation=0"}), "");
  EXPECT_EQ(settings.imageResizeAlgorithm, 5);
  EXPECT_EQ(settings.doImageRotation, 1);  // an angle of 0 still switches rotation on
  EXPECT_EQ(Parse({"--resize-algorithm=fast", "--rotation-type=advanced"}), "");
  EXPECT_EQ(settings.imageResizeAlgorithm, 0);  // unknown keyword: 0 silently
  EXPECT_EQ(settings.imageRotationType, 1);
}

TEST_F(ParseOptionsTest, NegativeNumbersAcceptedButLongOptionsRefusedAsValues) {
  EXPECT_EQ(Parse({"--brightness=-20"}), "");
  EXPECT_EQ(settings.imageBrightness, -20);
  EXPECT_EQ(settings.doImageColorCorrection, 1);

  ApplyDefaults(settings, DefaultsVariant::kConsole, 1000, 2000);
  EXPECT_EQ(Parse({"--brightness=--20"}), "Incorrect number of parameters");
  EXPECT_EQ(settings.doImageColorCorrection, 0);
  EXPECT_EQ(Parse({"--width="}), "Incorrect number of parameters");
  EXPECT_EQ(Parse({"--width"}), "Incorrect number of parameters");  // no "=": the value is the option
  EXPECT_EQ(Parse({"--wm-text=a=b"}), "");
  EXPECT_EQ(settings.text, "a=b");
}

TEST_F(ParseOptionsTest, FlagsIgnoreTheirValue) {
  EXPECT_EQ(Parse({"--flip-horizontal=0", "--no-subfolders=1", "--INVERT=", "--keep-aspect-ratio=--x"}), "");
  EXPECT_EQ(settings.doImageFlipHorizontal, 1);
  EXPECT_EQ(settings.keepSubfolders, 0);
  EXPECT_EQ(settings.imageInvert, 1);
  EXPECT_EQ(settings.doImageColorCorrection, 1);
  EXPECT_EQ(settings.keepAspectRatio, 1);
}

TEST_F(ParseOptionsTest, LastWatermarkOptionDecidesTheKind) {
  EXPECT_EQ(Parse({"--wm-text=Hello", "--wm-image=logo.png"}), "");
  EXPECT_EQ(settings.doWatermark, 2);
  EXPECT_EQ(settings.text, "Hello");
  EXPECT_EQ(settings.image, "logo.png");
  EXPECT_EQ(Parse({"--wm-image=logo.png", "--wm-text=Hello"}), "");
  EXPECT_EQ(settings.doWatermark, 1);
}

TEST_F(ParseOptionsTest, RunOptionsShortAndLongForms) {
  EXPECT_EQ(Parse({"--input=a.jpg", "-O", "out", "--conversion=DDS", "-d", "--QUIET", "-P"}), "");
  EXPECT_EQ(run.inputPath, "a.jpg");
  EXPECT_EQ(run.outputFolder, "out");
  EXPECT_EQ(run.outputType, "DDS");
  EXPECT_TRUE(run.debug && run.quiet && run.pause);
}

TEST_F(ParseOptionsTest, ShortFormConsumesItsValueArgument) {
  // "-q" is the value of -o here, refused because it begins with "-"; the
  // walk stops before reading it as the quiet option.
  EXPECT_EQ(Parse({"-o", "-q"}), "Incorrect number of parameters");
  EXPECT_FALSE(run.quiet);
  // The next argument is taken by the value rule, so a long option there
  // gives up its value and is never applied.
  EXPECT_EQ(Parse({"-c", "--width=5"}), "");
  EXPECT_EQ(run.outputType, "5");
  EXPECT_EQ(settings.imageWidth, 0);
  EXPECT_EQ(Parse({"-o"}), "Incorrect number of parameters");
}

TEST_F(ParseOptionsTest, RefusedRunOptionsStopTheWalk) {
  EXPECT_EQ(Parse({"-p", "-i"}), "Incorrect number of parameters");
  EXPECT_TRUE(run.pause);
  EXPECT_TRUE(run.consoleRun);  // set as soon as the option is recognised

  run = RunOptions{};
  EXPECT_EQ(Parse({"-i", "-p"}), "Incorrect number of parameters");
  EXPECT_FALSE(run.pause);

  run = RunOptions{};
  EXPECT_EQ(Parse({"--input", "--width=5"}), "Incorrect number of parameters");
  EXPECT_EQ(settings.imageWidth, 0);
  EXPECT_EQ(Parse({"--output="}), "Incorrect number of parameters");
}

TEST_F(ParseOptionsTest, NonOptionsAndUnknownOptionsAreSkipped) {
  EXPECT_EQ(Parse({"-i=a.jpg", "stray", "--colour=red", "", "  -v  ", "--version"}), "");
  EXPECT_FALSE(run.consoleRun);  // -i=a.jpg names no option
  EXPECT_EQ(run.inputPath, "");
  EXPECT_EQ(Parse({"  --width=7  "}), "");
  EXPECT_EQ(settings.imageWidth, 7);
}

// Folders and lists make a console run without -i; the -i file keeps the
// place of the last -i among them, and their values are refused like those
// of every value option.
TEST_F(ParseOptionsTest, BatchInputsKeepTheirOrderAndTheInputFileItsPlace) {
  const struct {
    std::vector<std::string> args;
    const char* error;
    bool consoleRun;
    size_t inputs;
    size_t inputPosition;
    const char* inputPath;
  } cases[] = {
      {{"--input-folder=pics"}, "", true, 1, 0, ""},
      {{"--input-list=-", "-q"}, "", true, 1, 0, ""},
      {{"--input-folder=a", "-i", "x.jpg", "--input-list=b"}, "", true, 2, 1, "x.jpg"},
      {{"-i", "x.jpg", "--input-folder=a", "--input-list=b", "--input=y.jpg", "--input-folder=a"}, "", true, 3, 2,
       "y.jpg"},
      {{"--recursive", "--threads=3"}, "", false, 0, 0, ""},
      {{"--input-folder="}, "Incorrect number of parameters", false, 0, 0, ""},
      {{"--input-list"}, "Incorrect number of parameters", false, 0, 0, ""},
      {{"--input-folder=--recursive"}, "Incorrect number of parameters", false, 0, 0, ""},
      {{"--input-list=-x"}, "", true, 1, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    ApplyDefaults(settings, DefaultsVariant::kConsole, 1000, 2000);
    settings.batchInputs.clear();
    run = RunOptions{};
    EXPECT_EQ(Parse(c.args), c.error);
    EXPECT_EQ(run.consoleRun, c.consoleRun);
    EXPECT_EQ(settings.batchInputs.size(), c.inputs);
    EXPECT_EQ(run.inputPosition, c.inputPosition);
    EXPECT_EQ(run.inputPath, c.inputPath);
  }
  ASSERT_EQ(Parse({"--recursive", "--threads=-2", "--no-subfolders"}), "");
  EXPECT_EQ(settings.recursiveFolders, 1);
  EXPECT_EQ(settings.threads, -2);
}

TEST(OptionValue, TakesThePartAfterEqualsOfLongForms) {
  std::vector<std::string> args{" --input=a=b.jpg ", "-i=x", "plain", "--flag"};
  EXPECT_EQ(OptionValue(args, 0), "a=b.jpg");
  EXPECT_EQ(OptionValue(args, 1), "-i=x");
  EXPECT_EQ(OptionValue(args, 2), "plain");
  EXPECT_EQ(OptionValue(args, 3), "--flag");
  EXPECT_EQ(OptionValue(args, 4), "");
}

class ProfileOrderTest : public ParseOptionsTest {
 protected:
  void SetUp() override {
    ParseOptionsTest::SetUp();
    path = (std::filesystem::temp_directory_path() / ("jpg2dds_parse_options_test_" + std::to_string(getpid()) + ".ini")).string();
    std::ofstream(path) << "[CLI]\n--WIDTH = 640\n--DDS-BPP = 32\n";
  }
  void TearDown() override { std::filesystem::remove(path); }
  std::string path;
};

TEST_F(ProfileOrderTest, ProfileAppliesAtItsPlace) {
  EXPECT_EQ(Parse({"--width=100", "--profile=" + path}), "");
  EXPECT_EQ(settings.imageWidth, 640);
  EXPECT_EQ(Parse({"--profile=" + path, "--width=100", "--dds-bpp=24"}), "");
  EXPECT_EQ(settings.imageWidth, 100);
  EXPECT_EQ(settings.ddsBpp, 24);
}

TEST_F(ProfileOrderTest, AFolderInAProfileMakesAConsoleRun) {
  std::ofstream(path) << "[CLI]\n--INPUT-FOLDER = pics\n";
  EXPECT_EQ(Parse({"--input-list=a.txt", "--profile=" + path, "-i", "x.jpg"}), "");
  EXPECT_TRUE(run.consoleRun);
  ASSERT_EQ(settings.batchInputs.size(), 2u);
  EXPECT_EQ(settings.batchInputs[1].kind, BatchInputKind::kFolder);
  EXPECT_EQ(settings.batchInputs[1].path, "pics");
  EXPECT_EQ(run.inputPosition, 2u);
  run = RunOptions{};
  settings.batchInputs.clear();
  EXPECT_EQ(Parse({"--profile=" + path}), "");
  EXPECT_TRUE(run.consoleRun);
}

TEST_F(ProfileOrderTest, UnreadableProfileStopsTheWalk) {
  EXPECT_EQ(Parse({"--profile=/nonexistent/missing.ini", "-q"}), "Invalid profile file");
  EXPECT_FALSE(run.quiet);
  EXPECT_EQ(Parse({"--profile="}), "Incorrect number of parameters");
  EXPECT_EQ(Parse({"--profile"}), "Incorrect number of parameters");
}

}  // namespace
}  // namespace jpg2dds
