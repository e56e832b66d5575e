// One row of pixels as the encoder and the mipmap filter read it.
#pragma once
#include <cstdint>

namespace jpg2dds {

// Blue, green, red (and alpha when `stride` is 4) bytes, pixel after pixel.
struct PixelRow {
  const uint8_t* pixels;
  int stride;  // 3 or 4 bytes a pixel; 3 means opaque
};

}  // namespace jpg2dds
