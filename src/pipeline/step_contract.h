// The step contract in one place: a step that makes a new bitmap from the
// picture releases the picture and hands on the new one (null included).
#pragma once
#include <FreeImage.h>

namespace jpg2dds {

inline FIBITMAP* ReplacePicture(FIBITMAP* picture, FIBITMAP* successor) {
  FreeImage_Unload(picture);
  return successor;
}

inline FIBITMAP* ReplaceWith24Bits(FIBITMAP* picture) {
  return ReplacePicture(picture, FreeImage_ConvertTo24Bits(picture));
}

}  // namespace jpg2dds
