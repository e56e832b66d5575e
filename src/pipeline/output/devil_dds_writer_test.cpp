#include "pipeline/output/devil_dds_writer.h"
#include "pipeline/output/output_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/clock.h"
#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

using testing::DefaultSettings;
using testing::JobFor;
using testing::MakeFlatPicture;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

FIBITMAP* Picture32(int width, int height) {
  FIBITMAP* picture = MakeFlatPicture(width, height, 0x3366CC);
  FIBITMAP* full = FreeImage_ConvertTo32Bits(picture);
  FreeImage_Unload(picture);
  return full;
}

TEST(MakeTemporaryName, DateDigitsAsLettersThenFiveRandomLetters) {
  const int32_t before = CurrentDateValue();
  const std::string name = MakeTemporaryName("tessel", ".x");
  const int32_t after = CurrentDateValue();
  const std::string digits = std::to_string(before);
  ASSERT_EQ(name.size(), 6 + digits.size() + 5 + 2);
  EXPECT_EQ(name.substr(0, 6), "tessel");
  EXPECT_EQ(name.substr(name.size() - 2), ".x");
  std::string decoded;
  for (size_t i = 0; i < digits.size(); ++i) {
    char letter = name[6 + i];
    ASSERT_TRUE(letter >= 'a' && letter <= 'j') << name;
    decoded += static_cast<char>('0' + (letter - 'a'));
  }
  EXPECT_GE(std::stol(decoded), before);
  EXPECT_LE(std::stol(decoded), after);
  for (size_t i = 6 + digits.size(); i < name.size() - 2; ++i) EXPECT_TRUE(name[i] >= 'a' && name[i] <= 'z');
}

TEST(TemporaryName, HiddenWithTheOutputTypeBeforeItsEnd) {
  const std::string name = TemporaryName("dds");
  EXPECT_EQ(name.rfind(".tessel", 0), 0u) << name;
  EXPECT_EQ(name.substr(name.size() - 9), ".dds.part");
}

class WriteDdsFileTest : public ::testing::Test {
 protected:
  bool Write(FIBITMAP* picture) { return WriteDdsFile(picture, settings, job, result); }
  // Exits with 0 when the write reported failure.
  void WriteUnderSizeLimit() {
    struct rlimit limit = {2000, 2000};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(Write(Picture32(300, 200)) ? 1 : 0);
  }
  TempFolder folder;
  ConversionSettings settings = DefaultSettings();
  ConversionJob job = JobFor("/in/a.jpg", folder.path());
  FileResult result;
  std::string output = folder.File("a.dds");
};

TEST_F(WriteDdsFileTest, WritesDxt1WithAFullMipmapChainAndRecordsTheJob) {
  ASSERT_TRUE(Write(Picture32(300, 200)));
  EXPECT_EQ(job.outputWidth, 300);
  EXPECT_EQ(job.outputHeight, 200);
  EXPECT_EQ(job.currentOutputPath, output);
  EXPECT_EQ(job.temporaryOutputPath.rfind(folder.path() + ".tessel", 0), 0u);
  testing::DdsHeader header = testing::ReadDdsHeader(output);
  ASSERT_TRUE(header.valid);
  EXPECT_EQ(header.width, 300u);
  EXPECT_EQ(header.height, 200u);
  EXPECT_EQ(header.mipMapCount, 9u);  // 1 + floor(log2(300))
  EXPECT_EQ(header.fourCC, "DXT1");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.dds"});
}

// DevIL's save reports a file whose length is a multiple of 256 as 0 bytes
// written; such files (4032 x 3024, 60 x 40, ...) must count as written too.
TEST(WriteDdsFile, EverySizeUpTo48By48IsWritten) {
  TempFolder folder("/dev/shm");  // 2304 files, each flushed to disk
  ConversionSettings settings = DefaultSettings();
  ConversionJob job = JobFor("/in/a.jpg", folder.path());
  const std::string output = folder.File("a.dds");
  for (int width = 1; width <= 48; ++width) {
    for (int height = 1; height <= 48; ++height) {
      SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
      FileResult result;
      ASSERT_TRUE(WriteDdsFile(Picture32(width, height), settings, job, result));
      testing::DdsHeader header = testing::ReadDdsHeader(output);
      ASSERT_TRUE(header.valid);
      EXPECT_EQ(header.width, static_cast<uint32_t>(width));
      EXPECT_EQ(header.height, static_cast<uint32_t>(height));
    }
  }
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.dds"});
}

// Pixels handed to DevIL straight from a picture of any depth the edits
// leave are those of the picture converted to 32 bits first.
TEST(CopyDevilPixels, EveryDepthGivesThePixelsOfThe32BitPicture) {
  FIBITMAP* colour = testing::MakePicture(37, 23, [](int x, int y) {
    return static_cast<uint32_t>((x * 53 % 256) << 16 | (y * 29 % 256) << 8 | ((x * y) & 255));
  });
  FIBITMAP* grey = testing::MakePicture(
      37, 23, [](int x, int y) { return static_cast<uint32_t>((x + y) * 5) * 0x10101u; }, true);
  // 24 bits, 8 grey, 1 (a threshold), 8 with a palette, 32.
  FIBITMAP* const pictures[] = {colour, grey, FreeImage_Threshold(grey, 100),
                                FreeImage_ColorQuantize(colour, FIQ_WUQUANT), FreeImage_ConvertTo32Bits(colour)};
  for (FIBITMAP* picture : pictures) {
    ASSERT_NE(picture, nullptr);
    SCOPED_TRACE(FreeImage_GetBPP(picture));
    FIBITMAP* full = FreeImage_ConvertTo32Bits(picture);
    std::vector<uint8_t> pixels(37 * 23 * 4);
    CopyDevilPixels(picture, pixels.data());
    EXPECT_EQ(std::memcmp(pixels.data(), FreeImage_GetBits(full), pixels.size()), 0);
    FreeImage_Unload(full);
    FreeImage_Unload(picture);
  }
}

TEST_F(WriteDdsFileTest, PictureWithoutABufferFailsBeforeNaming) {
  EXPECT_FALSE(Write(nullptr));
  // 65500 x 16400 x 4 bytes wraps to 1832704 in 32-bit arithmetic. The
  // picture comes as a header without pixels, as a decoder could hand it on.
  testing::WriteJpeg(folder.File("small.jpg"), 8, 8, [](int, int) { return 0; });
  WriteBytes(folder.File("huge.jpg"), testing::WithFrameSize(ReadBytes(folder.File("small.jpg")), 65500, 16400));
  FIBITMAP* header = FreeImage_Load(FIF_JPEG, folder.File("huge.jpg").c_str(), FIF_LOAD_NOPIXELS);
  ASSERT_NE(header, nullptr);
  ASSERT_EQ(FreeImage_GetWidth(header), 65500u);
  std::filesystem::remove(folder.File("small.jpg"));
  std::filesystem::remove(folder.File("huge.jpg"));
  EXPECT_FALSE(Write(header));
  EXPECT_EQ(job.currentOutputPath, "");
  EXPECT_EQ(job.outputWidth, 0);
  EXPECT_TRUE(folder.Names().empty());
}

TEST_F(WriteDdsFileTest, ReadOnlyExistingOutputIsReplaced) {
  WriteBytes(output, "old");
  std::filesystem::permissions(output, std::filesystem::perms::owner_read);
  ASSERT_TRUE(Write(Picture32(8, 8)));
  EXPECT_EQ(ReadBytes(output).substr(0, 4), "DDS ");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.dds"});
}

TEST_F(WriteDdsFileTest, FolderUnderTheOutputNameIsLeftAloneAndTheFileFails) {
  std::filesystem::create_directory(output);
  WriteBytes(output + "/inside", "kept");
  EXPECT_FALSE(Write(Picture32(8, 8)));
  EXPECT_EQ(ReadBytes(output + "/inside"), "kept");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.dds"});
}

TEST_F(WriteDdsFileTest, MissingTargetFolderFailsWithoutStrayFiles) {
  settings.filenameMask = "missing/%filename%.%ext%";
  EXPECT_FALSE(Write(Picture32(8, 8)));
  EXPECT_TRUE(folder.Names().empty());
  job.outputFolder = folder.File("gone/");
  EXPECT_FALSE(Write(Picture32(8, 8)));
  EXPECT_TRUE(folder.Names().empty());
}

// The temporary file lives in the output's own folder, below the kept
// subfolder and the folders of the mask, so that the rename stays in one
// folder.
TEST_F(WriteDdsFileTest, TemporaryFileInTheOutputsOwnFolder) {
  settings.filenameMask = "masked/%filename%.%ext%";
  job.currentSubfolder = "kept/";
  ASSERT_EQ(mkdir(folder.File("kept").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(folder.File("kept/masked").c_str(), 0755), 0);
  ASSERT_TRUE(Write(Picture32(8, 8)));
  EXPECT_EQ(job.temporaryOutputPath.rfind(folder.File("kept/masked/.tessel"), 0), 0u) << job.temporaryOutputPath;
  EXPECT_EQ(job.currentOutputPath, folder.File("kept/masked/a.dds"));
}

TEST_F(WriteDdsFileTest, WriteErrorKeepsTheOldOutputByteForByte) {
  const std::string old(5000, 'o');
  WriteBytes(output, old);
  // A file size limit makes the writes fail part way, as a full disk would;
  // run in a child so the limit stays there.
  EXPECT_EXIT(WriteUnderSizeLimit(), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadBytes(output), old);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.dds"});
}

}  // namespace
}  // namespace jpg2dds
