#include "encoder/dds_format.h"

#include <algorithm>

namespace jpg2dds {
namespace {

// Flags and capabilities as DDS_HEADER names them.
constexpr uint32_t kCaps = 0x1, kHeight = 0x2, kWidth = 0x4, kPitch = 0x8, kPixelFormat = 0x1000,
                   kMipMapCount = 0x20000, kLinearSize = 0x80000;
constexpr uint32_t kAlphaPixels = 0x1, kFourCC = 0x4, kRgb = 0x40;
constexpr uint32_t kCapsComplex = 0x8, kCapsTexture = 0x1000, kCapsMipMap = 0x400000;

void Put32(std::string& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(value >> (8 * i));
}

size_t Blocks(int side) { return static_cast<size_t>(std::max(1, (side + 3) / 4)); }

}  // namespace

std::vector<LevelSize> MipChain(int width, int height) {
  std::vector<LevelSize> chain{{width, height}};
  while (width > 1 || height > 1) {
    width = std::max(1, width / 2);
    height = std::max(1, height / 2);
    chain.push_back({width, height});
  }
  return chain;
}

size_t DdsLevelBytes(DdsFormat format, int width, int height) {
  switch (format) {
    case DdsFormat::kDxt1: return Blocks(width) * Blocks(height) * 8;
    case DdsFormat::kDxt5: return Blocks(width) * Blocks(height) * 16;
    case DdsFormat::kBgra: return static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  }
  return 0;
}

std::string DdsFileHeader(DdsFormat format, int width, int height, int levels) {
  std::string header(128, '\0');
  header.replace(0, 4, "DDS ");
  const bool compressed = format != DdsFormat::kBgra;
  // Offsets below are from the start of the file: DDS_HEADER begins at 4.
  Put32(header, 4, 124);
  Put32(header, 8, kCaps | kHeight | kWidth | kPixelFormat | kMipMapCount | (compressed ? kLinearSize : kPitch));
  Put32(header, 12, static_cast<uint32_t>(height));
  Put32(header, 16, static_cast<uint32_t>(width));
  // Compressed: the bytes of the base level; uncompressed: one row's bytes.
  Put32(header, 20, static_cast<uint32_t>(compressed ? DdsLevelBytes(format, width, height)
                                                     : static_cast<size_t>(width) * 4));
  Put32(header, 28, static_cast<uint32_t>(levels));
  // DDS_PIXELFORMAT at 76.
  Put32(header, 76, 32);
  if (compressed) {
    Put32(header, 80, kFourCC);
    header.replace(84, 4, format == DdsFormat::kDxt1 ? "DXT1" : "DXT5");
  } else {
    Put32(header, 80, kRgb | kAlphaPixels);
    Put32(header, 88, 32);
    Put32(header, 92, 0x00FF0000);
    Put32(header, 96, 0x0000FF00);
    Put32(header, 100, 0x000000FF);
    Put32(header, 104, 0xFF000000);
  }
  Put32(header, 108, kCapsTexture | (levels > 1 ? kCapsComplex | kCapsMipMap : 0));
  return header;
}

}  // namespace jpg2dds
