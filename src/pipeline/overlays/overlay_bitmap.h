// Hand-over of drawn overlays between the drawing layer and FreeImage as
// raw pixels: a lossless copy, far cheaper than encoding an image file.
#pragma once
#include <FreeImage.h>

#include "platform/drawing.h"

namespace jpg2dds {

// A 32-bit FreeImage bitmap with the surface's straight RGBA pixels, upright
// (the surface's top row is the picture's top row). Null when it cannot be made.
FIBITMAP* SurfaceToBitmap(const Surface& surface);

// Copies the surface's straight RGBA pixels into a 32-bit bitmap with the
// surface's top-left pixel at (x, y) from the bitmap's top-left corner; the
// surface must lie inside the bitmap. Drawings larger than a surface may
// hold are put together this way.
void SurfaceIntoBitmap(const Surface& surface, FIBITMAP* bitmap, int x, int y);

// The drawing layer's FadeStraightRow over every row of a 32-bit bitmap, in
// place: the pixels a surface would get from DrawSurfaceReplacing or
// DrawSurfaceFiltered, at any size.
void FadeBitmap(FIBITMAP* bitmap, int alpha, PixelFilter filter);

// A new surface holding a 32-bit bitmap's pixels (alpha as stored). False
// when the bitmap is not 32 bits or the surface cannot be made.
bool BitmapToSurface(FIBITMAP* bitmap, Surface& surface);

}  // namespace jpg2dds
