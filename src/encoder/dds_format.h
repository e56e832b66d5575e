// The DDS files the built-in encoder writes: one table row per pixel format,
// level sizes and the 128-byte header (magic number and DDS_HEADER) in the
// classic layout.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jpg2dds {

// The magic number "DDS " and the 124-byte DDS_HEADER every file begins with.
inline constexpr size_t kDdsHeaderBytes = 4 + 124;

// Fills one block: `rgba` holds its 16 pixels, rows top first, 4 bytes each
// (red, green, blue, alpha); `out` gets the format's block bytes.
using BlockCompressor = void (*)(const uint8_t* rgba, uint8_t* out);

// A pixel format the encoder writes. A compressed one stores 4 x 4 blocks
// made by its compressor and is named by its FourCC; an uncompressed one
// stores 32-bit pixels described by their bit masks.
struct DdsFormat {
  int32_t compression;       // the DDS Compression keyword value that asks for it
  const char* name;          // what the file holds: "dxt1", "dxt5", "bgra"
  int blockBytes;            // bytes of a 4 x 4 block; 0 for uncompressed
  const char* fourCC;        // compressed only
  uint32_t masks[4];         // uncompressed only: red, green, blue, alpha
  BlockCompressor compress;  // compressed only: DDS Quality NORMAL
  BlockCompressor best;      // compressed only: DDS Quality BEST
};

// Bytes of one pixel of an uncompressed format.
inline constexpr int kUncompressedPixelBytes = 4;

extern const DdsFormat kDdsFormats[];
extern const int kDdsFormatCount;

// The row for a DDS Compression value; null for AUTO (DevIL writes the file)
// and any value without a row.
const DdsFormat* FindDdsFormat(int32_t compression);

inline bool IsBlockCompressed(const DdsFormat& format) { return format.blockBytes > 0; }

// The format's block compressor for a DDS Quality value; null for an
// uncompressed format.
BlockCompressor QualityCompressor(const DdsFormat& format, int32_t quality);

struct LevelSize {
  int width;
  int height;
};

// The base picture and every level below it: each side halved (floor, at
// least 1) down to 1 x 1.
std::vector<LevelSize> MipChain(int width, int height);

// Bytes of one level of that size in the format.
size_t DdsLevelBytes(const DdsFormat& format, int width, int height);

// Rows the encoder writes for a level `height` pixels high: rows of blocks
// for a compressed format, rows of pixels otherwise.
int EncodedRowCount(const DdsFormat& format, int height);

// "DDS " and the header of a width x height picture with `levels` levels.
std::string DdsFileHeader(const DdsFormat& format, int width, int height, int levels);

}  // namespace jpg2dds
