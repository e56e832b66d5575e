// Small pictures for the overlay steps' unit tests, read and written top-down.
#pragma once
#include <FreeImage.h>

#include <cstdint>

namespace jpg2dds {
namespace test_pictures {

struct Rgba {
  int r, g, b, a;
};

// A 24-bit picture of one colour.
inline FIBITMAP* Solid24(int width, int height, int r, int g, int b) {
  FIBITMAP* picture = FreeImage_Allocate(width, height, 24);
  RGBQUAD colour{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0};
  FreeImage_FillBackground(picture, &colour, 0);
  return picture;
}

// An 8-bit greyscale picture made from a 24-bit one of one colour.
inline FIBITMAP* SolidGrey8(int width, int height, int r, int g, int b) {
  FIBITMAP* colour = Solid24(width, height, r, g, b);
  FIBITMAP* grey = FreeImage_ConvertToGreyscale(colour);
  FreeImage_Unload(colour);
  return grey;
}

// A transparent 32-bit picture.
inline FIBITMAP* Transparent32(int width, int height) {
  return FreeImage_AllocateT(FIT_BITMAP, width, height, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                             FI_RGBA_BLUE_MASK);
}

// (x, y) counted from the top-left corner.
inline Rgba PixelAt(FIBITMAP* picture, int x, int y) {
  RGBQUAD c{};
  FreeImage_GetPixelColor(picture, x, FreeImage_GetHeight(picture) - 1 - y, &c);
  int alpha = FreeImage_GetBPP(picture) == 32 ? c.rgbReserved : 255;
  return {c.rgbRed, c.rgbGreen, c.rgbBlue, alpha};
}

inline void SetPixel(FIBITMAP* picture, int x, int y, Rgba p) {
  RGBQUAD c{static_cast<BYTE>(p.b), static_cast<BYTE>(p.g), static_cast<BYTE>(p.r), static_cast<BYTE>(p.a)};
  FreeImage_SetPixelColor(picture, x, FreeImage_GetHeight(picture) - 1 - y, &c);
}

inline bool Same(Rgba p, Rgba q) { return p.r == q.r && p.g == q.g && p.b == q.b && p.a == q.a; }

// Smallest rectangle holding every pixel that differs from `background`;
// width 0 when none does.
struct Box {
  int left = 0, top = 0, width = 0, height = 0;
};

inline Box ChangedBox(FIBITMAP* picture, Rgba background) {
  int w = FreeImage_GetWidth(picture), h = FreeImage_GetHeight(picture);
  int left = w, top = h, right = -1, bottom = -1;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (Same(PixelAt(picture, x, y), background)) continue;
      if (x < left) left = x;
      if (x > right) right = x;
      if (y < top) top = y;
      if (y > bottom) bottom = y;
    }
  }
  if (right < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

}  // namespace test_pictures
}  // namespace jpg2dds
