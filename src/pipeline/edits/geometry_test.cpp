#include "pipeline/edits/geometry.h"

#include <gtest/gtest.h>

#include "settings/keywords.h"
#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

using testing::DefaultSettings;
using testing::MakeFlatPicture;
using testing::MakePicture;
using testing::PixelAt;

struct Size {
  unsigned width;
  unsigned height;
  bool operator==(const Size& other) const { return width == other.width && height == other.height; }
};
std::ostream& operator<<(std::ostream& out, const Size& size) { return out << size.width << "x" << size.height; }
Size SizeOf(FIBITMAP* picture) { return {FreeImage_GetWidth(picture), FreeImage_GetHeight(picture)}; }

TEST(ResizeDimension, PixelsAsGivenPercentRoundsHalfToEven) {
  EXPECT_EQ(ResizeDimension(800, choice::kUnitPixels, 4000), 800);
  EXPECT_EQ(ResizeDimension(50, choice::kUnitPercent, 101), 50);   // 50.5
  EXPECT_EQ(ResizeDimension(150, choice::kUnitPercent, 3), 4);     // 4.5
  EXPECT_EQ(ResizeDimension(50, choice::kUnitPercent, 103), 52);   // 51.5
  EXPECT_EQ(ResizeDimension(33, choice::kUnitPercent, 100), 33);
  EXPECT_EQ(ResizeDimension(800, 7, 4000), 0);
  // Far beyond 32 bits: held at the largest value, which no picture reaches.
  EXPECT_EQ(ResizeDimension(2000000000, choice::kUnitPercent, 60000), INT32_MAX);
}

TEST(ResizeFilter, MapsTheSettingsNumbersToFreeImagesFilters) {
  EXPECT_EQ(ResizeFilter(choice::kFilterBox), FILTER_BOX);
  EXPECT_EQ(ResizeFilter(choice::kFilterBilinear), FILTER_BILINEAR);
  EXPECT_EQ(ResizeFilter(choice::kFilterBspline), FILTER_BSPLINE);
  EXPECT_EQ(ResizeFilter(choice::kFilterBicubic), FILTER_BICUBIC);
  EXPECT_EQ(ResizeFilter(choice::kFilterCatmullRom), FILTER_CATMULLROM);
  EXPECT_EQ(ResizeFilter(choice::kFilterLanczos), FILTER_LANCZOS3);
  EXPECT_EQ(ResizeFilter(6), FILTER_BICUBIC);
  EXPECT_EQ(ResizeFilter(-1), FILTER_BICUBIC);
}

class ResizeTest : public ::testing::Test {
 protected:
  ResizeTest() {
    settings.doImageResize = 1;
    settings.imageWidthUnit = choice::kUnitPixels;
    settings.imageHeightUnit = choice::kUnitPixels;
  }
  Size Resized(unsigned width, unsigned height) {
    FIBITMAP* picture = ApplyResize(MakeFlatPicture(width, height, 0x336699), width, height, settings);
    Size size = SizeOf(picture);
    FreeImage_Unload(picture);
    return size;
  }
  ConversionSettings settings = DefaultSettings();
};

TEST_F(ResizeTest, KeepAspectRatioUsesTheLongerSidesSetting) {
  settings.imageWidth = 800;
  settings.imageHeight = 100;
  settings.keepAspectRatio = 1;
  EXPECT_EQ(Resized(4000, 3000), (Size{800, 600}));
  EXPECT_EQ(Resized(3000, 4000), (Size{75, 100}));
  settings.keepAspectRatio = 0;
  EXPECT_EQ(Resized(4000, 3000), (Size{800, 100}));
}

TEST_F(ResizeTest, KeepAspectRatioRoundsTheFloatQuotientHalfAwayFromZero) {
  settings.keepAspectRatio = 1;
  settings.imageWidth = 5;
  settings.imageHeight = 1;
  // 5 / (20 / 2) = 0.5 -> 1, where half to even would give 0 and fail.
  EXPECT_EQ(Resized(20, 2), (Size{5, 1}));
  // 101 / (200 / 3): the float ratio 66.66667 gives 1.515 -> 2.
  settings.imageWidth = 101;
  EXPECT_EQ(Resized(200, 3), (Size{101, 2}));
  // A side that rounds to 0 leaves no picture.
  settings.imageWidth = 1;
  EXPECT_EQ(Resized(400, 100), (Size{0, 0}));
}

TEST_F(ResizeTest, LargeImagesOnlyShrinks) {
  settings.imageResizeType = choice::kResizeLargeImages;
  settings.imageWidth = 800;
  settings.imageHeight = 600;
  EXPECT_EQ(Resized(640, 480), (Size{640, 480}));
  settings.imageHeight = 400;
  EXPECT_EQ(Resized(640, 480), (Size{800, 400}));
  settings.keepAspectRatio = 1;
  EXPECT_EQ(Resized(640, 480), (Size{800, 600}));
}

TEST_F(ResizeTest, PercentOfAnOddSide) {
  settings.imageWidthUnit = choice::kUnitPercent;
  settings.imageHeightUnit = choice::kUnitPercent;
  settings.imageWidth = 50;
  settings.imageHeight = 50;
  EXPECT_EQ(Resized(101, 101), (Size{50, 50}));
}

TEST_F(ResizeTest, NoOpCasesKeepTheSameBitmap) {
  FIBITMAP* picture = MakeFlatPicture(64, 48, 0x123456);
  settings.imageWidth = 64;
  settings.imageHeight = 48;
  EXPECT_EQ(ApplyResize(picture, 64, 48, settings), picture);
  settings.imageWidth = 0;
  EXPECT_EQ(ApplyResize(picture, 64, 48, settings), picture);
  settings.imageWidth = 32;
  settings.imageHeight = -5;
  EXPECT_EQ(ApplyResize(picture, 64, 48, settings), picture);
  settings.imageHeight = 24;
  settings.doImageResize = 0;
  EXPECT_EQ(ApplyResize(picture, 64, 48, settings), picture);
  FreeImage_Unload(picture);
  EXPECT_EQ(ApplyResize(nullptr, 0, 0, settings), nullptr);
}

TEST_F(ResizeTest, EnlargementPastThePictureLimitFailsTheFile) {
  settings.imageWidth = 30000;
  settings.imageHeight = 30000;
  EXPECT_EQ(Resized(10, 10), (Size{0, 0}));
}

class RotationTest : public ::testing::Test {
 protected:
  RotationTest() {
    settings.doImageRotation = 1;
    settings.imageRotationType = choice::kRotationSimple;
  }
  ConversionSettings settings = DefaultSettings();
};

TEST_F(RotationTest, AnglesOutsideOneTo359LeaveThePictureAlone) {
  FIBITMAP* grey = MakePicture(30, 20, [](int, int) { return 0x808080; }, true);
  for (int angle : {0, 360, -90}) {
    settings.imageRotation = angle;
    EXPECT_EQ(ApplyRotation(grey, settings), grey) << angle;
    EXPECT_EQ(FreeImage_GetBPP(grey), 8u);
  }
  FreeImage_Unload(grey);
  EXPECT_EQ(ApplyRotation(nullptr, settings), nullptr);
}

TEST_F(RotationTest, QuarterTurnSwapsTheSides) {
  settings.imageRotation = 90;
  FIBITMAP* turned = ApplyRotation(MakeFlatPicture(40, 20, 0x00FF00), settings);
  EXPECT_EQ(SizeOf(turned), (Size{20, 40}));
  FreeImage_Unload(turned);
}

TEST_F(RotationTest, SimpleEnlargesAndFillsCornersWithTheBackColor) {
  settings.imageRotation = 45;
  settings.imageRotationBackColor = "FF0000";
  FIBITMAP* turned = ApplyRotation(MakePicture(100, 100, [](int, int) { return 0xC0C0C0; }, true), settings);
  EXPECT_EQ(FreeImage_GetBPP(turned), 24u);
  EXPECT_GT(FreeImage_GetWidth(turned), 130u);
  EXPECT_GT(FreeImage_GetHeight(turned), 130u);
  EXPECT_EQ(PixelAt(turned, 0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(PixelAt(turned, FreeImage_GetWidth(turned) - 1, 0) & 0xFFFFFF, 0xFF0000u);
  unsigned mid = FreeImage_GetWidth(turned) / 2;
  EXPECT_EQ(PixelAt(turned, mid, mid) & 0xFFFFFF, 0xC0C0C0u);
  FreeImage_Unload(turned);

  // Any other length than six characters gives black.
  settings.imageRotationBackColor = "FF00";
  turned = ApplyRotation(MakeFlatPicture(50, 50, 0xFFFFFF), settings);
  EXPECT_EQ(PixelAt(turned, 0, 0) & 0xFFFFFF, 0u);
  FreeImage_Unload(turned);
}

TEST_F(RotationTest, CanvasPastThePictureLimitFailsTheFile) {
  // 65535 x 16 is small, but at 45 degrees its canvas would hold over two
  // billion pixels.
  settings.imageRotation = 45;
  EXPECT_EQ(ApplyRotation(MakeFlatPicture(65535, 16, 0x808080), settings), nullptr);
  // A quarter turn of the same picture only swaps its sides.
  settings.imageRotation = 90;
  FIBITMAP* turned = ApplyRotation(MakeFlatPicture(65535, 16, 0x808080), settings);
  EXPECT_EQ(SizeOf(turned), (Size{16, 65535}));
  FreeImage_Unload(turned);
}

TEST_F(RotationTest, AdvancedKeepsTheCanvas) {
  settings.imageRotation = 45;
  settings.imageRotationType = choice::kRotationAdvanced;
  FIBITMAP* turned = ApplyRotation(MakePicture(101, 60, [](int, int) { return 0x404040; }, true), settings);
  EXPECT_EQ(SizeOf(turned), (Size{101, 60}));
  EXPECT_EQ(FreeImage_GetBPP(turned), 24u);
  FreeImage_Unload(turned);
}

TEST(ApplyFlip, MirrorsTheMarkedCorner) {
  struct Case {
    bool horizontal, vertical;
    int x, y;
  } cases[] = {{true, false, 9, 0}, {false, true, 0, 5}, {true, true, 9, 5}};
  for (const Case& c : cases) {
    ConversionSettings settings = DefaultSettings();
    settings.doImageFlipHorizontal = c.horizontal;
    settings.doImageFlipVertical = c.vertical;
    FIBITMAP* picture = MakePicture(10, 6, [](int x, int y) { return x == 0 && y == 0 ? 0xFF0000 : 0x0000FF; });
    ApplyFlip(picture, settings);
    EXPECT_EQ(PixelAt(picture, c.x, c.y) & 0xFFFFFF, 0xFF0000u) << c.horizontal << c.vertical;
    EXPECT_EQ(PixelAt(picture, 0, 0) & 0xFFFFFF, 0x0000FFu);
    FreeImage_Unload(picture);
  }
}

}  // namespace
}  // namespace jpg2dds
