#include "pipeline/overlays/text_watermark.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "naming/filename_mask.h"
#include "pipeline/load/picture_limits.h"
#include "pipeline/overlays/overlay_bitmap.h"
#include "pipeline/overlays/surface_pieces.h"
#include "settings/hex_colors.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

constexpr int kMinimumLineSize = 10;

bool IsLineBreakAt(const std::string& text, size_t at) {
  static const char kBreak[] = "%eol%";
  if (at + 5 > text.size()) return false;
  for (size_t k = 0; k < 5; ++k) {
    char c = text[at + k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kBreak[k]) return false;
  }
  return true;
}

// The text split at every "%eol%" written in any case.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size();) {
    if (IsLineBreakAt(text, i)) {
      lines.emplace_back();
      i += 5;
    } else {
      lines.back() += text[i++];
    }
  }
  return lines;
}

struct TextBlock {
  std::vector<std::string> lines;
  std::vector<int> plainWidths;
  int64_t width = 0;   // with padding
  int64_t height = 0;  // with padding
  int64_t step = 0;    // from one line's top to the next one's
};

TextBlock MeasureBlock(const std::string& text, const ConversionSettings& settings, const WatermarkFont* font) {
  TextBlock block;
  block.lines = SplitLines(text);
  const size_t breaks = block.lines.size() - 1;
  int64_t width = kMinimumLineSize, height = kMinimumLineSize;
  bool measured = true;
  if (breaks == 0) {
    TextExtent extent;
    measured = MeasurePlainText(font, text, extent);
    block.plainWidths.push_back(extent.width);
    if (measured) width = extent.width, height = extent.height;
  } else {
    int widest = kMinimumLineSize, tallest = kMinimumLineSize;
    for (const std::string& line : block.lines) {
      TextExtent extent;
      measured = measured && MeasurePlainText(font, line, extent);
      block.plainWidths.push_back(extent.width);
      widest = std::max(widest, extent.width);
      tallest = std::max(tallest, extent.height);
    }
    block.step = int64_t{tallest} + settings.fontLeading;
    if (measured) width = widest, height = tallest + static_cast<int64_t>(breaks) * block.step;
  }
  block.width = width + 2 * int64_t{settings.textPadding};
  block.height = height + 2 * int64_t{settings.textPadding};
  return block;
}

// Line i's position inside the block; `width` is the line's width as drawn.
int64_t LineX(const TextBlock& block, int width, const ConversionSettings& settings) {
  if (block.lines.size() == 1) return settings.textPadding;
  // A block wider than that shows only its background: every line then starts beyond the picture.
  return AlignLine(width, static_cast<int>(std::min<int64_t>(block.width, INT_MAX)), settings);
}

int64_t LineY(const TextBlock& block, size_t line, const ConversionSettings& settings) {
  return settings.textPadding + static_cast<int64_t>(line) * block.step;
}

// Lines that would start beyond the drawing range are left out rather than
// wrapped into int.
bool Drawable(int64_t x, int64_t y) { return x >= INT_MIN && x <= INT_MAX && y >= INT_MIN && y <= INT_MAX; }

// Plain mode: background and glyphs written with their own alphas, all four
// channels, nothing blended; the block itself is the overlay.
void DrawPlainBlock(Surface& block, const TextBlock& text, const ConversionSettings& settings,
                    const WatermarkFont* font) {
  const Colour fg = ParseHexColorAlpha(settings.fontColor, settings.textOpacity);
  const Colour bg = ParseHexColorAlpha(settings.backColor, settings.backOpacity);
  FillSurface(block, bg);
  for (size_t i = 0; i < text.lines.size(); ++i) {
    int64_t x = LineX(text, text.plainWidths[i], settings), y = LineY(text, i, settings);
    if (Drawable(x, y)) DrawPlainText(block, static_cast<int>(x), static_cast<int>(y), text.lines[i], font, fg, bg);
  }
}

// Smoothed mode: opaque background and smoothed text drawn apart, then laid
// onto the overlay each with its own constant opacity.
bool DrawSmoothBlock(Surface& glyphs, Surface& overlay, const TextBlock& text, const ConversionSettings& settings,
                     const WatermarkFont* font) {
  const int width = glyphs.width, height = glyphs.height;
  Surface background;
  if (!CreateSurface(width, height, background)) return false;
  FillSurface(background, ParseHexColorAlpha(settings.backColor, 255));
  const Colour fg = ParseHexColorAlpha(settings.fontColor, 255);
  for (size_t i = 0; i < text.lines.size(); ++i) {
    int vectorWidth = static_cast<int>(std::lround(MeasureVectorTextWidth(font, text.lines[i])));
    int64_t x = LineX(text, vectorWidth, settings), y = LineY(text, i, settings);
    if (Drawable(x, y)) DrawSmoothText(glyphs, static_cast<double>(x), static_cast<double>(y), text.lines[i], font, fg);
  }
  bool made = CreateSurface(width, height, overlay);
  if (made) {
    DrawSurfaceBlended(overlay, background, settings.backOpacity);
    DrawSurfaceBlended(overlay, glyphs, settings.textOpacity);
  }
  ReleaseSurface(background);
  return made;
}

// Draws the part `piece` of the block into the overlay; false when a surface
// cannot be made.
bool DrawBlockPiece(FIBITMAP* overlay, const Piece& piece, const TextBlock& text, const ConversionSettings& settings,
                    const WatermarkFont* font) {
  Surface glyphs;
  if (!CreateSurface(piece.width, piece.height, glyphs)) return false;
  glyphs.originX = piece.x;
  glyphs.originY = piece.y;
  bool drawn = true;
  if (!settings.textAntialiasing) {
    DrawPlainBlock(glyphs, text, settings, font);
    SurfaceIntoBitmap(glyphs, overlay, piece.x, piece.y);
  } else {
    Surface composed;
    drawn = DrawSmoothBlock(glyphs, composed, text, settings, font);
    if (drawn) SurfaceIntoBitmap(composed, overlay, piece.x, piece.y);
    ReleaseSurface(composed);
  }
  ReleaseSurface(glyphs);
  return drawn;
}

}  // namespace

FontRequest WatermarkFontRequest(const ConversionSettings& settings) {
  FontRequest request;
  request.face = settings.font;
  request.points = settings.fontSize;
  request.bold = settings.fontStyle == choice::kStyleBold || settings.fontStyle == choice::kStyleBoldItalic;
  request.italic = settings.fontStyle == choice::kStyleItalic || settings.fontStyle == choice::kStyleBoldItalic;
  request.underline = settings.fontEffect == choice::kEffectUnderline;
  request.strikeOut = settings.fontEffect == choice::kEffectStrikeThrough;
  return request;
}

int AlignLine(int lineWidth, int blockWidth, const ConversionSettings& settings) {
  const int64_t room = int64_t{blockWidth} - lineWidth;
  int64_t x = 0;
  switch (settings.textAlignment) {
    case choice::kAlignLeft: x = settings.textPadding; break;
    case choice::kAlignCenter: x = room >= 0 ? (room + 1) / 2 : -((-room + 1) / 2); break;
    case choice::kAlignRight: x = room - settings.textPadding; break;
    default: break;
  }
  return static_cast<int>(std::clamp<int64_t>(x, INT_MIN, INT_MAX));
}

FIBITMAP* RenderTextWatermark(const ConversionSettings& settings, const ConversionJob& job, const WatermarkFont* font,
                              OverlaySize keep) {
  if (!font) return nullptr;
  const TextBlock block = MeasureBlock(ExpandWatermarkText(settings, job), settings, font);
  // Only the part that can show is drawn, and in pieces where it is larger
  // than one drawing surface may be.
  const int64_t width = std::min(block.width, keep.width), height = std::min(block.height, keep.height);
  if (width <= 0 || height <= 0 || !FitsPictureLimit(width, height)) return nullptr;
  FIBITMAP* overlay = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 32, FI_RGBA_RED_MASK,
                                         FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
  if (!overlay) return nullptr;
  for (const Piece& piece : SurfacePieces({0, 0, static_cast<int>(width), static_cast<int>(height)})) {
    if (!DrawBlockPiece(overlay, piece, block, settings, font)) {
      FreeImage_Unload(overlay);
      return nullptr;
    }
  }
  return overlay;
}

}  // namespace jpg2dds
