#include "pipeline/overlays/image_watermark.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "pipeline/load/load_source.h"
#include "pipeline/load/picture_limits.h"
#include "pipeline/overlays/bmp_header.h"
#include "pipeline/overlays/overlay_bitmap.h"
#include "platform/file_system.h"

namespace jpg2dds {
namespace {

// libtiff's own handlers print every warning and error on standard error
// (FreeImage asks it about dozens of tags it does not know in every file);
// none of that is the user's business, as FreeImage's own messages are not.
void QuietTiffMessages() {
  static const bool quiet = [] {
    TIFFSetWarningHandler(nullptr);
    TIFFSetErrorHandler(nullptr);
    return true;
  }();
  (void)quiet;
}

// The watermark file as FreeImage is to read it: by its name, or a bitmap
// from memory, its header put in the form FreeImage reads.
struct WatermarkFile {
  FREE_IMAGE_FORMAT format = FIF_UNKNOWN;
  std::string path;
  std::string bytes;  // a bitmap's whole file
  size_t start = 0;   // where FreeImage's form of it begins in `bytes`
};

WatermarkFile OpenWatermarkFile(const std::string& path) {
  WatermarkFile file;
  file.path = path;
  file.format = FreeImage_GetFileType(path.c_str(), 0);
  if (file.format == FIF_UNKNOWN) file.format = FreeImage_GetFIFFromFilename(path.c_str());
  if (file.format == FIF_BMP) {
    // FreeImage's memory streams count in 32 bits.
    if (!ReadWholeFile(path, UINT32_MAX, file.bytes)) file.format = FIF_UNKNOWN;
    file.start = NormaliseBmpHeader(file.bytes);
  } else if (file.format == FIF_JPEG) {
    // FreeImage's Exif reader must never see a damaged Exif block.
    int orientation = 0;
    if (!ReadJpegForDecoding(path, file.bytes, orientation)) file.format = FIF_UNKNOWN;
  }
  return file;
}

FIBITMAP* LoadBitmapFromMemory(const WatermarkFile& file, int flags) {
  const size_t size = file.bytes.size() - file.start;
  if (size > UINT32_MAX) return nullptr;  // FreeImage's memory streams count in 32 bits
  FIMEMORY* memory = FreeImage_OpenMemory(
      reinterpret_cast<BYTE*>(const_cast<char*>(file.bytes.data() + file.start)), static_cast<DWORD>(size));
  if (!memory) return nullptr;
  FIBITMAP* bitmap = FreeImage_LoadFromMemory(FIF_BMP, memory, flags);
  FreeImage_CloseMemory(memory);
  return bitmap;
}

FIBITMAP* LoadWatermark(const WatermarkFile& file, int flags) {
  if (file.format == FIF_JPEG) return DecodeJpegBytes(file.bytes, flags);
  if (file.format == FIF_BMP) return LoadBitmapFromMemory(file, flags);
  return FreeImage_Load(file.format, file.path.c_str(), flags);
}

// FreeImage reads a 16-bit greyscale picture as plain 16-bit samples, which
// its 32-bit conversion does not take; as RGB of 16-bit samples it does.
FIBITMAP* ConvertTo32Bits(FIBITMAP* decoded) {
  if (FreeImage_GetImageType(decoded) != FIT_UINT16) return FreeImage_ConvertTo32Bits(decoded);
  FIBITMAP* rgb = FreeImage_ConvertToRGB16(decoded);
  FIBITMAP* rgba = rgb ? FreeImage_ConvertTo32Bits(rgb) : nullptr;
  if (rgb) FreeImage_Unload(rgb);
  return rgba;
}

void MakeOpaque(FIBITMAP* rgba) {
  const unsigned width = FreeImage_GetWidth(rgba), height = FreeImage_GetHeight(rgba);
  for (unsigned y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(rgba, static_cast<int>(y));
    for (unsigned x = 0; x < width; ++x) line[4 * x + FI_RGBA_ALPHA] = 0xFF;
  }
}

// An unturned watermark shows no more than its top-left part `keep`; the
// rest is dropped before it costs a conversion.
FIBITMAP* KeepTopLeft(FIBITMAP* decoded, OverlaySize keep) {
  const int64_t width = FreeImage_GetWidth(decoded), height = FreeImage_GetHeight(decoded);
  if (width <= keep.width && height <= keep.height) return decoded;
  FIBITMAP* part = FreeImage_Copy(decoded, 0, 0, static_cast<int>(std::min(width, keep.width)),
                                  static_cast<int>(std::min(height, keep.height)));
  FreeImage_Unload(decoded);
  return part;
}

// Decoded by content, the name's extension only as a fallback; 32 bits with
// straight alpha. Only a PNG keeps its transparency: the alpha byte of other
// formats (a 32-bit bitmap's fourth byte, usually 0) does not count.
// A file whose header claims more than the picture limit is not decoded at
// all, and neither is one of a format that cannot tell its size without
// decoding every pixel: a few bytes could claim gigabytes.
FIBITMAP* DecodeWatermarkFile(const std::string& path, OverlaySize keep) {
  QuietTiffMessages();
  if (keep.width <= 0 || keep.height <= 0) return nullptr;  // nothing of it could show
  WatermarkFile file = OpenWatermarkFile(path);
  if (file.format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(file.format) ||
      !FreeImage_FIFSupportsNoPixels(file.format)) {
    return nullptr;
  }
  FIBITMAP* header = LoadWatermark(file, FIF_LOAD_NOPIXELS);
  if (!header) return nullptr;
  const bool fits = FitsPictureLimit(FreeImage_GetWidth(header), FreeImage_GetHeight(header));
  FreeImage_Unload(header);
  if (!fits) return nullptr;

  FIBITMAP* decoded = LoadWatermark(file, 0);
  file.bytes = std::string();
  if (decoded) decoded = KeepTopLeft(decoded, keep);
  if (!decoded) return nullptr;
  FIBITMAP* rgba = ConvertTo32Bits(decoded);
  FreeImage_Unload(decoded);
  if (rgba && file.format != FIF_PNG) MakeOpaque(rgba);
  return rgba;
}

}  // namespace

Colour GreyPixel(Colour pixel) {
  const uint32_t grey = (77 * (pixel & 0xFF) + 150 * ((pixel >> 8) & 0xFF) + 29 * ((pixel >> 16) & 0xFF)) / 256;
  return (pixel & 0xFF000000u) | (grey << 16) | (grey << 8) | grey;
}

FIBITMAP* RenderImageWatermark(const ConversionSettings& settings, OverlaySize keep) {
  // The opacity and the grey are applied where the picture already is,
  // rather than through two drawing surfaces and back: the same pixels, at
  // any size and without three more copies of a large picture.
  FIBITMAP* overlay = DecodeWatermarkFile(settings.image, keep);
  if (overlay) FadeBitmap(overlay, settings.imageOpacity, settings.imageGreyscale ? GreyPixel : nullptr);
  return overlay;
}

}  // namespace jpg2dds
