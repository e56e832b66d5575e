#include "pipeline/load/jpeg_header.h"

// jpeglib.h needs size_t and FILE declared first.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace jpg2dds {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
};

// An unknown marker is no reason to give up, as for FreeImage's loader.
void EscapeOnError(j_common_ptr info) {
  if (info->err->msg_code == JERR_UNKNOWN_MARKER) return;
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

// libjpeg's warnings and messages go to stderr by default; a damaged file is
// reported by its result alone.
void Silently(j_common_ptr) {}
void SilentlyAtLevel(j_common_ptr, int) {}

}  // namespace

bool ReadJpegFrameSize(const std::string& jpeg, uint32_t& width, uint32_t& height) {
  if (jpeg.empty()) return false;
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = EscapeOnError;
  errors.base.output_message = Silently;
  errors.base.emit_message = SilentlyAtLevel;
  // Nothing with a destructor lives between here and the longjmp target.
  if (setjmp(errors.escape)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
  const bool read = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
  if (read) {
    width = info.image_width;
    height = info.image_height;
  }
  jpeg_destroy_decompress(&info);
  return read;
}

}  // namespace jpg2dds
