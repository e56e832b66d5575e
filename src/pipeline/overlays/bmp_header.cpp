#include "pipeline/overlays/bmp_header.h"

#include <cstdint>
#include <cstring>

namespace jpg2dds {
namespace {

constexpr size_t kFileHeader = 14;  // "BM", file size, reserved, pixel offset
constexpr size_t kInfoHeader = 40;  // BITMAPINFOHEADER
constexpr size_t kMasks = 12;       // red, green and blue masks
constexpr uint32_t kBitfields = 3, kAlphaBitfields = 6;

uint32_t Le32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

void PutLe32(char* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

size_t NormaliseBmpHeader(std::string& file) {
  if (file.size() < kFileHeader + kInfoHeader + kMasks || file.compare(0, 2, "BM") != 0) return 0;
  const uint32_t infoSize = Le32(file, kFileHeader);
  if (infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124) return 0;
  const uint32_t pixelOffset = Le32(file, 10);
  if (file.size() < kFileHeader + infoSize || pixelOffset < kFileHeader + infoSize) return 0;

  // The V2 to V5 headers begin with the 40 bytes of the short one; their
  // masks follow at once and are used with (alpha) bit fields only.
  const uint32_t compression = Le32(file, kFileHeader + 16);
  const bool bitfields = compression == kBitfields || compression == kAlphaBitfields;
  char header[kFileHeader + kInfoHeader + kMasks];
  std::memcpy(header + kFileHeader, file.data() + kFileHeader, kInfoHeader + kMasks);
  const size_t length = kFileHeader + kInfoHeader + (bitfields ? kMasks : 0);
  const size_t start = kFileHeader + infoSize - length;  // the new headers end where the old one did

  header[0] = 'B';
  header[1] = 'M';
  PutLe32(header + 2, static_cast<uint32_t>(file.size() - start));
  PutLe32(header + 6, 0);
  PutLe32(header + 10, static_cast<uint32_t>(pixelOffset - start));
  PutLe32(header + kFileHeader, kInfoHeader);
  if (bitfields) PutLe32(header + kFileHeader + 16, kBitfields);
  std::memcpy(&file[start], header, length);
  return start;
}

}  // namespace jpg2dds
