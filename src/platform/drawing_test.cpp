#include "platform/drawing.h"

#include <gtest/gtest.h>

#include <vector>

namespace jpg2dds {
namespace {

constexpr Colour kOpaqueRed = 0xFF0000FF;
constexpr Colour kOpaqueBlue = 0xFFFF0000;

std::vector<ArgbWord> Pixels(const Surface& surface) {
  std::vector<ArgbWord> all(static_cast<size_t>(surface.width) * surface.height);
  for (int y = 0; y < surface.height; ++y) ReadStraightRow(surface, y, all.data() + y * surface.width);
  return all;
}

ArgbWord PixelAt(const Surface& surface, int x, int y) {
  std::vector<ArgbWord> row(surface.width);
  ReadStraightRow(surface, y, row.data());
  return row[x];
}

int Alpha(ArgbWord p) { return static_cast<int>(p >> 24); }
int Red(ArgbWord p) { return static_cast<int>((p >> 16) & 0xFF); }
int Green(ArgbWord p) { return static_cast<int>((p >> 8) & 0xFF); }
int Blue(ArgbWord p) { return static_cast<int>(p & 0xFF); }

struct SurfaceGuard {
  Surface surface;
  ~SurfaceGuard() { ReleaseSurface(surface); }
};

TEST(DrawingSurface, CreatedAndResizedSurfacesAreTransparent) {
  SurfaceGuard s;
  ASSERT_TRUE(CreateSurface(7, 5, s.surface));
  EXPECT_EQ(s.surface.width, 7);
  for (ArgbWord p : Pixels(s.surface)) EXPECT_EQ(p, 0u);

  FillSurface(s.surface, kOpaqueRed);
  ASSERT_TRUE(ResizeSurface(s.surface, 12, 3));
  EXPECT_EQ(s.surface.width, 12);
  EXPECT_EQ(s.surface.height, 3);
  for (ArgbWord p : Pixels(s.surface)) EXPECT_EQ(p, 0u);
}

TEST(DrawingSurface, CreationReportsFailure) {
  Surface s;
  EXPECT_FALSE(CreateSurface(-1, 4, s));
  EXPECT_EQ(s.pixels, nullptr);
  EXPECT_FALSE(CreateSurface(40000, 2, s));  // beyond the renderer's limit
  EXPECT_EQ(s.pixels, nullptr);
  ReleaseSurface(s);  // harmless on an empty surface
}

TEST(DrawingFill, WholeFillWritesEveryChannelWithoutBlending) {
  SurfaceGuard s;
  ASSERT_TRUE(CreateSurface(4, 4, s.surface));
  FillSurface(s.surface, kOpaqueBlue);
  FillSurface(s.surface, 0x800000FF);  // half-transparent red replaces, not blends
  for (ArgbWord p : Pixels(s.surface)) EXPECT_EQ(p, 0x80FF0000u);  // straight, not premultiplied (0x80800000)
  FillSurface(s.surface, 0x00FFFFFF);
  for (ArgbWord p : Pixels(s.surface)) EXPECT_EQ(p, 0u);
}

TEST(DrawingFill, RectangleCoversWholePixelsOnly) {
  SurfaceGuard s;
  ASSERT_TRUE(CreateSurface(10, 10, s.surface));
  FillRectangle(s.surface, 2, 3, 4, 5, kOpaqueRed);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
      EXPECT_EQ(PixelAt(s.surface, x, y), inside ? 0xFFFF0000u : 0u) << x << "," << y;
    }
  }
}

TEST(DrawingFill, OriginShiftsDrawingCoordinates) {
  SurfaceGuard s;
  ASSERT_TRUE(CreateSurface(4, 4, s.surface));
  s.surface.originX = 100;
  s.surface.originY = 50;
  FillRectangle(s.surface, 101, 52, 2, 1, kOpaqueRed);
  EXPECT_EQ(PixelAt(s.surface, 1, 2), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(s.surface, 2, 2), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(s.surface, 1, 1), 0u);
  EXPECT_EQ(PixelAt(s.surface, 3, 2), 0u);
}

TEST(DrawingFill, PolygonHasSmoothedEdgesAndSolidInside) {
  SurfaceGuard s;
  ASSERT_TRUE(CreateSurface(20, 20, s.surface));
  FillSurface(s.surface, kOpaqueBlue);
  const DrawPoint triangle[] = {{0, 0}, {20, 0}, {0, 20}};
  FillPolygon(s.surface, triangle, 3, kOpaqueRed);
  EXPECT_EQ(PixelAt(s.surface, 2, 2), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(s.surface, 18, 18), 0xFF0000FFu);
  // A pixel the diagonal cuts in half mixes both colours, still opaque.
  ArgbWord seam = PixelAt(s.surface, 10, 9);
  EXPECT_EQ(Alpha(seam), 255);
  EXPECT_GT(Red(seam), 40);
  EXPECT_GT(Blue(seam), 40);
}

TEST(DrawingCompose, ConstantAlphaBlendsOverTarget) {
  SurfaceGuard source, empty, blue;
  ASSERT_TRUE(CreateSurface(3, 3, source.surface));
  ASSERT_TRUE(CreateSurface(3, 3, empty.surface));
  ASSERT_TRUE(CreateSurface(3, 3, blue.surface));
  FillSurface(source.surface, kOpaqueRed);
  FillSurface(blue.surface, kOpaqueBlue);

  DrawSurfaceBlended(empty.surface, source.surface, 128);
  EXPECT_EQ(PixelAt(empty.surface, 1, 1), 0x80FF0000u);

  DrawSurfaceBlended(blue.surface, source.surface, 128);
  ArgbWord mixed = PixelAt(blue.surface, 1, 1);
  EXPECT_EQ(Alpha(mixed), 255);
  EXPECT_NEAR(Red(mixed), 128, 1);
  EXPECT_NEAR(Blue(mixed), 127, 1);
}

TEST(DrawingCompose, ReplacingWritesSourceWithScaledAlpha) {
  SurfaceGuard source, target;
  ASSERT_TRUE(CreateSurface(2, 2, source.surface));
  ASSERT_TRUE(CreateSurface(3, 3, target.surface));
  FillSurface(source.surface, 0xC800FF00);  // green, alpha 200
  FillSurface(target.surface, kOpaqueBlue);

  DrawSurfaceReplacing(target.surface, source.surface, 255);
  EXPECT_EQ(PixelAt(target.surface, 0, 0), 0xC800FF00u);
  EXPECT_EQ(PixelAt(target.surface, 2, 2), 0xFF0000FFu);  // beyond the source: untouched

  FillSurface(target.surface, kOpaqueBlue);
  DrawSurfaceReplacing(target.surface, source.surface, 128);
  ArgbWord p = PixelAt(target.surface, 1, 1);
  EXPECT_EQ(Alpha(p), 100);
  EXPECT_NEAR(Green(p), 255, 1);
  EXPECT_EQ(Blue(p), 0);  // no trace of the blue underneath
}

Colour SwapRedBlue(Colour p) { return (p & 0xFF00FF00u) | ((p >> 16) & 0xFF) | ((p & 0xFF) << 16); }

TEST(DrawingCompose, FilterSeesStraightPixelAfterAlpha) {
  SurfaceGuard source, target;
  ASSERT_TRUE(CreateSurface(2, 1, source.surface));
  ASSERT_TRUE(CreateSurface(2, 1, target.surface));
  FillSurface(source.surface, kOpaqueRed);
  FillSurface(target.surface, 0xFF00FF00);
  DrawSurfaceFiltered(target.surface, source.surface, 255, SwapRedBlue);
  EXPECT_EQ(PixelAt(target.surface, 0, 0), 0xFF0000FFu);
  DrawSurfaceFiltered(target.surface, source.surface, 51, SwapRedBlue);
  EXPECT_EQ(PixelAt(target.surface, 1, 0), 0x330000FFu);
}

TEST(DrawingRows, FadingARowWritesWhatDrawingASurfaceWrites) {
  // Every alpha with colours that round differently when premultiplied.
  std::vector<ArgbWord> pixels;
  for (uint32_t a = 0; a < 256; ++a) {
    for (uint32_t rgb : {0x000000u, 0xFFFFFFu, 0x010203u, 0x7F80FEu, 0xC81E64u}) pixels.push_back(a << 24 | rgb);
  }
  const int count = static_cast<int>(pixels.size());
  for (PixelFilter filter : {static_cast<PixelFilter>(nullptr), SwapRedBlue}) {
    for (int alpha : {0, 1, 77, 128, 254, 255}) {
      SurfaceGuard source, target;
      ASSERT_TRUE(CreateSurface(count, 1, source.surface));
      ASSERT_TRUE(CreateSurface(count, 1, target.surface));
      WriteStraightRow(source.surface, 0, pixels.data());
      if (filter) {
        DrawSurfaceFiltered(target.surface, source.surface, alpha, filter);
      } else {
        DrawSurfaceReplacing(target.surface, source.surface, alpha);
      }
      std::vector<ArgbWord> drawn(count), faded = pixels;
      ReadStraightRow(target.surface, 0, drawn.data());
      FadeStraightRow(faded.data(), count, alpha, filter);
      EXPECT_TRUE(drawn == faded) << "alpha " << alpha << (filter ? " filtered" : "");
    }
  }
}

TEST(DrawingRows, StraightRowsRoundTrip) {
  SurfaceGuard s;
  ASSERT_TRUE(CreateSurface(4, 2, s.surface));
  const ArgbWord row[] = {0xFF123456u, 0x80FF8000u, 0x00000000u, 0x01000000u};
  WriteStraightRow(s.surface, 1, row);
  std::vector<ArgbWord> back(4);
  ReadStraightRow(s.surface, 1, back.data());
  EXPECT_EQ(back[0], row[0]);
  EXPECT_EQ(back[1], row[1]);
  EXPECT_EQ(back[2], 0u);
  EXPECT_EQ(back[3], row[3]);
  ReadStraightRow(s.surface, 0, back.data());
  for (ArgbWord p : back) EXPECT_EQ(p, 0u);
}

}  // namespace
}  // namespace jpg2dds
