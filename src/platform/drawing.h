// Off-screen drawing surfaces for the frame and the watermarks: cairo image
// surfaces, premultiplied inside, straight alpha wherever pixels leave.
#pragma once
#include <cairo.h>

#include <cstdint>

namespace jpg2dds {

// cairo's image surfaces hold at most this many pixels a side; a larger
// drawing is made in pieces (see Surface's origin).
inline constexpr int kMaxSurfaceSide = 32767;

// A width x height surface of 32-bit pixels. Fills, polygons and text are
// given in coordinates whose (originX, originY) is the top-left pixel, so a
// surface can hold one piece of a larger drawing; (0, 0) unless set.
struct Surface {
  cairo_surface_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int originX = 0;
  int originY = 0;
};

// Colours are 32 bits: red in the lowest byte, then green, blue, alpha in
// the top byte (the form ParseHexColorAlpha gives).
using Colour = uint32_t;

// Rows handed in and out are straight (not premultiplied) 32-bit words
// 0xAARRGGBB, one per pixel, in native byte order.
using ArgbWord = uint32_t;

struct DrawPoint {
  double x;
  double y;
};

// Receives a straight source pixel (alpha already multiplied by the draw's
// constant alpha) and returns the pixel to write.
using PixelFilter = Colour (*)(Colour pixel);

// A fully transparent surface; false (and an empty surface) when it cannot be made.
bool CreateSurface(int width, int height, Surface& surface);

// Replaces the surface by a fully transparent one of the new size; false
// (and an empty surface) when that cannot be made.
bool ResizeSurface(Surface& surface, int width, int height);

// Frees the pixels; the surface becomes empty. Safe on an empty surface.
void ReleaseSurface(Surface& surface);

// Every pixel becomes the colour, alpha included (no blending).
void FillSurface(Surface& surface, Colour colour);

// Whole pixels, no smoothing, painted over what is there.
void FillRectangle(Surface& surface, int x, int y, int width, int height, Colour colour);

// Closed polygon with smoothed edges, painted over what is there.
void FillPolygon(Surface& surface, const DrawPoint* points, int count, Colour colour);

// Source drawn at (0, 0): its pixels replace the target's unchanged.
void DrawSurfaceCopy(Surface& target, const Surface& source);

// Source drawn at (0, 0) with its alpha multiplied by alpha / 255 and
// blended over the target.
void DrawSurfaceBlended(Surface& target, const Surface& source, int alpha);

// Source drawn at (0, 0) with its alpha multiplied by alpha / 255; the
// result replaces the target's pixels (no blending with what was there).
void DrawSurfaceReplacing(Surface& target, const Surface& source, int alpha);

// As DrawSurfaceReplacing, each pixel passing through the filter first.
void DrawSurfaceFiltered(Surface& target, const Surface& source, int alpha, PixelFilter filter);

// What DrawSurfaceReplacing (no filter) or DrawSurfaceFiltered writes for
// a surface holding these straight pixels, as read back straight: the same
// values, made in place on one row without a surface (and so without the
// surfaces' size limit).
void FadeStraightRow(ArgbWord* row, int count, int alpha, PixelFilter filter);

// Row y as straight 0xAARRGGBB words (surface.width of them).
void ReadStraightRow(const Surface& surface, int y, ArgbWord* out);

// Sets row y from straight 0xAARRGGBB words (surface.width of them).
void WriteStraightRow(Surface& surface, int y, const ArgbWord* row);

}  // namespace jpg2dds
