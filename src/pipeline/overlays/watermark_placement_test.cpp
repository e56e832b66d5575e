#include "pipeline/overlays/watermark_placement.h"

#include <gtest/gtest.h>

#include "settings/keywords.h"
#include "testing/overlay_test_pictures.h"

namespace jpg2dds {
namespace {

ConversionSettings TextAt(int position, int xOffset, int yOffset) {
  ConversionSettings s;
  ApplyDefaults(s, DefaultsVariant::kConsole, 0, 0);
  s.doWatermark = choice::kWatermarkText;
  s.textPosition = static_cast<int8_t>(position);
  s.textXOffset = xOffset;
  s.textYOffset = yOffset;
  return s;
}

struct Anchor {
  int position;
  int64_t x, y;
};

TEST(PlaceWatermark, NineAnchorsWithIntegerHalves) {
  // Picture 101 x 51, overlay 20 x 10, offsets 7 and 3.
  const Anchor anchors[] = {
      {choice::kTopLeft, 7, 3},       {choice::kTopCenter, 40, 3},       {choice::kTopRight, 74, 3},
      {choice::kMiddleLeft, 7, 20},   {choice::kMiddleCenter, 40, 20},   {choice::kMiddleRight, 74, 20},
      {choice::kBottomLeft, 7, 38},   {choice::kBottomCenter, 40, 38},   {choice::kBottomRight, 74, 38},
      {99, 0, 0},
  };
  for (const Anchor& a : anchors) {
    WatermarkPosition at = PlaceWatermark(101, 51, 20, 10, TextAt(a.position, 7, 3));
    EXPECT_EQ(at.x, a.x) << a.position;
    EXPECT_EQ(at.y, a.y) << a.position;
  }
}

TEST(PlaceWatermark, FrameBoundaryMovesTheArea) {
  ConversionSettings s = TextAt(choice::kTopLeft, 10, 10);
  s.doFrame = choice::kFrameSolid;
  s.solidLeft = s.solidTop = 20;
  s.textBoundary = choice::kBoundaryFrame;
  WatermarkPosition framed = PlaceWatermark(200, 100, 30, 15, s);
  EXPECT_EQ(framed.x, 30);
  EXPECT_EQ(framed.y, 30);
  s.textBoundary = choice::kBoundaryImage;
  WatermarkPosition image = PlaceWatermark(200, 100, 30, 15, s);
  EXPECT_EQ(image.x, 10);
  EXPECT_EQ(image.y, 10);
  // The boundary counts only while a frame is on.
  s.textBoundary = choice::kBoundaryFrame;
  s.doFrame = choice::kFrameNone;
  EXPECT_EQ(PlaceWatermark(200, 100, 30, 15, s).x, 10);
  // BOTTOMRIGHT inside a frame of 20 left, 5 right: 20 + (200 - 25) - 30 - 10.
  s.doFrame = choice::kFrameSolid;
  s.solidRight = 5;
  s.textPosition = choice::kBottomRight;
  EXPECT_EQ(PlaceWatermark(200, 100, 30, 15, s).x, 155);
}

TEST(PlaceWatermark, PictureKindUsesImageSettings) {
  ConversionSettings s = TextAt(choice::kTopLeft, 1, 2);
  s.doWatermark = choice::kWatermarkImage;
  s.imagePosition = choice::kBottomLeft;
  s.imageXOffset = 4;
  s.imageYOffset = 6;
  WatermarkPosition at = PlaceWatermark(50, 40, 10, 10, s);
  EXPECT_EQ(at.x, 4);
  EXPECT_EQ(at.y, 24);
}

TEST(FitWatermark, CutsFromTopLeftBesideTheOffsets) {
  ConversionSettings s = TextAt(choice::kMiddleCenter, 10, 5);  // offsets count even when centred
  FIBITMAP* overlay = test_pictures::Transparent32(50, 30);
  test_pictures::SetPixel(overlay, 0, 0, {1, 2, 3, 255});
  FIBITMAP* fitted = FitWatermark(overlay, 40, 25, 50, 30, s);
  ASSERT_NE(fitted, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(fitted), 30u);
  EXPECT_EQ(FreeImage_GetHeight(fitted), 20u);
  EXPECT_TRUE(test_pictures::Same(test_pictures::PixelAt(fitted, 0, 0), {1, 2, 3, 255}));
  // Already inside: the same bitmap comes back.
  EXPECT_EQ(FitWatermark(fitted, 40, 25, 30, 20, s), fitted);
  FreeImage_Unload(fitted);
}

TEST(FitWatermark, NothingLeftWhenOffsetsPassTheArea) {
  ConversionSettings s = TextAt(choice::kTopLeft, 45, 0);
  EXPECT_EQ(FitWatermark(test_pictures::Transparent32(5, 5), 40, 25, 5, 5, s), nullptr);
  s.textXOffset = 2147483647;  // no overflow into a "fitting" size
  EXPECT_EQ(FitWatermark(test_pictures::Transparent32(5, 5), 40, 25, 5, 5, s), nullptr);
}

TEST(RotateWatermark, OverlayTooLargeToTurnIsLeftOut) {
  ConversionSettings s = TextAt(choice::kTopLeft, 0, 0);
  s.textRotation = 45;
  EXPECT_EQ(RotateWatermark(test_pictures::Transparent32(65535, 16), s), nullptr);
}

TEST(RotateWatermark, OnlyOneTo359Turns) {
  ConversionSettings s = TextAt(choice::kTopLeft, 0, 0);
  for (int angle : {0, 360, -90}) {
    s.textRotation = angle;
    FIBITMAP* overlay = test_pictures::Transparent32(30, 10);
    EXPECT_EQ(RotateWatermark(overlay, s), overlay) << angle;
    FreeImage_Unload(overlay);
  }
  s.textRotation = 90;
  FIBITMAP* turned = RotateWatermark(test_pictures::Transparent32(30, 10), s);
  EXPECT_EQ(FreeImage_GetWidth(turned), 10u);
  EXPECT_EQ(FreeImage_GetHeight(turned), 30u);
  FreeImage_Unload(turned);

  s.textRotation = 45;
  FIBITMAP* opaque = test_pictures::Transparent32(20, 20);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) test_pictures::SetPixel(opaque, x, y, {9, 9, 9, 255});
  }
  FIBITMAP* diamond = RotateWatermark(opaque, s);
  EXPECT_GT(FreeImage_GetWidth(diamond), 20u);
  EXPECT_EQ(test_pictures::PixelAt(diamond, 0, 0).a, 0);  // uncovered corner
  FreeImage_Unload(diamond);
}

}  // namespace
}  // namespace jpg2dds
