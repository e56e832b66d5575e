// The Exif path on its own: the segment walk that keeps damaged Exif blocks
// away from FreeImage, and the orientation reader, on mutated JPEG heads.
#include <cstdint>
#include <string>

#include "pipeline/load/exif_orientation.h"
#include "pipeline/load/jpeg_header.h"
#include "pipeline/load/jpeg_markers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  jpg2dds::ReadExifOrientation(data, size);
  std::string jpeg(reinterpret_cast<const char*>(data), size);
  jpg2dds::ReplaceExifSegments(jpeg);
  // Whatever the walk left must still be a well-formed head for libjpeg or
  // be refused by it; replacing again must change nothing more.
  std::string again = jpeg;
  jpg2dds::ReplaceExifSegments(again);
  if (again != jpeg) __builtin_trap();
  uint32_t width = 0, height = 0;
  jpg2dds::ReadJpegFrameSize(jpeg, width, height);
  return 0;
}
