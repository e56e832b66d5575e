#include "pipeline/image_watermark.h"

#include "pipeline/overlay_bitmap.h"

namespace jpg2dds {
namespace {

// Decoded by content, the name's extension only as a fallback; 32 bits with
// straight alpha (opaque for pictures without one).
FIBITMAP* DecodeWatermarkFile(const std::string& path) {
  FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
  if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return nullptr;
  FIBITMAP* decoded = FreeImage_Load(format, path.c_str(), 0);
  if (!decoded) return nullptr;
  FIBITMAP* rgba = FreeImage_ConvertTo32Bits(decoded);
  FreeImage_Unload(decoded);
  return rgba;
}

}  // namespace

Colour GreyPixel(Colour pixel) {
  const uint32_t grey = (77 * (pixel & 0xFF) + 150 * ((pixel >> 8) & 0xFF) + 29 * ((pixel >> 16) & 0xFF)) / 256;
  return (pixel & 0xFF000000u) | (grey << 16) | (grey << 8) | grey;
}

FIBITMAP* RenderImageWatermark(const ConversionSettings& settings) {
  FIBITMAP* decoded = DecodeWatermarkFile(settings.image);
  Surface picture;
  bool loaded = decoded && BitmapToSurface(decoded, picture);
  if (decoded) FreeImage_Unload(decoded);
  if (!loaded) return nullptr;

  Surface overlay;
  FIBITMAP* result = nullptr;
  if (CreateSurface(picture.width, picture.height, overlay)) {
    if (settings.imageGreyscale) {
      DrawSurfaceFiltered(overlay, picture, settings.imageOpacity, GreyPixel);
    } else {
      DrawSurfaceReplacing(overlay, picture, settings.imageOpacity);
    }
    result = SurfaceToBitmap(overlay);
  }
  ReleaseSurface(overlay);
  ReleaseSurface(picture);
  return result;
}

}  // namespace jpg2dds
