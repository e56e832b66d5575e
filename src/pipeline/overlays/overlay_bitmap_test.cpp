#include "pipeline/overlays/overlay_bitmap.h"

#include <gtest/gtest.h>

#include "testing/overlay_test_pictures.h"

namespace jpg2dds {
namespace {

using test_pictures::PixelAt;

TEST(OverlayBitmap, SurfaceBecomesUprightStraightRgbaBitmap) {
  Surface s;
  ASSERT_TRUE(CreateSurface(3, 4, s));
  FillRectangle(s, 0, 0, 3, 1, 0xFF0000FF);  // top row red
  FillRectangle(s, 0, 3, 3, 1, 0x40FF0000);  // bottom row blue, alpha 64
  FIBITMAP* bitmap = SurfaceToBitmap(s);
  ReleaseSurface(s);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(bitmap), 32u);
  EXPECT_EQ(FreeImage_GetWidth(bitmap), 3u);
  EXPECT_EQ(FreeImage_GetHeight(bitmap), 4u);
  auto top = PixelAt(bitmap, 1, 0);
  EXPECT_EQ(top.r, 255);
  EXPECT_EQ(top.b, 0);
  EXPECT_EQ(top.a, 255);
  auto bottom = PixelAt(bitmap, 2, 3);
  EXPECT_EQ(bottom.b, 255);  // not the premultiplied 64
  EXPECT_EQ(bottom.r, 0);
  EXPECT_EQ(bottom.a, 64);
  auto middle = PixelAt(bitmap, 0, 1);
  EXPECT_EQ(middle.a, 0);
  FreeImage_Unload(bitmap);
}

TEST(OverlayBitmap, BitmapToSurfaceAndBackKeepsPixels) {
  FIBITMAP* bitmap = test_pictures::Transparent32(2, 2);
  test_pictures::SetPixel(bitmap, 0, 0, {10, 20, 30, 255});
  test_pictures::SetPixel(bitmap, 1, 1, {255, 0, 0, 128});
  Surface s;
  ASSERT_TRUE(BitmapToSurface(bitmap, s));
  FreeImage_Unload(bitmap);
  FIBITMAP* back = SurfaceToBitmap(s);
  ReleaseSurface(s);
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(test_pictures::Same(PixelAt(back, 0, 0), {10, 20, 30, 255}));
  EXPECT_TRUE(test_pictures::Same(PixelAt(back, 1, 1), {255, 0, 0, 128}));
  EXPECT_TRUE(test_pictures::Same(PixelAt(back, 1, 0), {0, 0, 0, 0}));
  FreeImage_Unload(back);

  FIBITMAP* rgb = test_pictures::Solid24(2, 2, 1, 2, 3);
  EXPECT_FALSE(BitmapToSurface(rgb, s));  // only 32-bit pictures carry alpha
  FreeImage_Unload(rgb);
}

}  // namespace
}  // namespace jpg2dds
