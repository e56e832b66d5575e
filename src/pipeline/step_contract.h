// The step contract in one place: a step that makes a new bitmap from the
// picture releases the picture and hands on the new one (null included). A
// step that runs out of memory releases the picture and hands on null, so
// that the file fails and the run goes on with the next one.
#pragma once
#include <FreeImage.h>

#include <new>

namespace jpg2dds {

inline FIBITMAP* ReplacePicture(FIBITMAP* picture, FIBITMAP* successor) {
  FreeImage_Unload(picture);
  return successor;
}

inline FIBITMAP* ReplaceWith24Bits(FIBITMAP* picture) {
  return ReplacePicture(picture, FreeImage_ConvertTo24Bits(picture));
}

// Draws into the picture in place with `draw` and hands it on; null when
// memory ran out on the way.
template <typename Draw>
FIBITMAP* DrawOrFail(FIBITMAP* picture, const Draw& draw) {
  try {
    draw(picture);
    return picture;
  } catch (const std::bad_alloc&) {
    return ReplacePicture(picture, nullptr);
  }
}

}  // namespace jpg2dds
