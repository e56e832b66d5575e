#include "encoder/picture_rows.h"

#include <cstring>

namespace jpg2dds {

bool HasBgraRows(FIBITMAP* picture) {
  if (!picture || FreeImage_GetImageType(picture) != FIT_BITMAP || !FreeImage_HasPixels(picture)) return false;
  switch (FreeImage_GetBPP(picture)) {
    case 1: case 4: case 8: case 24: case 32: return true;
    default: return false;
  }
}

bool ReadBgraRow(FIBITMAP* picture, int y, uint8_t* bgra) {
  if (!HasBgraRows(picture)) return false;
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  // FreeImage keeps the bottom row first.
  BYTE* source = FreeImage_GetScanLine(picture, static_cast<int>(FreeImage_GetHeight(picture)) - 1 - y);
  RGBQUAD* palette = FreeImage_GetPalette(picture);
  // A palette picture with a transparency table keeps it, as in FreeImage's
  // own conversion.
  const int transparent = FreeImage_IsTransparent(picture) ? static_cast<int>(FreeImage_GetTransparencyCount(picture)) : 0;
  BYTE* table = FreeImage_GetTransparencyTable(picture);
  switch (FreeImage_GetBPP(picture)) {
    case 1:
      if (transparent) FreeImage_ConvertLine1To32MapTransparency(bgra, source, width, palette, table, transparent);
      else FreeImage_ConvertLine1To32(bgra, source, width, palette);
      break;
    case 4:
      if (transparent) FreeImage_ConvertLine4To32MapTransparency(bgra, source, width, palette, table, transparent);
      else FreeImage_ConvertLine4To32(bgra, source, width, palette);
      break;
    case 8:
      if (transparent) FreeImage_ConvertLine8To32MapTransparency(bgra, source, width, palette, table, transparent);
      else FreeImage_ConvertLine8To32(bgra, source, width, palette);
      break;
    case 24: FreeImage_ConvertLine24To32(bgra, source, width); break;
    case 32: std::memcpy(bgra, source, static_cast<size_t>(width) * 4); break;
  }
  return true;
}

}  // namespace jpg2dds

namespace jpg2dds {

PixelRow PictureRow(FIBITMAP* picture, int y, uint8_t* scratch) {
  const unsigned bpp = FreeImage_GetBPP(picture);
  if (bpp == 24 || bpp == 32) {
    const BYTE* row = FreeImage_GetScanLine(picture, static_cast<int>(FreeImage_GetHeight(picture)) - 1 - y);
    return {row, static_cast<int>(bpp / 8)};
  }
  ReadBgraRow(picture, y, scratch);
  return {scratch, 4};
}

}  // namespace jpg2dds
