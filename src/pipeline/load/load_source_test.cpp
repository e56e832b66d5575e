#include "pipeline/load/load_source.h"

#include <gtest/gtest.h>

#include <cstring>

#include "pipeline/load/picture_limits.h"
#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

using testing::PixelAt;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using testing::WriteJpeg;

// Red in the top-left quarter, blue elsewhere.
uint32_t RedCorner(int x, int y) { return x < 20 && y < 10 ? 0xFF0000 : 0x0000FF; }

TEST(LoadSourceImage, DecodesColourAndGreyJpegsAtTheirDepth) {
  TempFolder folder;
  WriteJpeg(folder.File("colour.jpg"), 80, 40, RedCorner);
  WriteJpeg(folder.File("grey.jpeg"), 30, 20, [](int, int) { return 0x808080; }, true);
  FIBITMAP* colour = LoadSourceImage(folder.File("colour.jpg"));
  FIBITMAP* grey = LoadSourceImage(folder.File("grey.jpeg"));
  ASSERT_NE(colour, nullptr);
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(colour), 24u);
  EXPECT_EQ(FreeImage_GetBPP(grey), 8u);
  EXPECT_EQ(FreeImage_GetWidth(colour), 80u);
  EXPECT_LT(testing::ColorDistance(PixelAt(colour, 2, 2), 0xFFFF0000), 8);
  FreeImage_Unload(colour);
  FreeImage_Unload(grey);
}

TEST(LoadSourceImage, DecodesAsJpegWhateverTheName) {
  TempFolder folder;
  FIBITMAP* picture = testing::MakeFlatPicture(16, 16, 0x00FF00);
  ASSERT_TRUE(FreeImage_Save(FIF_PNG, picture, folder.File("png.jpg").c_str()));
  FreeImage_Unload(picture);
  WriteBytes(folder.File("empty.jpg"), "");
  WriteBytes(folder.File("text.jpg"), "not a picture at all");
  EXPECT_EQ(LoadSourceImage(folder.File("png.jpg")), nullptr);
  EXPECT_EQ(LoadSourceImage(folder.File("empty.jpg")), nullptr);
  EXPECT_EQ(LoadSourceImage(folder.File("text.jpg")), nullptr);
  EXPECT_EQ(LoadSourceImage(folder.File("missing.jpg")), nullptr);
  EXPECT_EQ(LoadSourceImage(folder.path()), nullptr);
}

TEST(LoadSourceImage, ExifQuarterTurnComesOutUpright) {
  TempFolder folder;
  WriteJpeg(folder.File("plain.jpg"), 80, 40, RedCorner);
  // Orientation 6: the stored picture must be turned a quarter clockwise.
  WriteBytes(folder.File("turned.jpg"), testing::WithExifOrientation(ReadBytes(folder.File("plain.jpg")), 6));
  FIBITMAP* picture = LoadSourceImage(folder.File("turned.jpg"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(picture), 40u);
  EXPECT_EQ(FreeImage_GetHeight(picture), 80u);
  // The stored top-left corner is now the top-right one.
  EXPECT_LT(testing::ColorDistance(PixelAt(picture, 38, 1), 0xFFFF0000), 8);
  EXPECT_LT(testing::ColorDistance(PixelAt(picture, 1, 1), 0xFF0000FF), 8);
  FreeImage_Unload(picture);
}

bool SamePixels(FIBITMAP* a, FIBITMAP* b) {
  if (!a || !b || FreeImage_GetWidth(a) != FreeImage_GetWidth(b) || FreeImage_GetHeight(a) != FreeImage_GetHeight(b) ||
      FreeImage_GetBPP(a) != FreeImage_GetBPP(b)) {
    return false;
  }
  const unsigned rowBytes = FreeImage_GetLine(a);
  for (unsigned y = 0; y < FreeImage_GetHeight(a); ++y) {
    if (std::memcmp(FreeImage_GetScanLine(a, y), FreeImage_GetScanLine(b, y), rowBytes) != 0) return false;
  }
  return true;
}

// Every orientation turns the picture exactly as FreeImage's own handling of
// the camera's Exif block does.
TEST(LoadSourceImage, EveryExifOrientationAsFreeImageTurnsIt) {
  TempFolder folder;
  WriteJpeg(folder.File("plain.jpg"), 13, 7, [](int x, int y) { return uint32_t(x * 19) << 16 | uint32_t(y * 36); });
  const std::string plain = ReadBytes(folder.File("plain.jpg"));
  for (int orientation = 1; orientation <= 8; ++orientation) {
    SCOPED_TRACE(orientation);
    WriteBytes(folder.File("turned.jpg"), testing::WithExifOrientation(plain, orientation));
    FIBITMAP* ours = LoadSourceImage(folder.File("turned.jpg"));
    FIBITMAP* theirs = FreeImage_Load(FIF_JPEG, folder.File("turned.jpg").c_str(), JPEG_ACCURATE | JPEG_EXIFROTATE);
    EXPECT_TRUE(SamePixels(ours, theirs));
    FreeImage_Unload(ours);
    FreeImage_Unload(theirs);
  }
}

// Exif blocks that crash FreeImage's own reader: the picture still loads,
// turned only by an orientation that can be read.
TEST(LoadSourceImage, DamagedExifBlocksLoadTheStoredPicture) {
  TempFolder folder;
  WriteJpeg(folder.File("plain.jpg"), 80, 40, RedCorner);
  const std::string plain = ReadBytes(folder.File("plain.jpg"));
  FIBITMAP* stored = LoadSourceImage(folder.File("plain.jpg"));
  // A TIFF header without its directory offset, as a damaged camera file has.
  const std::string headerOnly("Exif\0\0II*\0", 10);
  // A directory claiming 65535 entries in a 60-byte segment.
  std::string claimed("Exif\0\0MM\0*\0\0\0\x08\xFF\xFF", 16);
  claimed.resize(58, '\x7F');
  std::string claimedTurned = claimed;
  claimedTurned.replace(16, 12, std::string("\x01\x12\0\x03\0\0\0\x01\0\x06\0\0", 12));
  for (const std::string& payload : {headerOnly, claimed}) {
    WriteBytes(folder.File("broken.jpg"), testing::WithApp1Segment(plain, payload));
    FIBITMAP* picture = LoadSourceImage(folder.File("broken.jpg"));
    EXPECT_TRUE(SamePixels(picture, stored));
    FreeImage_Unload(picture);
  }
  WriteBytes(folder.File("broken.jpg"), testing::WithApp1Segment(plain, claimedTurned));
  FIBITMAP* turned = LoadSourceImage(folder.File("broken.jpg"));
  ASSERT_NE(turned, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(turned), 40u);
  FreeImage_Unload(turned);
  FreeImage_Unload(stored);
}

TEST(LoadSourceImage, RefusesAHeaderClaimingAHugePicture) {
  TempFolder folder;
  WriteJpeg(folder.File("small.jpg"), 16, 16, RedCorner);
  // 20000 x 20000 pixels (1.2 GB decoded) claimed by a file of a few bytes;
  // FreeImage alone would allocate and fill it all.
  WriteBytes(folder.File("huge.jpg"), testing::WithFrameSize(ReadBytes(folder.File("small.jpg")), 20000, 20000));
  FIBITMAP* header = FreeImage_Load(FIF_JPEG, folder.File("huge.jpg").c_str(), FIF_LOAD_NOPIXELS);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(FreeImage_GetHeight(header), 20000u);
  FreeImage_Unload(header);
  EXPECT_EQ(LoadSourceImage(folder.File("huge.jpg")), nullptr);
}

TEST(PictureLimit, BothSidesOfTheLargestPicture) {
  EXPECT_TRUE(FitsPictureLimit(16384, 16384));
  EXPECT_TRUE(FitsPictureLimit(65535, 4096));
  EXPECT_FALSE(FitsPictureLimit(16385, 16384));
  EXPECT_FALSE(FitsPictureLimit(65535, 4097));
  EXPECT_FALSE(FitsPictureLimit(0, 100));
  // Just past the limit is refused from the header alone, before decoding.
  TempFolder folder;
  WriteJpeg(folder.File("small.jpg"), 16, 16, RedCorner);
  WriteBytes(folder.File("over.jpg"), testing::WithFrameSize(ReadBytes(folder.File("small.jpg")), 16385, 16384));
  EXPECT_EQ(LoadSourceImage(folder.File("over.jpg")), nullptr);
}

}  // namespace
}  // namespace jpg2dds
