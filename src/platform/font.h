// The watermark font: one cairo/FreeType font face chosen through
// fontconfig, with its size in pixels and its decorations, and the text
// operations drawn with it.
#pragma once
#include <string>

#include "platform/drawing.h"

namespace jpg2dds {

struct WatermarkFont;

struct FontRequest {
  std::string face;
  int points = 14;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

// Null when no font can be made at all; a missing face is substituted.
WatermarkFont* CreateWatermarkFont(const FontRequest& request);
void ReleaseWatermarkFont(WatermarkFont* font);

struct TextExtent {
  int width = 0;
  int height = 0;
};

// Plain text metrics in whole pixels: the advance width of the string and
// the font's cell height (ascent + descent). False when the font cannot
// measure (then the extent is left as it was).
bool MeasurePlainText(const WatermarkFont* font, const std::string& text, TextExtent& extent);

// Unsmoothed glyphs in `text` colour on a cell of `background` colour, with
// its top-left corner at (x, y); all four channels are written, nothing is
// blended with what was there.
void DrawPlainText(Surface& surface, int x, int y, const std::string& text, const WatermarkFont* font,
                   Colour foreground, Colour background);

// Advance width of the string as smoothed vector text of the same face and size.
double MeasureVectorTextWidth(const WatermarkFont* font, const std::string& text);

// Smoothed (grey antialiased) text with its top-left corner at (x, y),
// blended over what is there.
void DrawSmoothText(Surface& surface, double x, double y, const std::string& text, const WatermarkFont* font,
                    Colour colour);

}  // namespace jpg2dds
