#include "platform/font.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace jpg2dds {
namespace {

struct FontGuard {
  WatermarkFont* font;
  explicit FontGuard(const FontRequest& request) : font(CreateWatermarkFont(request)) {}
  ~FontGuard() { ReleaseWatermarkFont(font); }
};

struct SurfaceGuard {
  Surface surface;
  ~SurfaceGuard() { ReleaseSurface(surface); }
};

std::vector<ArgbWord> Row(const Surface& s, int y) {
  std::vector<ArgbWord> row(s.width);
  ReadStraightRow(s, y, row.data());
  return row;
}

TEST(WatermarkFont, MissingFaceIsSubstituted) {
  FontGuard arial({"Arial", 14});
  FontGuard unknown({"No Such Face 4711", 14});
  ASSERT_NE(arial.font, nullptr);
  ASSERT_NE(unknown.font, nullptr);
  TextExtent extent;
  ASSERT_TRUE(MeasurePlainText(unknown.font, "Brightmill", extent));
  EXPECT_GT(extent.width, 0);
}

TEST(WatermarkFont, SizeInPointsAt96Dpi) {
  FontGuard small({"Arial", 6});  // 8 pixels
  FontGuard large({"Arial", 48});  // 64 pixels
  TextExtent a, b;
  ASSERT_TRUE(MeasurePlainText(small.font, "Hg", a));
  ASSERT_TRUE(MeasurePlainText(large.font, "Hg", b));
  // A cell is ascent + descent, a little more than the em size.
  EXPECT_GE(a.height, 8);
  EXPECT_LE(a.height, 11);
  EXPECT_GE(b.height, 64);
  EXPECT_LE(b.height, 78);
  EXPECT_GT(b.width, 6 * a.width);
}

TEST(WatermarkFont, PlainMetricsAreWholePixelsAndStableOnBadText) {
  FontGuard f({"Arial", 14});
  TextExtent one, two, empty;
  ASSERT_TRUE(MeasurePlainText(f.font, "W", one));
  ASSERT_TRUE(MeasurePlainText(f.font, "WW", two));
  EXPECT_EQ(two.width, 2 * one.width);  // hinted advances: whole pixels
  ASSERT_TRUE(MeasurePlainText(f.font, "", empty));
  EXPECT_EQ(empty.width, 0);
  EXPECT_EQ(empty.height, one.height);
  // A legacy-encoded byte must not put the font out of use.
  TextExtent legacy, after;
  EXPECT_TRUE(MeasurePlainText(f.font, "caf\xE9", legacy));
  ASSERT_TRUE(MeasurePlainText(f.font, "W", after));
  EXPECT_EQ(after.width, one.width);
}

TEST(WatermarkFont, BoldIsWider) {
  FontGuard regular({"Arial", 20});
  FontGuard bold({"Arial", 20, true});
  TextExtent r, b;
  ASSERT_TRUE(MeasurePlainText(regular.font, "Brightmill watermark", r));
  ASSERT_TRUE(MeasurePlainText(bold.font, "Brightmill watermark", b));
  EXPECT_GT(b.width, r.width);
}

TEST(PlainText, GlyphsAndCellWriteExactColoursWithoutBlending) {
  FontGuard f({"Arial", 14});
  SurfaceGuard s;
  ASSERT_TRUE(CreateSurface(120, 40, s.surface));
  FillSurface(s.surface, 0xFF00FF00);
  const Colour fg = 0xC8FFFFFF, bg = 0x1E0000FF;  // white 200, red 30
  DrawPlainText(s.surface, 5, 6, "Ag", f.font, fg, bg);
  TextExtent cell;
  ASSERT_TRUE(MeasurePlainText(f.font, "Ag", cell));
  std::set<ArgbWord> seen;
  for (int y = 0; y < 40; ++y) {
    std::vector<ArgbWord> row = Row(s.surface, y);
    for (int x = 0; x < 120; ++x) {
      bool inCell = x >= 5 && x < 5 + cell.width && y >= 6 && y < 6 + cell.height;
      if (!inCell) {
        EXPECT_EQ(row[x], 0xFF00FF00u) << x << "," << y;
      } else {
        seen.insert(row[x]);
      }
    }
  }
  // Only the two colours, as given (straight): no smoothing, no blending.
  EXPECT_EQ(seen, (std::set<ArgbWord>{0xC8FFFFFFu, 0x1EFF0000u}));
}

int InkedRows(const Surface& s) {
  int rows = 0;
  for (int y = 0; y < s.height; ++y) {
    for (ArgbWord p : Row(s, y)) {
      if (p >> 24) {
        ++rows;
        break;
      }
    }
  }
  return rows;
}

TEST(PlainText, UnderlineAndStrikeOutAreDrawn) {
  FontGuard plain({"Arial", 20});
  FontGuard underlined({"Arial", 20, false, false, true});
  FontGuard struck({"Arial", 20, false, false, false, true});
  SurfaceGuard a, b, c;
  for (Surface* s : {&a.surface, &b.surface, &c.surface}) ASSERT_TRUE(CreateSurface(100, 40, *s));
  DrawPlainText(a.surface, 0, 0, "oo", plain.font, 0xFF000000, 0);
  DrawPlainText(b.surface, 0, 0, "oo", underlined.font, 0xFF000000, 0);
  DrawPlainText(c.surface, 0, 0, "oo", struck.font, 0xFF000000, 0);
  // "o" has no descender: the underline adds rows below the baseline.
  EXPECT_GT(InkedRows(b.surface), InkedRows(a.surface));
  // The strike-out crosses the gap between the two letters.
  TextExtent o;
  ASSERT_TRUE(MeasurePlainText(plain.font, "o", o));
  int gapInk = 0, gapInkStruck = 0;
  for (int y = 0; y < 40; ++y) {
    gapInk += (Row(a.surface, y)[o.width] >> 24) != 0;
    gapInkStruck += (Row(c.surface, y)[o.width] >> 24) != 0;
  }
  EXPECT_GT(gapInkStruck, gapInk);
}

TEST(SmoothText, IsAntialiasedAndPlacedByItsTopLeft) {
  FontGuard f({"Arial", 20});
  SurfaceGuard s;
  ASSERT_TRUE(CreateSurface(120, 60, s.surface));
  DrawSmoothText(s.surface, 10, 20, "Bo", f.font, 0xFF000000);
  int partial = 0, top = -1;
  for (int y = 0; y < 60; ++y) {
    for (ArgbWord p : Row(s.surface, y)) {
      int alpha = static_cast<int>(p >> 24);
      if (alpha > 0 && top < 0) top = y;
      partial += alpha > 0 && alpha < 255;
    }
  }
  EXPECT_GT(partial, 0);
  // The capital's top sits a little below the cell's top, never above it.
  EXPECT_GE(top, 20);
  EXPECT_LE(top, 26);
  // Same face and size: vector and plain widths differ only by hinting.
  TextExtent plain;
  ASSERT_TRUE(MeasurePlainText(f.font, "Bo", plain));
  EXPECT_NEAR(MeasureVectorTextWidth(f.font, "Bo"), plain.width, 2.0);
}

}  // namespace
}  // namespace jpg2dds
