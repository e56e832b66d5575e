// The next mipmap level, averaged in linear light: each pixel is the mean of
// the area of the level above that it covers (a box filter), computed on
// light, not on sRGB values, so a fine black-and-white pattern turns the grey
// of half its light (188), not 128. An odd side's last row or column counts
// with its share instead of being dropped.
#pragma once
#include <cstdint>
#include <functional>

#include "encoder/pixel_row.h"

namespace jpg2dds {

// Row y (0 = top) of the source, in its own bytes or converted into
// `scratch` (width x 4 bytes).
using RowReader = std::function<PixelRow(int y, uint8_t* scratch)>;

// Rows [rowBegin, rowEnd) of the destWidth x destHeight level made from the
// sourceWidth x sourceHeight one, written to `dest` one after another
// (destWidth x 4 bytes each). Any split of the rows gives the same bytes.
void DownsampleRows(const RowReader& source, int sourceWidth, int sourceHeight, int destWidth, int destHeight,
                    int rowBegin, int rowEnd, uint8_t* dest);

// The sRGB value (0 to 255) of a linear light value (0 to 1), as the filter
// rounds it; for tests and the benchmark's reference.
uint8_t LinearToSrgb(double linear);
double SrgbToLinear(uint8_t value);

}  // namespace jpg2dds
