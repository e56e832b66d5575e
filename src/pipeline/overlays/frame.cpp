#include "pipeline/overlays/frame.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "pipeline/overlays/overlay_bitmap.h"
#include "pipeline/overlays/surface_pieces.h"
#include "pipeline/step_contract.h"
#include "platform/drawing.h"
#include "settings/hex_colors.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

// The frame band: corner rectangles first, then the four sides as polygons
// meeting on the corner diagonals. The rectangles lie under the diagonals so
// no picture shows through the smoothed seam.
// FreeImage_Paste copies pixels as they are only above 255; at 255 it still
// blends at 255/256.
constexpr int kPasteCopy = 256;

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

// Every side and corner shape lies inside its own side's band, so these four
// disjoint rectangles hold everything the frame paints; the rest of the
// overlay would be transparent and leave the picture as it is. Working on
// them alone keeps the step's cost to the band instead of four full-size
// buffers.
std::vector<Piece> BandPieces(int w, int h, const ConversionSettings& settings) {
  const int top = static_cast<int>(std::clamp<int64_t>(settings.solidTop, 0, h));
  const int bottom = static_cast<int>(std::clamp<int64_t>(int64_t{h} - settings.solidBottom, top, h));
  const int left = static_cast<int>(std::clamp<int64_t>(settings.solidLeft, 0, w));
  const int right = static_cast<int>(std::clamp<int64_t>(int64_t{w} - settings.solidRight, left, w));
  std::vector<Piece> pieces;
  const Piece all[] = {{0, 0, w, top}, {0, bottom, w, h - bottom}, {0, top, left, bottom - top},
                       {right, top, w - right, bottom - top}};
  for (const Piece& band : all) {
    // A band longer than a drawing surface may be is drawn in several.
    for (const Piece& piece : SurfacePieces(band)) pieces.push_back(piece);
  }
  return pieces;
}

// Draws the frame's part inside `piece`, with the frame's opacity, and lays
// it over that part of the picture. Anything that cannot be made leaves
// that part without a frame.
void FramePiece(FIBITMAP* picture, const Piece& piece, int w, int h, const ConversionSettings& settings) {
  Surface band;
  if (!CreateSurface(piece.width, piece.height, band)) return;
  band.originX = piece.x;
  band.originY = piece.y;
  DrawFrameBand(band, w, h, settings);
  Surface faded;
  bool made = CreateSurface(piece.width, piece.height, faded);
  if (made) DrawSurfaceBlended(faded, band, settings.solidOpacity);
  ReleaseSurface(band);
  if (!made) return;
  FIBITMAP* overlay = SurfaceToBitmap(faded);
  ReleaseSurface(faded);
  if (!overlay) return;
  FIBITMAP* under = FreeImage_Copy(picture, piece.x, piece.y, piece.x + piece.width, piece.y + piece.height);
  FIBITMAP* framed = under ? FreeImage_Composite(overlay, FALSE, nullptr, under) : nullptr;
  if (framed) FreeImage_Paste(picture, framed, piece.x, piece.y, kPasteCopy);
  if (framed) FreeImage_Unload(framed);
  if (under) FreeImage_Unload(under);
  FreeImage_Unload(overlay);
}

}  // namespace

FIBITMAP* ApplyFrame(FIBITMAP* picture, int width, int height, const ConversionSettings& settings) {
  if (!picture || settings.doFrame == choice::kFrameNone) return picture;
  if (FreeImage_GetBPP(picture) != 24) {
    picture = ReplaceWith24Bits(picture);
    if (!picture) return nullptr;
  }
  if (settings.doFrame != choice::kFrameSolid) return picture;
  if (static_cast<int>(FreeImage_GetWidth(picture)) != width ||
      static_cast<int>(FreeImage_GetHeight(picture)) != height) {
    return picture;  // the overlay could not be laid over it
  }
  return DrawOrFail(picture, [&](FIBITMAP* framed) {
    for (const Piece& piece : BandPieces(width, height, settings)) FramePiece(framed, piece, width, height, settings);
  });
}

}  // namespace jpg2dds
