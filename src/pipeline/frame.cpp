#include "pipeline/frame.h"

#include <algorithm>
#include <cstdint>

#include "pipeline/colors.h"
#include "pipeline/overlay_bitmap.h"
#include "platform/drawing.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

// The frame band: corner rectangles first, then the four sides as polygons
// meeting on the corner diagonals. The rectangles lie under the diagonals so
// no picture shows through the smoothed seam.
// Widths are not checked against the picture and may be anything a 32-bit
// setting holds; kept within the renderer's exact coordinate range (and out
// of integer overflow) they still cover the whole picture.
int DrawableWidth(int32_t width) { return static_cast<int>(std::clamp<int32_t>(width, -(1 << 22), 1 << 22)); }

void DrawFrameBand(Surface& band, int w, int h, const ConversionSettings& settings) {
  const int l = DrawableWidth(settings.solidLeft), r = DrawableWidth(settings.solidRight);
  const int t = DrawableWidth(settings.solidTop), b = DrawableWidth(settings.solidBottom);
  const Colour left = ParseHexColorAlpha(settings.solidLeftColor, 255);
  const Colour right = ParseHexColorAlpha(settings.solidRightColor, 255);
  const Colour top = ParseHexColorAlpha(settings.solidTopColor, 255);
  const Colour bottom = ParseHexColorAlpha(settings.solidBottomColor, 255);

  FillRectangle(band, 0, 0, l, t, top);
  FillRectangle(band, w - r, 0, r, t, right);
  FillRectangle(band, w - r, h - b, r, b, bottom);
  FillRectangle(band, 0, h - b, l, b, left);

  const double W = w, H = h, L = l, R = r, T = t, B = b;
  const DrawPoint topSide[] = {{0, 0}, {W, 0}, {W - R, T}, {L, T}};
  const DrawPoint rightSide[] = {{W, 0}, {W, H}, {W - R, H - B}, {W - R, T}};
  const DrawPoint bottomSide[] = {{W, H}, {0, H}, {L, H - B}, {W - R, H - B}};
  const DrawPoint leftSide[] = {{0, H}, {0, 0}, {L, T}, {L, H - B}};
  FillPolygon(band, topSide, 4, top);
  FillPolygon(band, rightSide, 4, right);
  FillPolygon(band, bottomSide, 4, bottom);
  FillPolygon(band, leftSide, 4, left);
}

}  // namespace

FIBITMAP* ApplyFrame(FIBITMAP* picture, int width, int height, const ConversionSettings& settings) {
  if (!picture || settings.doFrame == choice::kFrameNone) return picture;
  if (FreeImage_GetBPP(picture) != 24) {
    FIBITMAP* converted = FreeImage_ConvertTo24Bits(picture);
    FreeImage_Unload(picture);
    picture = converted;
    if (!picture) return nullptr;
  }
  if (settings.doFrame != choice::kFrameSolid) return picture;

  Surface band;
  if (!CreateSurface(width, height, band)) return picture;
  DrawFrameBand(band, width, height, settings);

  Surface faded;
  if (!CreateSurface(width, height, faded)) {
    ReleaseSurface(band);
    return picture;
  }
  DrawSurfaceBlended(faded, band, settings.solidOpacity);
  ReleaseSurface(band);

  FIBITMAP* overlay = SurfaceToBitmap(faded);
  ReleaseSurface(faded);
  if (overlay) {
    FIBITMAP* framed = FreeImage_Composite(overlay, FALSE, nullptr, picture);
    FreeImage_Unload(overlay);
    if (framed) {
      FreeImage_Unload(picture);
      picture = framed;
    }
  }
  return picture;
}

}  // namespace jpg2dds
