// Hand-over of drawn overlays between the drawing layer and FreeImage as
// raw pixels: a lossless copy, far cheaper than encoding an image file.
#pragma once
#include <FreeImage.h>

#include "platform/drawing.h"

namespace jpg2dds {

// A 32-bit FreeImage bitmap with the surface's straight RGBA pixels, upright
// (the surface's top row is the picture's top row). Null when it cannot be made.
FIBITMAP* SurfaceToBitmap(const Surface& surface);

// A new surface holding a 32-bit bitmap's pixels (alpha as stored). False
// when the bitmap is not 32 bits or the surface cannot be made.
bool BitmapToSurface(FIBITMAP* bitmap, Surface& surface);

}  // namespace jpg2dds
