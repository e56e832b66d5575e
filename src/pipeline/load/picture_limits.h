// The largest picture the pipeline takes on.
#pragma once
#include <cstdint>

namespace jpg2dds {

// 2^28 pixels (268 megapixels, e.g. 16384 x 16384). At 4 bytes a pixel that
// is 1 GiB, which keeps DevIL's 32-bit byte counts (width x height x 4 must
// stay below 2^32) clear of overflow and bounds what one file may claim in
// memory: a JPEG header may announce up to 65535 x 65535 pixels whatever the
// file's real size.
inline constexpr uint64_t kMaxPicturePixels = uint64_t{1} << 28;

inline bool FitsPictureLimit(uint64_t width, uint64_t height) {
  return width > 0 && height > 0 && width * height <= kMaxPicturePixels;
}

struct CanvasSize {
  uint64_t width = 0;
  uint64_t height = 0;
};

// The size of the picture that FreeImage_Rotate makes of a width x height
// picture turned by `degrees`: a multiple of 90 degrees is turned exactly
// (the sides swap or stay); any other angle is a quarter turn followed by a
// turn of at most 45 degrees onto an enlarged canvas.
CanvasSize TurnedCanvasSize(uint64_t width, uint64_t height, double degrees);

// Whether the canvas that holds the picture turned by `degrees` still fits:
// a long, thin picture that fits easily can need billions of pixels once it
// stands at an angle.
bool FitsPictureLimitWhenTurned(uint64_t width, uint64_t height, double degrees);

}  // namespace jpg2dds
