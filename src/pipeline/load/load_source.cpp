#include "pipeline/load/load_source.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>

#include "pipeline/load/jpeg_header.h"
#include "pipeline/load/jpeg_markers.h"
#include "pipeline/load/picture_limits.h"
#include "platform/file_system.h"

namespace jpg2dds {
namespace {

// Whether FreeImage said, on this thread, that memory ran out: its only
// account of why a decode gave no picture is the message it hands to the
// message handler (libjpeg's "Insufficient memory", its own "DIB allocation
// failed"). Nothing is shown.
thread_local bool tMemoryRanOut = false;

void NoteFreeImageMessage(FREE_IMAGE_FORMAT, const char* message) {
  if (message && (std::strstr(message, "Insufficient memory") || std::strstr(message, "allocation failed"))) {
    tMemoryRanOut = true;
  }
}

bool Refuse(FailureReason reason, FailureReason* why) {
  if (why) *why = reason;
  return false;
}

}  // namespace

bool ReadJpegForDecoding(const std::string& path, std::string& bytes, int& orientation, FailureReason* why) {
  // FreeImage's memory streams count in 32 bits.
  if (!ReadWholeFile(path, std::numeric_limits<DWORD>::max(), bytes)) return Refuse(FailureReason::kUnreadable, why);
  orientation = ReplaceExifSegments(bytes);
  // A few bytes can claim a picture of gigabytes; such a claim is refused
  // from the header before any pixel memory is asked for.
  uint32_t width = 0, height = 0;
  if (!ReadJpegFrameSize(bytes, width, height)) {
    // Every JPEG file begins with its start-of-image marker.
    const bool startsAsJpeg = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xD8';
    return Refuse(startsAsJpeg ? FailureReason::kDamaged : FailureReason::kNotJpeg, why);
  }
  if (!FitsPictureLimit(width, height)) return Refuse(FailureReason::kTooLarge, why);
  return true;
}

FIBITMAP* DecodeJpegBytes(const std::string& bytes, int flags, bool* outOfMemory) {
  static std::once_flag once;
  std::call_once(once, [] { FreeImage_SetOutputMessage(NoteFreeImageMessage); });
  tMemoryRanOut = false;
  // A memory stream opened on given bytes only reads them.
  FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()));
  FIBITMAP* picture = memory ? FreeImage_LoadFromMemory(FIF_JPEG, memory, flags) : nullptr;
  if (memory) FreeImage_CloseMemory(memory);
  if (outOfMemory) *outOfMemory = !picture && (!memory || tMemoryRanOut);
  return picture;
}

FIBITMAP* LoadJpegFile(const std::string& path, int flags) {
  std::string bytes;
  int orientation = 0;
  return ReadJpegForDecoding(path, bytes, orientation) ? DecodeJpegBytes(bytes, flags) : nullptr;
}

FIBITMAP* LoadSourceImage(const std::string& path) { return LoadJpegFile(path, kSourceLoadFlags); }

}  // namespace jpg2dds
