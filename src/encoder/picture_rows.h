// Rows of a FreeImage picture as 32-bit pixels, one at a time, so a picture
// of any depth can be encoded without a 32-bit copy of the whole of it.
#pragma once
#include <FreeImage.h>

#include <cstdint>

#include "encoder/pixel_row.h"

namespace jpg2dds {

// Row y (0 = top) of the picture as width x 4 bytes blue, green, red, alpha:
// the bytes FreeImage_ConvertTo32Bits gives for that row. False for a depth
// FreeImage cannot convert that way.
bool ReadBgraRow(FIBITMAP* picture, int y, uint8_t* bgra);

// Whether ReadBgraRow can read the picture's rows.
bool HasBgraRows(FIBITMAP* picture);

// Row y (0 = top) of the picture without a copy where its own bytes serve
// (24 and 32 bits), else converted into `scratch` (width x 4 bytes).
PixelRow PictureRow(FIBITMAP* picture, int y, uint8_t* scratch);

}  // namespace jpg2dds
