#include "pipeline/output/encoded_dds_writer.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "pipeline/output/devil_dds_writer.h"
#include "settings/keywords.h"
#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

using testing::DefaultSettings;
using testing::JobFor;
using testing::PixelAt;
using testing::ReadBytes;
using testing::TempFolder;

// Smooth colours with a sharp edge, so every level has something to keep.
uint32_t Scene(int x, int y) {
  const uint32_t r = static_cast<uint32_t>(x * 255 / 70), g = static_cast<uint32_t>(y * 255 / 40);
  return (x > 30 ? r : 255 - r) << 16 | g << 8 | 0x40;
}

class EncodedDdsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ilInit();
    iluInit();
  }
  bool Write(FIBITMAP* picture, int32_t compression, int threads = 2) {
    job.threads = threads;
    return WriteEncodedDdsFile(picture, *FindDdsFormat(compression), settings, job);
  }
  // Exits with 0 when the write reported failure.
  void WriteUnderSizeLimit() {
    rlimit limit{2000, 2000};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(Write(testing::MakePicture(300, 200, Scene), choice::kDdsNone) ? 1 : 0);
  }
  TempFolder folder{"/dev/shm"};
  ConversionSettings settings = DefaultSettings();
  ConversionJob job = JobFor("/in/a.jpg", folder.path());
  std::string output = folder.File("a.dds");
};

TEST_F(EncodedDdsTest, EveryFormatReadsBackThroughDevilAtEverySize) {
  const int sizes[][2] = {{1, 1}, {5, 2}, {3, 3}, {1, 7}, {71, 41}};
  for (int f = 0; f < kDdsFormatCount; ++f) {
    const DdsFormat& format = kDdsFormats[f];
    for (const auto& size : sizes) {
      SCOPED_TRACE(std::string(format.name) + ": " + std::to_string(size[0]) + "x" + std::to_string(size[1]));
      FIBITMAP* picture = testing::MakePicture(size[0], size[1], Scene);
      FIBITMAP* reference = FreeImage_Clone(picture);
      ASSERT_TRUE(Write(picture, format.compression));
      EXPECT_EQ(job.outputWidth, size[0]);
      EXPECT_EQ(job.outputBitDepth, 32);
      testing::DdsPicture dds = testing::ReadDds(output);
      ASSERT_TRUE(dds.loaded);
      EXPECT_EQ(dds.width, size[0]);
      EXPECT_EQ(dds.height, size[1]);
      EXPECT_EQ(dds.mipmaps + 1, static_cast<int>(MipChain(size[0], size[1]).size()));
      size_t bytes = 128;
      for (const LevelSize& level : MipChain(size[0], size[1])) bytes += DdsLevelBytes(format, level.width, level.height);
      EXPECT_EQ(ReadBytes(output).size(), bytes);
      int worst = 0;
      for (int y = 0; y < size[1]; ++y) {
        for (int x = 0; x < size[0]; ++x) {
          worst = std::max(worst, testing::ColorDistance(dds.At(x, y), PixelAt(reference, x, y)));
        }
      }
      // Uncompressed is exact; a block format stays within its quantisation.
      EXPECT_LE(worst, IsBlockCompressed(format) ? 24 : 0);
      FreeImage_Unload(reference);
    }
  }
}

// The base level of the uncompressed file holds the picture's own pixels,
// as FreeImage's 32-bit conversion gives them, for every depth the edits
// can leave (1-bit threshold, 8-bit grey, 24-bit colour).
TEST_F(EncodedDdsTest, UncompressedBaseLevelIsThePictureForEveryDepth) {
  FIBITMAP* colour = testing::MakePicture(13, 9, Scene);
  FIBITMAP* grey = FreeImage_ConvertToGreyscale(colour);
  FIBITMAP* blackWhite = FreeImage_Threshold(colour, 100);
  for (FIBITMAP* picture : {colour, grey, blackWhite}) {
    SCOPED_TRACE(FreeImage_GetBPP(picture));
    FIBITMAP* full = FreeImage_ConvertTo32Bits(picture);
    ASSERT_TRUE(Write(FreeImage_Clone(picture), choice::kDdsNone));
    const std::string bytes = ReadBytes(output);
    for (int y = 0; y < 9; ++y) {
      EXPECT_EQ(std::memcmp(bytes.data() + 128 + y * 13 * 4, FreeImage_GetScanLine(full, 8 - y), 13 * 4), 0) << y;
    }
    FreeImage_Unload(full);
  }
  for (FIBITMAP* picture : {colour, grey, blackWhite}) FreeImage_Unload(picture);
}

TEST_F(EncodedDdsTest, SameBytesWhateverTheThreadCount) {
  FIBITMAP* noise = testing::MakePicture(301, 157, [](int x, int y) { return uint32_t(x * 7919 + y * 104729) * 2654435761u >> 8; });
  for (int32_t compression : {choice::kDdsDxt1, choice::kDdsNone}) {
    std::string first;
    for (int threads : {1, 2, 3, 8}) {
      ASSERT_TRUE(Write(FreeImage_Clone(noise), compression, threads));
      if (first.empty()) first = ReadBytes(output);
      EXPECT_EQ(ReadBytes(output), first) << threads << " threads";
    }
  }
  FreeImage_Unload(noise);
}

// The header is the one DevIL writes for the same picture, field for field.
TEST_F(EncodedDdsTest, Dxt1HeaderIsTheClassicOne) {
  for (const auto& size : {std::pair{1, 1}, {5, 2}, {300, 200}, {4096, 1}}) {
    FIBITMAP* picture = testing::MakePicture(size.first, size.second, Scene);
    FileResult result;
    ASSERT_TRUE(WriteDdsFile(FreeImage_ConvertTo32Bits(picture), settings, job, result));
    const std::string devil = ReadBytes(output).substr(0, 128);
    ASSERT_TRUE(Write(picture, choice::kDdsDxt1));
    EXPECT_EQ(ReadBytes(output).substr(0, 128), devil) << size.first << "x" << size.second;
  }
}

TEST_F(EncodedDdsTest, FailuresLeaveNoFileAndKeepTheOldOne) {
  const std::string old(5000, 'o');
  testing::WriteBytes(output, old);
  // A file size limit makes the writes fail part way, as a full disk would.
  EXPECT_EXIT(WriteUnderSizeLimit(), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadBytes(output), old);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.dds"});
  std::filesystem::remove(output);
  std::filesystem::create_directory(output);
  EXPECT_FALSE(Write(testing::MakePicture(8, 8, Scene), choice::kDdsDxt1));
  job.outputFolder = folder.File("gone/");
  EXPECT_FALSE(Write(testing::MakePicture(8, 8, Scene), choice::kDdsDxt5));
  EXPECT_FALSE(Write(nullptr, choice::kDdsDxt1));
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.dds"});
}

}  // namespace
}  // namespace jpg2dds
