#include "pipeline/load_source.h"

#include <gtest/gtest.h>

#include "pipeline/picture_limits.h"
#include "pipeline/test_pictures.h"

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
