#include "pipeline/load_source.h"

#include "pipeline/picture_limits.h"

namespace jpg2dds {

FIBITMAP* LoadSourceImage(const std::string& path) {
  // The header alone first: a few bytes can claim a picture of gigabytes, and
  // such a claim is refused before any pixel memory is asked for.
  FIBITMAP* header = FreeImage_Load(FIF_JPEG, path.c_str(), FIF_LOAD_NOPIXELS);
  if (!header) return nullptr;
  const bool fits = FitsPictureLimit(FreeImage_GetWidth(header), FreeImage_GetHeight(header));
  FreeImage_Unload(header);
  if (!fits) return nullptr;
  return FreeImage_Load(FIF_JPEG, path.c_str(), JPEG_ACCURATE | JPEG_EXIFROTATE);
}

}  // namespace jpg2dds
