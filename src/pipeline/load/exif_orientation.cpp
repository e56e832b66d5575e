#include "pipeline/load/exif_orientation.h"

namespace jpg2dds {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;
constexpr size_t kEntrySize = 12;

struct TiffReader {
  const uint8_t* bytes;
  size_t size;
  bool bigEndian;

  uint16_t U16(size_t at) const {
    return bigEndian ? static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1])
                     : static_cast<uint16_t>(bytes[at + 1] << 8 | bytes[at]);
  }
  uint32_t U32(size_t at) const {
    const uint32_t a = U16(at), b = U16(at + 2);
    return bigEndian ? (a << 16 | b) : (b << 16 | a);
  }
};

}  // namespace

int ReadExifOrientation(const uint8_t* tiff, size_t size) {
  if (!tiff || size < 8) return 0;
  TiffReader reader{tiff, size, false};
  if (tiff[0] == 'M' && tiff[1] == 'M') {
    reader.bigEndian = true;
  } else if (!(tiff[0] == 'I' && tiff[1] == 'I')) {
    return 0;
  }
  if (reader.U16(2) != 42) return 0;
  const uint32_t directory = reader.U32(4);
  if (directory < 8 || directory > size - 2) return 0;
  const uint32_t count = reader.U16(directory);
  // Entries that lie wholly inside the block are read; a directory cut short
  // by damage still yields the orientation when that entry survived.
  for (uint32_t i = 0; i < count; ++i) {
    const size_t entry = directory + 2 + size_t{i} * kEntrySize;
    if (entry + kEntrySize > size) break;
    if (reader.U16(entry) != kOrientationTag) continue;
    const uint16_t type = reader.U16(entry + 2);
    if (reader.U32(entry + 4) == 0) return 0;
    uint32_t value;
    if (type == kTypeShort) {
      value = reader.U16(entry + 8);
    } else if (type == kTypeLong) {
      value = reader.U32(entry + 8);
    } else {
      return 0;
    }
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 0;
  }
  return 0;
}

std::string MinimalExifPayload(int orientation) {
  // "Exif\0\0", little-endian TIFF header, one directory of one SHORT entry,
  // no next directory.
  static const char kTemplate[] = "Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\0\0\0\0\0\0\0\0";
  std::string payload(kTemplate, sizeof kTemplate - 1);
  payload[6 + 18] = static_cast<char>(orientation & 0xFF);
  return payload;
}

}  // namespace jpg2dds
