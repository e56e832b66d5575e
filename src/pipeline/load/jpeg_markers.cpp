#include "pipeline/load/jpeg_markers.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "pipeline/load/exif_orientation.h"

namespace jpg2dds {
namespace {

constexpr uint8_t kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kApp0 = 0xE0, kApp1 = 0xE1, kTem = 0x01;
constexpr char kExifSignature[] = "Exif\0\0";
constexpr size_t kExifSignatureSize = 6;
constexpr char kJfxxSignature[] = "JFXX\0";
constexpr size_t kJfxxSignatureSize = 5;

// How libjpeg's marker reader takes a marker (FreeImage sees exactly what it
// reads, the markers between the scans of a progressive file included).
enum class MarkerKind {
  kLength,      // a length and that many bytes: frames it decodes, tables, APPn, COM, DNL
  kBare,        // no parameters: RSTn, TEM
  kScan,        // SOS: its header, then entropy-coded data up to the next marker
  kEnd,         // EOI: nothing after it is read
  kFatal,       // a second SOI, a frame type it cannot decode: decoding fails here
  kUnknown,     // reserved markers: FreeImage lets libjpeg go on right after the marker code
};

MarkerKind KindOf(uint8_t marker) {
  switch (marker) {
    case 0xC0: case 0xC1: case 0xC2: case 0xC9: case 0xCA:  // frames libjpeg decodes
    case 0xC4: case 0xCC: case 0xDB: case 0xDD: case 0xDC: case 0xFE:
      return MarkerKind::kLength;
    case 0xC3: case 0xC5: case 0xC6: case 0xC7: case 0xC8: case 0xCB: case 0xCD: case 0xCE: case 0xCF:
    case kSoi:
      return MarkerKind::kFatal;
    case kSos: return MarkerKind::kScan;
    case kEoi: return MarkerKind::kEnd;
    case kTem: return MarkerKind::kBare;
    default: break;
  }
  if (marker >= 0xD0 && marker <= 0xD7) return MarkerKind::kBare;
  if (marker >= kApp0 && marker <= 0xEF) return MarkerKind::kLength;
  return MarkerKind::kUnknown;
}

std::string Segment(uint8_t marker, const std::string& payload) {
  const size_t length = payload.size() + 2;
  std::string segment = {'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8),
                         static_cast<char>(length & 0xFF)};
  return segment + payload;
}

// A stretch of the file that goes.
struct Cut {
  size_t begin, end;
};

// Removes the cuts (in file order) by moving what follows each one down,
// and puts `segment` where the cut that began at `insertAt` was: the file is
// edited where it lies, and grows only when the segment is longer than all
// that was cut before its place.
void CutInPlace(std::string& jpeg, const std::vector<Cut>& cuts, size_t insertAt, const std::string& segment) {
  size_t write = cuts.front().begin;
  size_t deferred = std::string::npos;
  for (size_t i = 0; i < cuts.size(); ++i) {
    if (cuts[i].begin == insertAt && !segment.empty()) {
      if (write + segment.size() <= cuts[i].end) {
        std::memcpy(&jpeg[write], segment.data(), segment.size());
        write += segment.size();
      } else {
        deferred = write;
      }
    }
    const size_t keepEnd = i + 1 < cuts.size() ? cuts[i + 1].begin : jpeg.size();
    std::memmove(&jpeg[write], jpeg.data() + cuts[i].end, keepEnd - cuts[i].end);
    write += keepEnd - cuts[i].end;
  }
  jpeg.resize(write);
  if (deferred != std::string::npos) jpeg.insert(deferred, segment);
}

}  // namespace

int ReplaceExifSegments(std::string& jpeg) {
  const auto byte = [&](size_t at) { return static_cast<uint8_t>(jpeg[at]); };
  if (jpeg.size() < 4 || byte(0) != 0xFF || byte(1) != kSoi) return 0;

  // The walk only notes what goes; the bytes are moved once at the end, in
  // place, so a file of many megabytes is never held twice.
  std::vector<Cut> cuts;
  size_t insertAt = std::string::npos;  // where the first Exif block before the first scan began
  int orientation = 0;
  bool scanSeen = false;
  bool inScan = false;  // after a scan header: entropy-coded data until the next marker
  size_t at = 2;
  // Walks the file the way libjpeg's marker reader does: bytes before a
  // marker are skipped, and so are fill bytes 0xFF and stuffed zeros (FF 00),
  // so both see the same segments. Everything not cut stays as it is.
  while (at < jpeg.size()) {
    size_t markerStart = at;  // the marker's first 0xFF
    uint8_t marker = 0;
    while (at < jpeg.size()) {
      while (at < jpeg.size() && byte(at) != 0xFF) ++at;
      markerStart = at;
      while (at < jpeg.size() && byte(at) == 0xFF) ++at;
      if (at >= jpeg.size()) break;
      marker = byte(at++);
      // Inside a scan, restart markers belong to the data, as stuffed zeros
      // do everywhere.
      if (marker != 0 && !(inScan && marker >= 0xD0 && marker <= 0xD7)) break;
      marker = 0;
    }
    if (marker == 0) break;
    // Any marker ends the entropy-coded data of a scan.
    inScan = false;
    const MarkerKind kind = KindOf(marker);
    if (kind == MarkerKind::kEnd || kind == MarkerKind::kFatal) break;
    if (kind == MarkerKind::kBare || kind == MarkerKind::kUnknown) continue;
    if (at + 2 > jpeg.size()) break;
    const size_t length = size_t{byte(at)} << 8 | byte(at + 1);
    // A length word below 2 gives libjpeg an empty segment.
    const size_t end = length < 2 ? at + 2 : at + length;
    const size_t payload = at + 2;
    const bool fits = end <= jpeg.size();
    const bool exif = marker == kApp1 && length >= 2 + kExifSignatureSize &&
                      payload + kExifSignatureSize <= jpeg.size() &&
                      std::memcmp(jpeg.data() + payload, kExifSignature, kExifSignatureSize) == 0;
    // A JFXX thumbnail is a JPEG file of its own, which FreeImage decodes
    // with its Exif block; it never shows in the output.
    const bool thumbnail = marker == kApp0 && length >= 2 + kJfxxSignatureSize &&
                           payload + kJfxxSignatureSize <= jpeg.size() &&
                           std::memcmp(jpeg.data() + payload, kJfxxSignature, kJfxxSignatureSize) == 0;
    if (exif || thumbnail) {
      // What came before the segment stays, only the segment goes. One that
      // runs past the end of the file would be read padded with made-up
      // bytes; the file ends there for the decoder instead, which then fails
      // as it would have without a frame to decode.
      cuts.push_back(Cut{markerStart, fits ? end : jpeg.size()});
      // FreeImage read every Exif block of the header, each readable
      // orientation replacing the one before; damaged blocks are skipped.
      if (exif && !scanSeen) {
        if (insertAt == std::string::npos) insertAt = markerStart;
        const size_t tiff = payload + kExifSignatureSize;
        const auto* bytes = reinterpret_cast<const uint8_t*>(jpeg.data());
        const int read = fits ? ReadExifOrientation(bytes + tiff, end - tiff) : 0;
        if (read != 0) orientation = read;
      }
      if (!fits) break;
      at = end;
      continue;
    }
    // libjpeg stops at a segment that runs past the file; the decoder fails
    // there, so what follows is kept for it to fail on.
    if (!fits) break;
    at = end;
    inScan = kind == MarkerKind::kScan;
    scanSeen = scanSeen || inScan;
  }
  if (cuts.empty()) return 0;
  CutInPlace(jpeg, cuts, insertAt, orientation ? Segment(kApp1, MinimalExifPayload(orientation)) : std::string());
  return orientation;
}

}  // namespace jpg2dds
