// Picture files of other programs built byte by byte for the watermark
// tests, so each header variant is exactly the one under test.
#pragma once
#include <string>

#include "testing/test_pictures.h"

namespace jpg2dds::testing {

// A Windows bitmap: `headerSize` 40 (BITMAPINFOHEADER), 52 (V2), 56 (V3),
// 108 (V4) or 124 (V5); 8 bits (a palette of one entry per pixel, so at
// most 256 pixels), 24 or 32 bits (the fourth byte 0, as usual); colour
// masks as BI_BITFIELDS (after a 40-byte header, inside the longer ones)
// or BI_RGB; rows bottom-up or, with a negative height, top-down.
struct BmpLayout {
  int headerSize = 40;
  int bitsPerPixel = 24;
  bool bitfields = false;
  bool topDown = false;
};
std::string BmpFile(const BmpLayout& layout, int width, int height, const PixelFunction& rgb);

// A PNG of one IDAT chunk. `scanlines` are the image rows as PNG stores
// them, each led by its filter byte; they go into a zlib stream of stored
// (uncompressed) blocks. `palette` and `transparency` become PLTE and tRNS
// when not empty.
std::string PngFile(int width, int height, int bitDepth, int colourType, const std::string& scanlines,
                    const std::string& palette = "", const std::string& transparency = "");

// A PNG of `height` rows that are all `row` (a row's bytes without the filter
// byte), deflated by zlib as libpng writes it: a picture of 2^28 pixels in a
// few kilobytes, made without holding all its rows.
std::string PngFileOfEqualRows(int width, int height, int bitDepth, int colourType, const std::string& row);

}  // namespace jpg2dds::testing
