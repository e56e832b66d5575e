#include "encoder/dds_format.h"

#include <algorithm>

#include "encoder/best_blocks.h"
#include "encoder/block_compression.h"
#include "settings/keywords.h"

namespace jpg2dds {

const DdsFormat kDdsFormats[] = {
    {choice::kDdsDxt1, "dxt1", 8, "DXT1", {}, CompressBc1Block, CompressBc1BlockBest},
    {choice::kDdsDxt5, "dxt5", 16, "DXT5", {}, CompressBc3Block, CompressBc3BlockBest},
    {choice::kDdsNone, "bgra", 0, nullptr, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, nullptr, nullptr},
};
const int kDdsFormatCount = sizeof(kDdsFormats) / sizeof(kDdsFormats[0]);

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

const DdsFormat* FindDdsFormat(int32_t compression) {
  for (int i = 0; i < kDdsFormatCount; ++i) {
    if (kDdsFormats[i].compression == compression) return &kDdsFormats[i];
  }
  return nullptr;
}

BlockCompressor QualityCompressor(const DdsFormat& format, int32_t quality) {
  return quality == choice::kDdsQualityBest ? format.best : format.compress;
}

std::vector<LevelSize> MipChain(int width, int height) {
  std::vector<LevelSize> chain{{width, height}};
  while (width > 1 || height > 1) {
    width = std::max(1, width / 2);
    height = std::max(1, height / 2);
    chain.push_back({width, height});
  }
  return chain;
}

size_t DdsLevelBytes(const DdsFormat& format, int width, int height) {
  if (IsBlockCompressed(format)) return Blocks(width) * Blocks(height) * static_cast<size_t>(format.blockBytes);
  return static_cast<size_t>(width) * static_cast<size_t>(height) * kUncompressedPixelBytes;
}

int EncodedRowCount(const DdsFormat& format, int height) {
  return IsBlockCompressed(format) ? (height + 3) / 4 : height;
}

std::string DdsFileHeader(const DdsFormat& format, int width, int height, int levels) {
  std::string header(kDdsHeaderBytes, '\0');
  header.replace(0, 4, "DDS ");
  const bool compressed = IsBlockCompressed(format);
  // Offsets below are from the start of the file: DDS_HEADER begins at 4.
  Put32(header, 4, static_cast<uint32_t>(kDdsHeaderBytes - 4));
  Put32(header, 8, kCaps | kHeight | kWidth | kPixelFormat | kMipMapCount | (compressed ? kLinearSize : kPitch));
  Put32(header, 12, static_cast<uint32_t>(height));
  Put32(header, 16, static_cast<uint32_t>(width));
  // Compressed: the bytes of the base level; uncompressed: one row's bytes.
  Put32(header, 20, static_cast<uint32_t>(compressed ? DdsLevelBytes(format, width, height)
                                                     : DdsLevelBytes(format, width, 1)));
  Put32(header, 28, static_cast<uint32_t>(levels));
  // DDS_PIXELFORMAT at 76.
  Put32(header, 76, 32);
  if (compressed) {
    Put32(header, 80, kFourCC);
    header.replace(84, 4, format.fourCC, 4);
  } else {
    Put32(header, 80, kRgb | kAlphaPixels);
    Put32(header, 88, kUncompressedPixelBytes * 8);
    for (int i = 0; i < 4; ++i) Put32(header, 92 + 4 * i, format.masks[i]);
  }
  Put32(header, 108, kCapsTexture | (levels > 1 ? kCapsComplex | kCapsMipMap : 0));
  return header;
}

}  // namespace jpg2dds
