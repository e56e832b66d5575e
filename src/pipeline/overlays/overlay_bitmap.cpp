#include "pipeline/overlays/overlay_bitmap.h"

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
  if (bitmap) SurfaceIntoBitmap(surface, bitmap, 0, 0);
  return bitmap;
}

void SurfaceIntoBitmap(const Surface& surface, FIBITMAP* bitmap, int x, int y) {
  const int height = static_cast<int>(FreeImage_GetHeight(bitmap));
  std::vector<ArgbWord> row(kWordsMatchFreeImage ? 0 : surface.width);
  for (int line = 0; line < surface.height; ++line) {
    // FreeImage stores rows bottom-up.
    BYTE* pixels = FreeImage_GetScanLine(bitmap, height - 1 - (y + line)) + 4 * static_cast<size_t>(x);
    if (kWordsMatchFreeImage) {
      ReadStraightRow(surface, line, reinterpret_cast<ArgbWord*>(pixels));
    } else {
      ReadStraightRow(surface, line, row.data());
      WordsToBytes(row.data(), surface.width, pixels);
    }
  }
}

void FadeBitmap(FIBITMAP* bitmap, int alpha, PixelFilter filter) {
  if (!bitmap || FreeImage_GetBPP(bitmap) != 32 || FreeImage_GetImageType(bitmap) != FIT_BITMAP) return;
  const int width = static_cast<int>(FreeImage_GetWidth(bitmap));
  const int height = static_cast<int>(FreeImage_GetHeight(bitmap));
  std::vector<ArgbWord> row(kWordsMatchFreeImage ? 0 : width);
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(bitmap, y);
    if (kWordsMatchFreeImage) {
      FadeStraightRow(reinterpret_cast<ArgbWord*>(line), width, alpha, filter);
    } else {
      BytesToWords(line, width, row.data());
      FadeStraightRow(row.data(), width, alpha, filter);
      WordsToBytes(row.data(), width, line);
    }
  }
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
