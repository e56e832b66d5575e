#include "pipeline/overlays/text_watermark.h"

#include <gtest/gtest.h>

#include "settings/keywords.h"
#include "testing/overlay_test_pictures.h"

namespace jpg2dds {
namespace {

using test_pictures::PixelAt;

struct FontGuard {
  WatermarkFont* font;
  explicit FontGuard(const FontRequest& request) : font(CreateWatermarkFont(request)) {}
  ~FontGuard() { ReleaseWatermarkFont(font); }
};

ConversionSettings TextSettings(const std::string& text) {
  ConversionSettings s;
  ApplyDefaults(s, DefaultsVariant::kConsole, 0, 0);
  s.doWatermark = choice::kWatermarkText;
  s.text = text;
  return s;
}

TEST(AlignLine, ByAlignmentAndPadding) {
  ConversionSettings s = TextSettings("");
  s.textPadding = 5;
  s.textAlignment = choice::kAlignCenter;
  EXPECT_EQ(AlignLine(50, 91, s), 21);  // 20.5 rounds away from zero
  EXPECT_EQ(AlignLine(81, 91, s), 5);
  EXPECT_EQ(AlignLine(12, 9, s), -2);   // -1.5 too
  s.textAlignment = choice::kAlignLeft;
  EXPECT_EQ(AlignLine(50, 91, s), 5);
  s.textAlignment = choice::kAlignRight;
  EXPECT_EQ(AlignLine(50, 91, s), 36);
  s.textAlignment = 7;
  EXPECT_EQ(AlignLine(50, 91, s), 0);
}

TEST(WatermarkFontRequest, StyleAndEffectFlags) {
  ConversionSettings s = TextSettings("");
  s.font = "Times New Roman";
  s.fontSize = 22;
  s.fontStyle = choice::kStyleBoldItalic;
  s.fontEffect = choice::kEffectStrikeThrough;
  FontRequest r = WatermarkFontRequest(s);
  EXPECT_EQ(r.face, "Times New Roman");
  EXPECT_EQ(r.points, 22);
  EXPECT_TRUE(r.bold && r.italic && r.strikeOut);
  EXPECT_FALSE(r.underline);
  s.fontStyle = choice::kStyleItalic;
  s.fontEffect = choice::kEffectUnderline;
  r = WatermarkFontRequest(s);
  EXPECT_TRUE(!r.bold && r.italic && r.underline && !r.strikeOut);
}

// Rows holding any pixel of the given alpha.
std::vector<int> RowsWithAlpha(FIBITMAP* overlay, int alpha) {
  std::vector<int> rows;
  for (int y = 0; y < static_cast<int>(FreeImage_GetHeight(overlay)); ++y) {
    for (int x = 0; x < static_cast<int>(FreeImage_GetWidth(overlay)); ++x) {
      if (PixelAt(overlay, x, y).a == alpha) {
        rows.push_back(y);
        break;
      }
    }
  }
  return rows;
}

TEST(RenderTextWatermark, LinesSpacedByTheTenPixelMinimumPlusLeading) {
  FontGuard small({"Arial", 5});
  ASSERT_NE(small.font, nullptr);
  TextExtent cell;
  ASSERT_TRUE(MeasurePlainText(small.font, "H", cell));
  ASSERT_LT(cell.height, 10);  // the minimum must matter for this case

  ConversionSettings s = TextSettings("H%EOL%H");
  s.textPadding = 3;
  s.fontLeading = 4;
  s.backOpacity = 0;
  ConversionJob job;
  FIBITMAP* two = RenderTextWatermark(s, job, small.font, kWholeOverlay);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(FreeImage_GetHeight(two), 10u + (10 + 4) + 2 * 3);
  std::vector<int> ink = RowsWithAlpha(two, 255);
  ASSERT_FALSE(ink.empty());
  // The second H starts exactly one step (10 + leading) below the first.
  int firstTop = ink.front(), secondTop = -1;
  for (int y : ink) {
    if (y >= firstTop + cell.height) {
      secondTop = y;
      break;
    }
  }
  EXPECT_EQ(secondTop - firstTop, 14);

  for (const char* text : {"H%eol%H", "H%EoL%H"}) {
    s.text = text;
    FIBITMAP* same = RenderTextWatermark(s, job, small.font, kWholeOverlay);
    ASSERT_NE(same, nullptr);
    EXPECT_EQ(FreeImage_GetHeight(same), FreeImage_GetHeight(two)) << text;
    EXPECT_EQ(RowsWithAlpha(same, 255), ink) << text;
    FreeImage_Unload(same);
  }
  FreeImage_Unload(two);

  s.text = "H";  // one line: no minimum
  FIBITMAP* one = RenderTextWatermark(s, job, small.font, kWholeOverlay);
  EXPECT_EQ(FreeImage_GetHeight(one), static_cast<unsigned>(cell.height + 6));
  EXPECT_EQ(FreeImage_GetWidth(one), static_cast<unsigned>(cell.width + 6));
  FreeImage_Unload(one);
}

TEST(RenderTextWatermark, PlainModeWritesTextAndBackgroundAlphas) {
  FontGuard font({"Arial", 14});
  ConversionSettings s = TextSettings("Brightmill");
  s.fontColor = "FFFF00";
  s.textOpacity = 200;
  s.backColor = "0000FF";
  s.backOpacity = 60;
  ConversionJob job;
  FIBITMAP* overlay = RenderTextWatermark(s, job, font.font, kWholeOverlay);
  ASSERT_NE(overlay, nullptr);
  int text = 0, back = 0, other = 0;
  for (int y = 0; y < static_cast<int>(FreeImage_GetHeight(overlay)); ++y) {
    for (int x = 0; x < static_cast<int>(FreeImage_GetWidth(overlay)); ++x) {
      test_pictures::Rgba p = PixelAt(overlay, x, y);
      if (test_pictures::Same(p, {255, 255, 0, 200})) {
        ++text;
      } else if (test_pictures::Same(p, {0, 0, 255, 60})) {
        ++back;
      } else {
        ++other;
      }
    }
  }
  EXPECT_GT(text, 20);
  EXPECT_GT(back, text);
  EXPECT_EQ(other, 0);
  FreeImage_Unload(overlay);
}

TEST(RenderTextWatermark, SmoothModeComposesBackgroundAndTextOpacities) {
  FontGuard font({"Arial", 20});
  ConversionSettings s = TextSettings("Wm");
  s.textAntialiasing = 1;
  s.textPadding = 4;
  s.fontColor = "FFFFFF";
  s.textOpacity = 255;
  s.backColor = "000000";
  s.backOpacity = 128;
  ConversionJob job;
  FIBITMAP* overlay = RenderTextWatermark(s, job, font.font, kWholeOverlay);
  ASSERT_NE(overlay, nullptr);
  // The padding holds only the background at its opacity.
  EXPECT_TRUE(test_pictures::Same(PixelAt(overlay, 1, 1), {0, 0, 0, 128}));
  int white = 0, grey = 0;
  for (int y = 0; y < static_cast<int>(FreeImage_GetHeight(overlay)); ++y) {
    for (int x = 0; x < static_cast<int>(FreeImage_GetWidth(overlay)); ++x) {
      test_pictures::Rgba p = PixelAt(overlay, x, y);
      white += p.r == 255 && p.a == 255;
      grey += p.r > 20 && p.r < 235;  // smoothed glyph edges
    }
  }
  EXPECT_GT(white, 10);
  EXPECT_GT(grey, 10);
  FreeImage_Unload(overlay);
}

TEST(RenderTextWatermark, NothingWithoutFontOrSize) {
  ConversionSettings s = TextSettings("x");
  ConversionJob job;
  EXPECT_EQ(RenderTextWatermark(s, job, nullptr, kWholeOverlay), nullptr);
  FontGuard font({"Arial", 14});
  s.text = "";
  EXPECT_EQ(RenderTextWatermark(s, job, font.font, kWholeOverlay), nullptr);  // a block 0 pixels wide
  s.text = "x";
  s.textPadding = -100;
  EXPECT_EQ(RenderTextWatermark(s, job, font.font, kWholeOverlay), nullptr);
}

}  // namespace
}  // namespace jpg2dds
