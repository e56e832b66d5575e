#include "pipeline/jpeg_markers.h"

#include <cstdint>
#include <cstring>

#include "pipeline/exif_orientation.h"

namespace jpg2dds {
namespace {

constexpr uint8_t kSoi = 0xD8, kSos = 0xDA, kEoi = 0xD9, kApp1 = 0xE1, kTem = 0x01;
constexpr char kExifSignature[] = "Exif\0\0";
constexpr size_t kExifSignatureSize = 6;

bool IsStandalone(uint8_t marker) { return marker == kTem || (marker >= 0xD0 && marker <= 0xD7); }

std::string Segment(uint8_t marker, const std::string& payload) {
  const size_t length = payload.size() + 2;
  std::string segment = {'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                         static_cast<char>(length & 0xFF)};
  return segment + payload;
}

}  // namespace

int ReplaceExifSegments(std::string& jpeg) {
  const auto byte = [&](size_t at) { return static_cast<uint8_t>(jpeg[at]); };
  if (jpeg.size() < 4 || byte(0) != 0xFF || byte(1) != kSoi) return 0;

  std::string kept = jpeg.substr(0, 2);
  bool exifSeen = false;
  int keptOrientation = 0;
  size_t at = 2;
  // Walks the segments the way libjpeg's marker reader does: stray bytes
  // before a marker and fill bytes 0xFF are skipped, so both see the same
  // segments.
  while (at < jpeg.size()) {
    const size_t start = at;
    while (at < jpeg.size() && byte(at) != 0xFF) ++at;
    while (at < jpeg.size() && byte(at) == 0xFF) ++at;
    if (at >= jpeg.size()) break;
    const uint8_t marker = byte(at++);
    if (marker == kSos || marker == kEoi || marker == kSoi) {
      at = start;
      break;
    }
    if (IsStandalone(marker)) {
      kept.append(jpeg, start, at - start);
      continue;
    }
    if (at + 2 > jpeg.size()) {
      at = start;
      break;
    }
    const size_t length = size_t{byte(at)} << 8 | byte(at + 1);
    const size_t end = at + length;
    if (length < 2 || end > jpeg.size()) {
      // libjpeg stops at a segment that runs past the file; the decoder
      // fails there, so what follows is kept for it to fail on.
      at = start;
      break;
    }
    const bool exif = marker == kApp1 && length >= 2 + kExifSignatureSize &&
                      std::memcmp(jpeg.data() + at + 2, kExifSignature, kExifSignatureSize) == 0;
    if (!exif) {
      kept.append(jpeg, start, end - start);
    } else if (!exifSeen) {
      exifSeen = true;
      const size_t tiff = at + 2 + kExifSignatureSize;
      const int orientation =
          ReadExifOrientation(reinterpret_cast<const uint8_t*>(jpeg.data()) + tiff, end - tiff);
      if (orientation != 0) kept += Segment(kApp1, MinimalExifPayload(orientation));
      keptOrientation = orientation;
    }
    at = end;
  }
  if (!exifSeen) return 0;
  kept.append(jpeg, at, std::string::npos);
  jpeg.swap(kept);
  return keptOrientation;
}

}  // namespace jpg2dds
