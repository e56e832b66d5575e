#include "pipeline/overlays/frame.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/keywords.h"
#include "testing/overlay_test_pictures.h"

namespace jpg2dds {
namespace {

using test_pictures::PixelAt;
using test_pictures::Rgba;
using test_pictures::Same;
using test_pictures::Box;

constexpr Rgba kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kGrey{100, 100, 100, 255};

ConversionSettings RedLeftBlueTop(int opacity) {
  ConversionSettings s;
  ApplyDefaults(s, DefaultsVariant::kConsole, 0, 0);
  s.doFrame = choice::kFrameSolid;
  s.solidLeft = 20;
  s.solidTop = 10;
  s.solidLeftColor = "FF0000";
  s.solidTopColor = "0000ff";
  s.solidOpacity = opacity;
  return s;
}

TEST(ApplyFrame, SidesAndMitredCorner) {
  FIBITMAP* picture = ApplyFrame(test_pictures::Solid24(80, 50, 100, 100, 100), 80, 50, RedLeftBlueTop(255));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(picture), 24u);
  for (int y = 10; y < 50; ++y) {
    for (int x = 0; x < 20; ++x) EXPECT_TRUE(Same(PixelAt(picture, x, y), kRed)) << x << "," << y;
  }
  for (int y = 0; y < 10; ++y) {
    for (int x = 20; x < 80; ++x) EXPECT_TRUE(Same(PixelAt(picture, x, y), kBlue)) << x << "," << y;
  }
  EXPECT_TRUE(Same(PixelAt(picture, 20, 10), kGrey));
  EXPECT_TRUE(Same(PixelAt(picture, 79, 49), kGrey));
  // The corner splits on the diagonal (0, 0)-(20, 10): blue above, red below.
  EXPECT_TRUE(Same(PixelAt(picture, 15, 2), kBlue));
  EXPECT_TRUE(Same(PixelAt(picture, 19, 0), kBlue));
  EXPECT_TRUE(Same(PixelAt(picture, 4, 8), kRed));
  EXPECT_TRUE(Same(PixelAt(picture, 0, 9), kRed));
  // Along the seam no picture grey shows through: pixels are red/blue mixes.
  for (int x = 0; x < 20; ++x) {
    Rgba seam = PixelAt(picture, x, x / 2);
    EXPECT_EQ(seam.g, 0) << x;
    EXPECT_NEAR(seam.r + seam.b, 255, 2) << x;
  }
  FreeImage_Unload(picture);
}

TEST(ApplyFrame, FourSidesOfTheirOwnWidthsAndColours) {
  ConversionSettings s = RedLeftBlueTop(255);
  s.solidLeft = 5, s.solidRight = 7, s.solidTop = 3, s.solidBottom = 4;
  s.solidRightColor = "00FF00";
  s.solidBottomColor = "FFFFFF";
  FIBITMAP* picture = ApplyFrame(test_pictures::Solid24(50, 30, 100, 100, 100), 50, 30, s);
  const Rgba green{0, 255, 0, 255}, white{255, 255, 255, 255};
  EXPECT_TRUE(Same(PixelAt(picture, 2, 15), kRed));
  EXPECT_TRUE(Same(PixelAt(picture, 45, 15), green));
  EXPECT_TRUE(Same(PixelAt(picture, 25, 1), kBlue));
  EXPECT_TRUE(Same(PixelAt(picture, 25, 28), white));
  // Bottom-right corner 7 x 4: green right of its diagonal, white below it.
  EXPECT_TRUE(Same(PixelAt(picture, 49, 26), green));
  EXPECT_TRUE(Same(PixelAt(picture, 43, 29), white));
  Box inside = test_pictures::ChangedBox(picture, kGrey);
  EXPECT_EQ(inside.width, 50);  // the band reaches every edge ...
  int untouched = 0;
  for (int y = 3; y < 26; ++y) {
    for (int x = 5; x < 43; ++x) untouched += Same(PixelAt(picture, x, y), kGrey);
  }
  EXPECT_EQ(untouched, 38 * 23);  // ... and leaves the inside alone
  FreeImage_Unload(picture);
}

TEST(ApplyFrame, OpacityMixesWithThePicture) {
  FIBITMAP* half = ApplyFrame(test_pictures::Solid24(60, 40, 100, 100, 100), 60, 40, RedLeftBlueTop(128));
  Rgba mixed = PixelAt(half, 5, 30);
  EXPECT_NEAR(mixed.r, (255 + 100) / 2, 2);
  EXPECT_NEAR(mixed.g, 50, 2);
  EXPECT_NEAR(mixed.b, 50, 2);
  FreeImage_Unload(half);

  FIBITMAP* grey8 = test_pictures::SolidGrey8(60, 40, 100, 100, 100);
  FIBITMAP* none = ApplyFrame(grey8, 60, 40, RedLeftBlueTop(0));
  EXPECT_EQ(FreeImage_GetBPP(none), 24u);
  EXPECT_EQ(test_pictures::ChangedBox(none, kGrey).width, 0);
  FreeImage_Unload(none);
}

TEST(ApplyFrame, ZeroWidthsStillGive24Bits) {
  ConversionSettings s = RedLeftBlueTop(255);
  s.solidLeft = s.solidTop = 0;
  FIBITMAP* grey8 = test_pictures::SolidGrey8(30, 20, 100, 100, 100);
  FIBITMAP* picture = ApplyFrame(grey8, 30, 20, s);
  EXPECT_EQ(FreeImage_GetBPP(picture), 24u);
  EXPECT_EQ(test_pictures::ChangedBox(picture, kGrey).width, 0);
  FreeImage_Unload(picture);
}

TEST(ApplyFrame, ThresholdPictureIsFramedInColour) {
  FIBITMAP* grey = test_pictures::SolidGrey8(40, 30, 200, 200, 200);
  FIBITMAP* oneBit = FreeImage_Threshold(grey, 128);
  FreeImage_Unload(grey);
  ASSERT_EQ(FreeImage_GetBPP(oneBit), 1u);
  FIBITMAP* picture = ApplyFrame(oneBit, 40, 30, RedLeftBlueTop(255));
  EXPECT_EQ(FreeImage_GetBPP(picture), 24u);
  EXPECT_TRUE(Same(PixelAt(picture, 3, 20), kRed));
  EXPECT_TRUE(Same(PixelAt(picture, 30, 3), kBlue));
  EXPECT_TRUE(Same(PixelAt(picture, 30, 20), (Rgba{255, 255, 255, 255})));
  FreeImage_Unload(picture);
}

TEST(ApplyFrame, OffOrNoPictureLeavesThingsAlone) {
  ConversionSettings s = RedLeftBlueTop(255);
  EXPECT_EQ(ApplyFrame(nullptr, 10, 10, s), nullptr);
  s.doFrame = choice::kFrameNone;
  FIBITMAP* grey8 = test_pictures::SolidGrey8(10, 10, 1, 2, 3);
  EXPECT_EQ(ApplyFrame(grey8, 10, 10, s), grey8);
  EXPECT_EQ(FreeImage_GetBPP(grey8), 8u);
  FreeImage_Unload(grey8);
}

TEST(ApplyFrame, WidthsBeyondThePictureDoNotBreakIt) {
  ConversionSettings s = RedLeftBlueTop(255);
  s.solidLeft = 2147483647;
  s.solidRight = -2147483647 - 1;
  s.solidBottom = 500;
  FIBITMAP* picture = ApplyFrame(test_pictures::Solid24(16, 12, 100, 100, 100), 16, 12, s);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(picture), 24u);
  FreeImage_Unload(picture);
}

TEST(ApplyFrame, EveryBandOfAPictureBeyondTheSurfaceLimit) {
  // Drawing surfaces hold at most 32767 pixels a side.
  ConversionSettings s = RedLeftBlueTop(255);
  s.solidLeft = 3, s.solidRight = 4, s.solidTop = 2, s.solidBottom = 3;
  s.solidLeftColor = "00FF00";
  s.solidRightColor = "FFFFFF";
  s.solidBottomColor = "FF0000";
  const Rgba top = kBlue, bottom = kRed, left{0, 255, 0, 255}, right{255, 255, 255, 255};
  const struct {
    int width, height;
  } sizes[] = {{40000, 8}, {8, 40000}, {32768, 9}, {9, 32768}};
  for (const auto& size : sizes) {
    const int w = size.width, h = size.height;
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    FIBITMAP* picture = ApplyFrame(test_pictures::Solid24(w, h, 100, 100, 100), w, h, s);
    ASSERT_NE(picture, nullptr);
    int wrong = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const bool inLeft = x < 3, inRight = x >= w - 4, inTop = y < 2, inBottom = y >= h - 3;
        const Rgba p = PixelAt(picture, x, y);
        bool rightColour;
        if ((inLeft || inRight) && (inTop || inBottom)) {
          rightColour = !Same(p, kGrey);  // a corner, split between its two sides
        } else if (inTop || inBottom || inLeft || inRight) {
          rightColour = Same(p, inTop ? top : inBottom ? bottom : inLeft ? left : right);
        } else {
          rightColour = Same(p, kGrey);
        }
        if (!rightColour && wrong++ < 3) ADD_FAILURE() << "pixel " << x << "," << y;
      }
    }
    EXPECT_EQ(wrong, 0);
    FreeImage_Unload(picture);
  }
}

}  // namespace
}  // namespace jpg2dds
