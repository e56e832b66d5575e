// The DDS files the built-in encoder writes: pixel formats, level sizes and
// the 128-byte header (magic number and DDS_HEADER) in the classic layout.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jpg2dds {

enum class DdsFormat {
  kDxt1,  // BC1, opaque: 8 bytes per 4x4 block
  kDxt5,  // BC3: 16 bytes per 4x4 block
  kBgra,  // uncompressed A8R8G8B8: bytes blue, green, red, alpha
};

struct LevelSize {
  int width;
  int height;
};

// The base picture and every level below it: each side halved (floor, at
// least 1) down to 1 x 1.
std::vector<LevelSize> MipChain(int width, int height);

// Bytes of one level of that size in the format.
size_t DdsLevelBytes(DdsFormat format, int width, int height);

// "DDS " and the header of a width x height picture with `levels` levels.
std::string DdsFileHeader(DdsFormat format, int width, int height, int levels);

}  // namespace jpg2dds
