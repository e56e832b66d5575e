#include "pipeline/convert_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "settings/keywords.h"
#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

using testing::ColorDistance;
using testing::DdsPicture;
using testing::ReadBytes;
using testing::ReadDds;
using testing::TempFolder;
using testing::WriteBytes;
using testing::WriteJpeg;

// DXT1 keeps flat 4x4 blocks of one colour close to it; pictures here are
// made of 8x8 squares so that every block is flat.
constexpr int kDxtTolerance = 12;

// Red in the top-left 8x8 square, green in the top-right one, blue elsewhere.
uint32_t MarkedCorners(int width, int x, int y) {
  if (y < 8 && x < 8) return 0xFF0000;
  if (y < 8 && x >= width - 8) return 0x00FF00;
  return 0x0000FF;
}

class ConvertFileTest : public ::testing::Test {
 protected:
  std::string Input(int width, int height) {
    std::string path = folder.File("in.jpg");
    WriteJpeg(path, width, height, [width](int x, int y) { return MarkedCorners(width, x, y); });
    job.currentInputFile = path;
    return path;
  }
  DdsPicture Convert() {
    EXPECT_EQ(ConvertFile(settings, job, nullptr).status, FileStatus::kConverted);
    return ReadDds(job.currentOutputPath);
  }
  std::vector<std::string> OutputNames() {
    std::vector<std::string> names;
    for (auto& entry : std::filesystem::directory_iterator(folder.File("out"))) {
      names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  void ExpectColor(const DdsPicture& dds, int x, int y, uint32_t rgb) {
    EXPECT_LE(ColorDistance(dds.At(x, y), 0xFF000000 | rgb), kDxtTolerance)
        << std::hex << dds.At(x, y) << " at " << std::dec << x << "," << y;
  }

  TempFolder folder;
  ConversionSettings settings = testing::DefaultSettings();
  ConversionJob job = testing::JobFor("", folder.File("out/"));
  void SetUp() override { std::filesystem::create_directory(folder.File("out")); }
};

TEST_F(ConvertFileTest, WritesAnUprightDdsWithMipmaps) {
  Input(64, 32);
  DdsPicture dds = Convert();
  ASSERT_TRUE(dds.loaded);
  EXPECT_EQ(job.currentOutputPath, folder.File("out/in.dds"));
  EXPECT_EQ(dds.width, 64);
  EXPECT_EQ(dds.height, 32);
  EXPECT_EQ(dds.mipmaps, 6);  // levels below 64 x 32: 32, 16, 8, 4, 2, 1
  EXPECT_EQ(testing::ReadDdsHeader(job.currentOutputPath).fourCC, "DXT1");
  ExpectColor(dds, 2, 2, 0xFF0000);
  ExpectColor(dds, 61, 2, 0x00FF00);
  ExpectColor(dds, 30, 20, 0x0000FF);
  EXPECT_EQ(job.sourceBitDepth, 24);
  EXPECT_EQ(job.outputBitDepth, 32);
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"in.dds"});
}

TEST_F(ConvertFileTest, FilesThatAreNoJpegFailBeforeNaming) {
  job.currentOutputPath = "";
  for (const char* name : {"missing.jpg", "empty.jpg", "png.jpg"}) {
    job.currentInputFile = folder.File(name);
    if (std::string(name) == "empty.jpg") WriteBytes(job.currentInputFile, "");
    if (std::string(name) == "png.jpg") {
      FIBITMAP* picture = testing::MakeFlatPicture(8, 8, 0);
      FreeImage_Save(FIF_PNG, picture, job.currentInputFile.c_str());
      FreeImage_Unload(picture);
    }
    EXPECT_EQ(ConvertFile(settings, job, nullptr).status, FileStatus::kFailed) << name;
    EXPECT_EQ(job.currentOutputPath, "") << name;
    EXPECT_EQ(job.sourceBitDepth, 0);
  }
  EXPECT_TRUE(OutputNames().empty());
}

TEST_F(ConvertFileTest, GreyscaleSourceHasDepth8AndIsWrittenAt32) {
  WriteJpeg(folder.File("grey.jpg"), 16, 16, [](int, int) { return 0x808080; }, true);
  job.currentInputFile = folder.File("grey.jpg");
  settings.filenameMask = "%filename%_%bpp%_%width%x%height%.%ext%";
  DdsPicture dds = Convert();
  EXPECT_EQ(job.sourceBitDepth, 8);
  EXPECT_EQ(job.currentOutputPath, folder.File("out/grey_32_16x16.dds"));
  ASSERT_TRUE(dds.loaded);
  ExpectColor(dds, 8, 8, 0x808080);
}

TEST_F(ConvertFileTest, ExifQuarterTurnIsUprightWithSidesSwapped) {
  Input(64, 32);
  WriteBytes(job.currentInputFile, testing::WithExifOrientation(ReadBytes(job.currentInputFile), 6));
  settings.filenameMask = "%width%x%height%";
  DdsPicture dds = Convert();
  EXPECT_EQ(job.currentOutputPath, folder.File("out/32x64"));
  ASSERT_EQ(dds.width, 32);
  ASSERT_EQ(dds.height, 64);
  ExpectColor(dds, 29, 2, 0xFF0000);   // stored top-left is now top-right
  ExpectColor(dds, 29, 61, 0x00FF00);  // stored top-right is now bottom-right
}

TEST_F(ConvertFileTest, ResizeKeepsTheAspectOfTheLongerSide) {
  settings.doImageResize = 1;
  settings.imageWidth = 800;
  settings.imageHeight = 100;
  settings.keepAspectRatio = 1;
  Input(4000, 3000);
  DdsPicture dds = Convert();
  EXPECT_EQ(dds.width, 800);
  EXPECT_EQ(dds.height, 600);
  EXPECT_EQ(testing::ReadDdsHeader(job.currentOutputPath).mipMapCount, 10u);  // 1 + floor(log2(800))
}

TEST_F(ConvertFileTest, RotationComesBeforeResize) {
  settings.doImageRotation = 1;
  settings.imageRotation = 90;
  settings.doImageResize = 1;
  settings.imageWidth = 10;
  settings.imageHeight = 100;
  settings.keepAspectRatio = 1;
  Input(64, 32);
  // Turned first to 32 x 64, a portrait, so the height setting counts.
  DdsPicture dds = Convert();
  EXPECT_EQ(dds.width, 50);
  EXPECT_EQ(dds.height, 100);
}

TEST_F(ConvertFileTest, BothFlipsMoveTheCornersDiagonally) {
  settings.doImageFlipHorizontal = 1;
  settings.doImageFlipVertical = 1;
  Input(64, 32);
  DdsPicture dds = Convert();
  ExpectColor(dds, 61, 29, 0xFF0000);
  ExpectColor(dds, 2, 29, 0x00FF00);
  ExpectColor(dds, 2, 2, 0x0000FF);
}

TEST_F(ConvertFileTest, InvertWritesTheNegative) {
  settings.doImageColorCorrection = 1;
  settings.imageInvert = 1;
  Input(64, 32);
  DdsPicture dds = Convert();
  ExpectColor(dds, 2, 2, 0x00FFFF);
  ExpectColor(dds, 30, 20, 0xFFFF00);
}

TEST_F(ConvertFileTest, GreyscaleAndThresholdWritePureOpaqueBlackAndWhite) {
  settings.doImageGreyscale = 1;
  settings.doImageThreshold = 1;
  settings.imageThreshold = 100;
  WriteJpeg(folder.File("in.jpg"), 32, 16, [](int x, int) { return x < 16 ? 0x202020 : 0xE0E0E0; });
  job.currentInputFile = folder.File("in.jpg");
  DdsPicture dds = Convert();
  ASSERT_TRUE(dds.loaded);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) ASSERT_EQ(dds.At(x, y), x < 16 ? 0xFF000000u : 0xFFFFFFFFu) << x << "," << y;
  }
}

TEST_F(ConvertFileTest, ExistingOutputIsReplacedOnlyBySuccess) {
  Input(16, 16);
  const std::string output = folder.File("out/in.dds");
  WriteBytes(output, "previous");
  std::filesystem::permissions(output, std::filesystem::perms::owner_read);
  ASSERT_EQ(ConvertFile(settings, job, nullptr).status, FileStatus::kConverted);
  EXPECT_EQ(ReadBytes(output).substr(0, 4), "DDS ");

  // A resize to nothing leaves no picture: the file fails, the output stays.
  const std::string written = ReadBytes(output);
  settings.doImageResize = 1;
  settings.imageWidth = 1;
  settings.imageHeight = 1;
  settings.keepAspectRatio = 1;
  Input(400, 16);
  EXPECT_EQ(ConvertFile(settings, job, nullptr).status, FileStatus::kFailed);
  EXPECT_EQ(ReadBytes(output), written);
  EXPECT_EQ(OutputNames(), std::vector<std::string>{"in.dds"});
}

}  // namespace
}  // namespace jpg2dds

namespace jpg2dds {
namespace {

// Without edits the built-in encoder takes the rows while they are decoded;
// with a switch on that changes nothing (a turn by 0 degrees) the decoded
// picture goes through the steps first. Both give the same file, for every
// kind of photo and format, and for a photo whose Exif block turns it.
TEST_F(ConvertFileTest, DecodingWhileEncodingGivesTheSameFile) {
  const int kinds[] = {JPEG_SUBSAMPLING_420, JPEG_PROGRESSIVE | JPEG_SUBSAMPLING_444, 0};
  for (int kind : kinds) {
    for (bool grey : {false, true}) {
      FIBITMAP* photo = testing::MakePicture(203, 77, [](int x, int y) { return uint32_t(x * 131 + y * 977) * 0x01020301u; }, grey);
      ASSERT_TRUE(FreeImage_Save(FIF_JPEG, photo, folder.File("in.jpg").c_str(), 85 | kind));
      FreeImage_Unload(photo);
      for (int turn : {0, 6}) {
        if (turn) WriteBytes(folder.File("in.jpg"), testing::WithExifOrientation(ReadBytes(folder.File("in.jpg")), turn));
        job.currentInputFile = folder.File("in.jpg");
        for (int compression : {choice::kDdsDxt1, choice::kDdsDxt5, choice::kDdsNone}) {
          SCOPED_TRACE(std::to_string(kind) + (grey ? " grey" : "") + " turn " + std::to_string(turn) + " " +
                       std::to_string(compression));
          settings.ddsCompression = static_cast<int8_t>(compression);
          settings.doImageRotation = 0;
          ASSERT_EQ(ConvertFile(settings, job, nullptr).status, FileStatus::kConverted);
          const std::string streamed = ReadBytes(job.currentOutputPath);
          settings.doImageRotation = 1;
          settings.imageRotation = 0;
          ASSERT_EQ(ConvertFile(settings, job, nullptr).status, FileStatus::kConverted);
          EXPECT_EQ(ReadBytes(job.currentOutputPath), streamed);
        }
      }
    }
  }
}

}  // namespace
}  // namespace jpg2dds
