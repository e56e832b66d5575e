// The largest picture the pipeline takes on.
#pragma once
#include <cmath>
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

// Whether the canvas that holds the picture turned by `degrees` still fits:
// a long, thin picture that fits easily can need billions of pixels once it
// stands at an angle.
inline bool FitsPictureLimitWhenTurned(uint64_t width, uint64_t height, double degrees) {
  const double radians = degrees * 3.14159265358979323846 / 180.0;
  const double c = std::fabs(std::cos(radians)), s = std::fabs(std::sin(radians));
  const double turnedWidth = std::ceil(width * c + height * s) + 1;
  const double turnedHeight = std::ceil(width * s + height * c) + 1;
  return turnedWidth * turnedHeight <= static_cast<double>(kMaxPicturePixels);
}

}  // namespace jpg2dds
