// The next mipmap level, averaged in linear light: each pixel is the mean of
// the area of the level above that it covers (a box filter), computed on
// light, not on sRGB values, so a fine black-and-white pattern turns the grey
// of half its light (188), not 128. An odd side's last row or column counts
// with its share instead of being dropped.
#pragma once
#include <cstdint>
#include <functional>

namespace jpg2dds {

// Writes row y (0 = top) of the source into `bgra` (width x 4 bytes, blue,
// green, red, alpha).
using BgraRowReader = std::function<void(int y, uint8_t* bgra)>;

// Rows [rowBegin, rowEnd) of the destWidth x destHeight level made from the
// sourceWidth x sourceHeight one, written to `dest` one after another
// (destWidth x 4 bytes each). Any split of the rows gives the same bytes.
void DownsampleRows(const BgraRowReader& source, int sourceWidth, int sourceHeight, int destWidth, int destHeight,
                    int rowBegin, int rowEnd, uint8_t* dest);

// The sRGB value (0 to 255) of a linear light value (0 to 1), as the filter
// rounds it; for tests and the benchmark's reference.
uint8_t LinearToSrgb(double linear);
double SrgbToLinear(uint8_t value);

}  // namespace jpg2dds
