#include "pipeline/load/load_source.h"

#include <cstdint>
#include <limits>

#include "pipeline/load/jpeg_header.h"
#include "pipeline/load/jpeg_markers.h"
#include "pipeline/load/picture_limits.h"
#include "platform/file_system.h"

namespace jpg2dds {

bool ReadJpegForDecoding(const std::string& path, std::string& bytes, int& orientation) {
  // FreeImage's memory streams count in 32 bits.
  if (!ReadWholeFile(path, std::numeric_limits<DWORD>::max(), bytes)) return false;
  orientation = ReplaceExifSegments(bytes);
  // A few bytes can claim a picture of gigabytes; such a claim is refused
  // from the header before any pixel memory is asked for.
  uint32_t width = 0, height = 0;
  return ReadJpegFrameSize(bytes, width, height) && FitsPictureLimit(width, height);
}

FIBITMAP* DecodeJpegBytes(const std::string& bytes, int flags) {
  // A memory stream opened on given bytes only reads them.
  FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()));
  if (!memory) return nullptr;
  FIBITMAP* picture = FreeImage_LoadFromMemory(FIF_JPEG, memory, flags);
  FreeImage_CloseMemory(memory);
  return picture;
}

FIBITMAP* LoadJpegFile(const std::string& path, int flags) {
  std::string bytes;
  int orientation = 0;
  return ReadJpegForDecoding(path, bytes, orientation) ? DecodeJpegBytes(bytes, flags) : nullptr;
}

FIBITMAP* LoadSourceImage(const std::string& path) { return LoadJpegFile(path, kSourceLoadFlags); }

}  // namespace jpg2dds
