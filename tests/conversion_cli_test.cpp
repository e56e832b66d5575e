// A conversion run as a user sees it: the lines printed in each mode, the
// error line of every refused setting, and where the file goes.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include <vector>

#include "e2e_support.h"

namespace {

using e2e::RunJpg2dds;
using e2e::TempDir;
using Lines = std::vector<std::string>;

using e2e::kBanner;
using e2e::WithoutBanner;

class ConversionRun : public ::testing::Test {
 protected:
  void SetUp() override {
    input_ = dir_.File("sea.jpg");
    e2e::WriteJpeg(input_, 64, 48);
  }
  // Runs with the input and the temp folder as output, plus the arguments.
  e2e::RunResult Convert(const Lines& extra) {
    Lines args = {"-i", input_, "-o", dir_.path()};
    args.insert(args.end(), extra.begin(), extra.end());
    e2e::RunResult result = RunJpg2dds(args);
    EXPECT_EQ(result.exitCode, 0);
    return result;
  }
  TempDir dir_;
  std::string input_;
};

TEST_F(ConversionRun, PlainRunPrintsBannerAndStatusLines) {
  e2e::RunResult result = Convert({});
  EXPECT_EQ(result.lines, (Lines{kBanner[0], kBanner[1], kBanner[2], kBanner[3], "Preparing...", "Importing...",
                                 "Import complete, new files added: 1", "Converting...", "Conversion complete",
                                 "Files converted: 1 of 1"}));
  struct stat st {};
  EXPECT_EQ(stat(dir_.File("sea.dds").c_str(), &st), 0);
}

TEST_F(ConversionRun, QuietRunPrintsNothing) {
  e2e::RunResult result = Convert({"-q"});
  EXPECT_TRUE(result.lines.empty()) << result.out;
  EXPECT_EQ(e2e::ListFolder(dir_.path()), (Lines{"sea.dds", "sea.jpg"}));
}

TEST_F(ConversionRun, DebugRunReportsSettingsAndFiles) {
  e2e::RunResult result = Convert({"-d"});
  Lines expected = {"Preparing...",
                    "Input: " + input_,
                    "Output: " + dir_.path(),
                    "Conversion: dds",
                    "DDS BPP: 0",
                    "Flip Horizontal: 0",
                    "Flip Vertical: 0",
                    "Greyscale: 0",
                    "Frame: none",
                    "Watermark: none",
                    "Filename Mask: %filename%.%ext%",
                    "File Timestamp: current",
                    "Keep Subfolders: 1",
                    "Importing...",
                    "Import complete, new files added: 1",
                    "Converting...",
                    "Processing: " + input_,
                    "Saving As: " + dir_.path() + "/sea.dds",
                    "OK",
                    "Conversion complete",
                    "Files converted: 1 of 1"};
  EXPECT_EQ(WithoutBanner(result.lines), expected);
}

// The encoder's choice and its quality are reported right after the bit
// depth, and only when not at their defaults; a word that is no keyword
// means the default. AUTO's file is the one the default run writes, byte for
// byte, whatever the quality, and NORMAL's the one without the option.
TEST_F(ConversionRun, DdsCompressionIsReportedOnlyWhenChosen) {
  Convert({"-q"});
  const std::string automatic = e2e::ReadBytes(dir_.File("sea.dds"));
  Convert({"-q", "--dds-compression=dxt1"});
  const std::string dxt1 = e2e::ReadBytes(dir_.File("sea.dds"));
  struct Case {
    const char* compression;
    const char* quality;
    Lines next;  // the lines after the bit depth's
    const std::string* same;  // the file this one's bytes equal; null: a file of its own
  };
  const Case cases[] = {
      {"dxt1", "", {"DDS Compression: dxt1", "Flip Horizontal: 0"}, &dxt1},
      {"DXT5", "", {"DDS Compression: dxt5", "Flip Horizontal: 0"}, nullptr},
      {"None", "", {"DDS Compression: none", "Flip Horizontal: 0"}, nullptr},
      {"auto", "", {"Flip Horizontal: 0"}, &automatic},
      {"bc7", "", {"Flip Horizontal: 0"}, &automatic},
      {"dxt1", "normal", {"DDS Compression: dxt1", "Flip Horizontal: 0"}, &dxt1},
      {"dxt1", "high", {"DDS Compression: dxt1", "Flip Horizontal: 0"}, &dxt1},
      {"dxt1", "Best", {"DDS Compression: dxt1", "DDS Quality: best", "Flip Horizontal: 0"}, nullptr},
      {"auto", "best", {"DDS Quality: best", "Flip Horizontal: 0"}, &automatic},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.compression) + " " + c.quality);
    Lines options = {"-d", std::string("--dds-compression=") + c.compression};
    if (*c.quality) options.push_back(std::string("--dds-quality=") + c.quality);
    Lines lines = WithoutBanner(Convert(options).lines);
    auto bpp = std::find(lines.begin(), lines.end(), "DDS BPP: 0");
    ASSERT_NE(bpp, lines.end());
    ASSERT_LE(c.next.size(), static_cast<size_t>(lines.end() - bpp - 1));
    EXPECT_EQ(Lines(bpp + 1, bpp + 1 + c.next.size()), c.next);
    const std::string bytes = e2e::ReadBytes(dir_.File("sea.dds"));
    if (c.same) EXPECT_TRUE(bytes == *c.same);
    else EXPECT_NE(bytes, automatic);
  }
  e2e::WriteBytes(dir_.File("p.ini"), "[CLI]\n--DDS-COMPRESSION = dxt5\n--DDS-QUALITY = best\n");
  Lines lines = WithoutBanner(Convert({"-d", "--profile=" + dir_.File("p.ini")}).lines);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "DDS Quality: best"), lines.end());
  EXPECT_EQ(e2e::ReadBytes(dir_.File("sea.dds")).substr(84, 4), "DXT5");
}

TEST_F(ConversionRun, QuietDebugRunKeepsOnlyReportAndWorkerLines) {
  e2e::RunResult result = Convert({"-q", "-d", "--width=32", "--height=24", "--gamma=1.5"});
  ASSERT_FALSE(result.lines.empty());
  EXPECT_EQ(result.lines.front(), "Input: " + input_);
  for (const char* line : {"Width: 32 pixels", "Height: 24 pixels", "Keep Aspect Ratio: 0",
                           "Image Resize Type: allimages", "Image Resize Algorithm: bicubic", "Brightness: 0",
                           "Contrast: 0", "Gamma: 1.50", "Invert: 0", "OK"}) {
    EXPECT_NE(std::find(result.lines.begin(), result.lines.end(), line), result.lines.end()) << line;
  }
  for (const char* line : {"Preparing...", "Importing...", "Converting...", "Conversion complete"}) {
    EXPECT_EQ(std::find(result.lines.begin(), result.lines.end(), line), result.lines.end()) << line;
  }
  EXPECT_EQ(result.lines.back(), "OK");
}

TEST_F(ConversionRun, EachRefusedSettingPrintsItsErrorLine) {
  struct Case {
    Lines args;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"-c", "DDS"}, "Error: Invalid conversion type"},
      {{"-c", "png"}, "Error: Invalid conversion type"},
      {{"--dds-bpp=24"}, "Error: Invalid dds-bpp value"},
      {{"--width=0", "--height=10"}, "Error: Invalid width value"},
      {{"--width=10"}, "Error: Invalid height value"},
      {{"--brightness=101"}, "Error: Invalid brightness value"},
      {{"--contrast=-101"}, "Error: Invalid contrast value"},
      {{"--gamma=10"}, "Error: Invalid gamma value"},
      {{"--gamma=0"}, "Error: Invalid gamma value"},
      {{"--wm-image=" + dir_.File("missing.png")}, "Error: Invalid watermark image"},
  };
  for (const Case& c : cases) {
    Lines quiet = c.args;
    quiet.push_back("-q");
    e2e::RunResult result = Convert(quiet);
    EXPECT_EQ(result.lines, Lines{c.error}) << c.args[0];
  }
  EXPECT_EQ(e2e::ListFolder(dir_.path()), Lines{"sea.jpg"});
}

TEST_F(ConversionRun, SettingsAtTheirLimitsPass) {
  e2e::RunResult result =
      Convert({"-q", "--brightness=-100", "--contrast=100", "--gamma=9.99", "--dds-bpp=32", "--width=-5",
               "--height=20"});
  EXPECT_TRUE(result.lines.empty()) << result.out;
}

TEST_F(ConversionRun, FailingCheckKeepsTheReportUpToItsLine) {
  e2e::RunResult result = Convert({"-d", "-q", "--brightness=150"});
  Lines tail(result.lines.end() - 3, result.lines.end());
  EXPECT_EQ(tail, (Lines{"Flip Vertical: 0", "Brightness: 150", "Error: Invalid brightness value"}));
}

TEST(ConversionInput, RefusedInputsPrintTheirLines) {
  TempDir dir;
  e2e::WriteBytes(dir.File("empty.jpg"), "");
  mkdir(dir.File("folder.jpg").c_str(), 0755);
  e2e::WriteBytes(dir.File("noext"), "data");
  for (const std::string& input :
       {dir.File("missing.jpg"), dir.File("empty.jpg"), dir.File("folder.jpg"), dir.File("noext")}) {
    e2e::RunResult result = RunJpg2dds({"-i", input, "-q"});
    EXPECT_EQ(result.lines, Lines{"Error: Invalid input file"}) << input;
  }
  e2e::WriteBytes(dir.File("photo.png"), "not really a png");
  e2e::WriteBytes(dir.File("FILES.LST"), "a.jpg");
  for (const std::string& input : {dir.File("photo.png"), dir.File("FILES.LST")}) {
    e2e::RunResult plain = RunJpg2dds({"-i", input});
    EXPECT_EQ(WithoutBanner(plain.lines),
              (Lines{"Preparing...", "Importing...", "Import complete, new files added: 0", "Conversion stopped",
                     "No input file(s) found. Please, add valid file(s) and try again!"}));
    e2e::RunResult quiet = RunJpg2dds({"-i", input, "-q"});
    EXPECT_EQ(quiet.lines, (Lines{"Conversion stopped",
                                  "No input file(s) found. Please, add valid file(s) and try again!"}));
  }
}

TEST(ConversionInput, UndecodableJpegIsNotOk) {
  TempDir dir;
  e2e::WriteBytes(dir.File("fake.jpg"), std::string("\x89PNG\r\n\x1a\n", 8) + std::string(100, 'x'));
  e2e::RunResult result = RunJpg2dds({"-i", dir.File("fake.jpg"), "-o", dir.path(), "-q", "-d"});
  Lines tail(result.lines.end() - 4, result.lines.end());
  EXPECT_EQ(tail, (Lines{"Processing: " + dir.File("fake.jpg"), "Saving As: ", "Not OK", "Conversion stopped"}));
  EXPECT_EQ(e2e::ListFolder(dir.path()), Lines{"fake.jpg"});
}

TEST(ConversionOutput, FolderRules) {
  TempDir dir;
  std::string input = dir.File("sea.jpg");
  e2e::WriteJpeg(input, 16, 16);
  mkdir(dir.File("out").c_str(), 0755);
  // Relative folders hang off the program's own folder, not the current one.
  e2e::RunResult relative = RunJpg2dds({"-i", input, "-o", "out", "-q"}, dir.path());
  EXPECT_EQ(relative.lines, Lines{"Error: Invalid output folder"});
  e2e::RunResult parent = RunJpg2dds({"-i", input, "-o", "../" + dir.path(), "-q"});
  EXPECT_EQ(parent.lines, Lines{"Error: Incorrect output folder"});
  e2e::RunResult missing = RunJpg2dds({"-i", input, "-o", dir.File("nowhere"), "-q"});
  EXPECT_EQ(missing.lines, Lines{"Error: Invalid output folder"});
  struct stat st {};
  EXPECT_NE(stat(dir.File("nowhere").c_str(), &st), 0) << "the output folder must never be created";
  e2e::WriteBytes(dir.File("plainfile"), "x");
  e2e::RunResult file = RunJpg2dds({"-i", input, "-o", dir.File("plainfile"), "-q"});
  EXPECT_EQ(file.lines, Lines{"Error: Invalid output folder"});
  // Without -o the file goes beside its input.
  e2e::RunResult beside = RunJpg2dds({"-i", input, "-q"});
  EXPECT_TRUE(beside.lines.empty()) << beside.out;
  EXPECT_EQ(stat(dir.File("sea.dds").c_str(), &st), 0);
  // A trailing slash is accepted.
  e2e::RunResult slash = RunJpg2dds({"-i", input, "-o", dir.File("out") + "/", "-q"});
  EXPECT_TRUE(slash.lines.empty()) << slash.out;
  EXPECT_EQ(e2e::ListFolder(dir.File("out")), Lines{"sea.dds"});
}

}  // namespace

namespace {

TEST(ConversionNaming, MaskTokensNameTheFile) {
  TempDir dir;
  std::string input = dir.File("Beach.JPG");
  e2e::WriteJpeg(input, 40, 30);
  e2e::RunResult masked =
      RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "--filename-mask=Photo_%N%_%width%x%height%_%bpp%.%EXT%"});
  EXPECT_TRUE(masked.lines.empty()) << masked.out;
  e2e::RunResult plain = RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "--filename-mask="});
  EXPECT_EQ(plain.lines, Lines{"Error: Incorrect number of parameters"});
  e2e::RunResult upper = RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "--filename-mask=%filename[u]%.%ext[t]%"});
  EXPECT_TRUE(upper.lines.empty()) << upper.out;
  EXPECT_EQ(e2e::ListFolder(dir.path()), (Lines{"BEACH.Dds", "Beach.JPG", "photo_00001_40x30_32.dds"}));
}

TEST(ConversionNaming, NulByteInTheMaskFailsTheFileAndTouchesNothing) {
  // A file name cannot hold a NUL byte: the name reported is the name as
  // built, the file is not converted, and the file whose name ends where the
  // NUL stands is neither replaced nor deleted.
  const struct {
    std::string mask;
    std::string name;       // as reported
    std::string truncated;  // what a C string would name
  } cases[] = {
      {std::string("abc\0def.%ext%", 13), std::string("abc\0def.dds", 11), "abc"},
      {std::string("abc.%ext%\0", 10), std::string("abc.dds\0", 8), "abc.dds"},
      {std::string("%filename%\0.%ext%", 17), std::string("a\0.dds", 6), "a"},
      {std::string("\0x.%ext%", 8), std::string("\0x.dds", 6), ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    std::string input = dir.File("a.jpg");
    e2e::WriteJpeg(input, 16, 16);
    if (!c.truncated.empty()) e2e::WriteBytes(dir.File(c.truncated), "old");
    e2e::WriteBytes(dir.File("p.ini"), "[CLI]\r\n--FILENAME-MASK=" + c.mask + "\r\n");
    e2e::RunResult result = RunJpg2dds({"-i", input, "-o", dir.path(), "--profile=" + dir.File("p.ini"), "-q", "-d"});
    ASSERT_GE(result.lines.size(), 3u) << result.out;
    const Lines tail(result.lines.end() - 3, result.lines.end());
    EXPECT_EQ(tail, (Lines{"Saving As: " + dir.path() + "/" + c.name, "Not OK", "Conversion stopped"}))
        << c.truncated;
    Lines expected = {"a.jpg", "p.ini"};
    if (!c.truncated.empty()) expected.push_back(c.truncated);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(e2e::ListFolder(dir.path()), expected) << c.truncated;
    if (!c.truncated.empty()) {
      EXPECT_EQ(e2e::ReadBytes(dir.File(c.truncated)), "old");
    }
  }
}

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
  return st;
}

TEST(ConversionTimes, OriginalAndCustomTimestamps) {
  TempDir dir;
  std::string input = dir.File("a.jpg");
  e2e::WriteJpeg(input, 16, 16);
  timespec times[2] = {{0, UTIME_OMIT}, {1500000000, 750000000}};
  ASSERT_EQ(utimensat(AT_FDCWD, input.c_str(), times, 0), 0);

  RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "--file-timestamp=original"});
  struct stat original = StatOf(dir.File("a.dds"));
  EXPECT_EQ(original.st_mtim.tv_sec, 1500000000);
  EXPECT_EQ(original.st_mtim.tv_nsec, 0);

  RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "--file-timestamp=CUSTOM", "--file-timestamp-custom=86400"});
  std::tm local{};
  local.tm_year = 70;
  local.tm_mon = 0;
  local.tm_mday = 2;
  local.tm_isdst = -1;
  EXPECT_EQ(StatOf(dir.File("a.dds")).st_mtim.tv_sec, mktime(&local));

  time_t before = time(nullptr);
  RunJpg2dds({"-i", input, "-o", dir.path(), "-q"});
  EXPECT_GE(StatOf(dir.File("a.dds")).st_mtim.tv_sec, before);
}

TEST(ConversionReport, TransformAndAdjustmentRowsShowTheGivenValues) {
  TempDir dir;
  std::string input = dir.File("a.jpg");
  e2e::WriteJpeg(input, 16, 16);
  e2e::RunResult result = RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "-d", "--rotation=45",
                                      "--rotation-type=Advanced", "--rotation-back-color=FF0000",
                                      "--width=50", "--width-unit=percent", "--height=8", "--keep-aspect-ratio",
                                      "--resize-type=largeimages", "--resize-algorithm=lanczos", "--flip-vertical",
                                      "--invert", "--threshold=300", "--greyscale", "--file-timestamp=custom",
                                      "--file-timestamp-custom=$10"});
  Lines expected = {"Image Rotation Type: advanced", "Image Rotation: 45", "Image Rotation Back Color: FF0000",
                    "Width: 50 percent", "Height: 8 pixels", "Keep Aspect Ratio: 1",
                    "Image Resize Type: largeimages", "Image Resize Algorithm: lanczos", "Flip Horizontal: 0",
                    "Flip Vertical: 1", "Brightness: 0", "Contrast: 0", "Gamma: 1.00", "Invert: 1",
                    "Greyscale: 1", "Image Threshold: 300", "Frame: none"};
  auto first = std::find(result.lines.begin(), result.lines.end(), expected.front());
  ASSERT_NE(first, result.lines.end()) << result.out;
  ASSERT_LE(expected.size(), static_cast<size_t>(result.lines.end() - first));
  EXPECT_EQ(Lines(first, first + expected.size()), expected);
  EXPECT_NE(std::find(result.lines.begin(), result.lines.end(), "Custom Timestamp: 16"), result.lines.end());
  EXPECT_EQ(result.lines.back(), "OK");
}

}  // namespace

namespace {

TEST(ConversionPause, PromptIsPrintedEvenWhenQuiet) {
  TempDir dir;
  std::string input = dir.File("a.jpg");
  e2e::WriteJpeg(input, 16, 16);
  // No terminal here, so the key wait returns at once after the prompt.
  e2e::RunResult quiet = RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "-p"});
  EXPECT_EQ(quiet.lines, Lines{"Press any key to exit."});
  EXPECT_EQ(quiet.exitCode, 0);
  e2e::RunResult failing = RunJpg2dds({"-i", dir.File("missing.jpg"), "-q", "-p"});
  EXPECT_EQ(failing.lines, (Lines{"Error: Invalid input file", "Press any key to exit."}));
}

}  // namespace

namespace {

// Photos whose DDS length is a multiple of 256 bytes, which DevIL's save
// reports as nothing written, as phones shape them (4:3 both ways, 16:9) and
// others: 4032 x 3024 and 8064 x 6048 are such sizes too, but cost seconds
// and half a gigabyte for nothing these do not test (the writer's own test
// sweeps every size up to 48 x 48).
TEST(ConversionSizes, PhoneSizedPhotosConvert) {
  TempDir dir;
  const int sizes[][2] = {{196, 147}, {147, 196}, {652, 489}, {688, 387}, {60, 40}, {29, 1}};
  for (const auto& size : sizes) {
    const std::string name = std::to_string(size[0]) + "x" + std::to_string(size[1]);
    SCOPED_TRACE(name);
    e2e::WriteJpeg(dir.File(name + ".jpg"), size[0], size[1], 0x4080C0);
    e2e::RunResult run = RunJpg2dds({"-i", dir.File(name + ".jpg"), "-o", dir.path(), "-q", "-d"});
    EXPECT_EQ(run.lines.back(), "OK");
    EXPECT_EQ(e2e::ReadBytes(dir.File(name + ".dds")).substr(0, 4), "DDS ");
    std::remove(dir.File(name + ".jpg").c_str());
    std::remove(dir.File(name + ".dds").c_str());
  }
}

// A photo whose blocks all differ, so that pieces out of place would show.
void WriteBusyJpeg(const std::string& path, int width, int height) {
  FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
  ASSERT_NE(bitmap, nullptr);
  uint32_t state = 12345;
  for (int y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(bitmap, y);
    for (int x = 0; x < width * 3; ++x) {
      state = state * 1664525u + 1013904223u;
      row[x] = static_cast<BYTE>((x / 3 + y) / 4 * 9 + (state >> 29));
    }
  }
  const bool saved = FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), 90);
  FreeImage_Unload(bitmap);
  ASSERT_TRUE(saved) << path;
}

// A single file with more than one thread has DevIL's part made side by side
// in helper processes: the same file as with one thread.
TEST(ConversionThreads, SingleFileGivesTheSameBytesWithAnyThreads) {
  TempDir dir;
  WriteBusyJpeg(dir.File("photo.jpg"), 701, 603);
  std::string one;
  for (const char* threads : {"--threads=1", "--threads=2", "--threads=3"}) {
    SCOPED_TRACE(threads);
    const std::string out = dir.File(std::string("out") + threads[10]);
    mkdir(out.c_str(), 0755);
    const e2e::RunResult run = RunJpg2dds({"-i", dir.File("photo.jpg"), "-o", out, "-q", threads});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    const std::string bytes = e2e::ReadBytes(out + "/photo.dds");
    if (one.empty()) one = bytes;
    EXPECT_GT(bytes.size(), 701u * 603 / 2);
    EXPECT_TRUE(bytes == one);
  }
}

}  // namespace
