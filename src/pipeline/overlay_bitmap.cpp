#include "pipeline/overlay_bitmap.h"

#include <vector>

namespace jpg2dds {
namespace {

// FreeImage's 32-bit pixel is an 0xAARRGGBB word in memory on this
// platform's byte order; then rows can be handed over without reshuffling.
constexpr bool kWordsMatchFreeImage = FI_RGBA_RED_MASK == 0x00FF0000 && FI_RGBA_GREEN_MASK == 0x0000FF00 &&
                                      FI_RGBA_BLUE_MASK == 0x000000FF && FI_RGBA_ALPHA_MASK == 0xFF000000;

void WordsToBytes(const ArgbWord* words, int count, BYTE* bytes) {
  for (int x = 0; x < count; ++x, bytes += 4) {
    bytes[FI_RGBA_RED] = static_cast<BYTE>(words[x] >> 16);
    bytes[FI_RGBA_GREEN] = static_cast<BYTE>(words[x] >> 8);
    bytes[FI_RGBA_BLUE] = static_cast<BYTE>(words[x]);
    bytes[FI_RGBA_ALPHA] = static_cast<BYTE>(words[x] >> 24);
  }
}

void BytesToWords(const BYTE* bytes, int count, ArgbWord* words) {
  for (int x = 0; x < count; ++x, bytes += 4) {
    words[x] = (static_cast<ArgbWord>(bytes[FI_RGBA_ALPHA]) << 24) |
               (static_cast<ArgbWord>(bytes[FI_RGBA_RED]) << 16) |
               (static_cast<ArgbWord>(bytes[FI_RGBA_GREEN]) << 8) | bytes[FI_RGBA_BLUE];
  }
}

}  // namespace

FIBITMAP* SurfaceToBitmap(const Surface& surface) {
  if (!surface.pixels || surface.width <= 0 || surface.height <= 0) return nullptr;
  FIBITMAP* bitmap = FreeImage_Allocate(surface.width, surface.height, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                        FI_RGBA_BLUE_MASK);
  if (!bitmap) return nullptr;
  std::vector<ArgbWord> row(kWordsMatchFreeImage ? 0 : surface.width);
  for (int y = 0; y < surface.height; ++y) {
    // FreeImage stores rows bottom-up.
    BYTE* line = FreeImage_GetScanLine(bitmap, surface.height - 1 - y);
    if (kWordsMatchFreeImage) {
      ReadStraightRow(surface, y, reinterpret_cast<ArgbWord*>(line));
    } else {
      ReadStraightRow(surface, y, row.data());
      WordsToBytes(row.data(), surface.width, line);
    }
  }
  return bitmap;
}

bool BitmapToSurface(FIBITMAP* bitmap, Surface& surface) {
  if (!bitmap || FreeImage_GetBPP(bitmap) != 32 || FreeImage_GetImageType(bitmap) != FIT_BITMAP) return false;
  int width = static_cast<int>(FreeImage_GetWidth(bitmap));
  int height = static_cast<int>(FreeImage_GetHeight(bitmap));
  if (!CreateSurface(width, height, surface)) return false;
  std::vector<ArgbWord> row(width);
  for (int y = 0; y < height; ++y) {
    BytesToWords(FreeImage_GetScanLine(bitmap, height - 1 - y), width, row.data());
    WriteStraightRow(surface, y, row.data());
  }
  return true;
}

}  // namespace jpg2dds
