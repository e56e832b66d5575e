#include "pipeline/load/picture_limits.h"

#include <cmath>
#include <utility>

namespace jpg2dds {

CanvasSize TurnedCanvasSize(uint64_t width, uint64_t height, double degrees) {
  // The same steps and the same arithmetic as FreeImage_Rotate, so that the
  // estimate is its canvas to the pixel: FreeImage turns by the negated angle
  // (bitmaps are stored bottom row first), brings it into [0, 360), makes the
  // nearest quarter turn exactly and shears the rest, in (-45, 45].
  CanvasSize size{width, height};
  double angle = -degrees;
  if (angle == 0) return size;
  while (angle >= 360) angle -= 360;
  while (angle < 0) angle += 360;
  if (angle > 45 && angle <= 135) {
    std::swap(size.width, size.height);
    angle -= 90;
  } else if (angle > 135 && angle <= 225) {
    angle -= 180;
  } else if (angle > 225 && angle <= 315) {
    std::swap(size.width, size.height);
    angle -= 270;
  }
  if (angle == 0) return size;
  const double radians = angle * 3.1415926535897932384626433832795 / 180.0;
  const double s = std::fabs(std::sin(radians)), c = std::cos(radians);
  const double w = static_cast<double>(size.width), h = static_cast<double>(size.height);
  // Truncated after adding a half, plus one row and one column.
  size.width = static_cast<uint64_t>(std::floor(h * s + w * c + 0.5)) + 1;
  size.height = static_cast<uint64_t>(std::floor(w * s + h * c + 0.5)) + 1;
  return size;
}

bool FitsPictureLimitWhenTurned(uint64_t width, uint64_t height, double degrees) {
  const CanvasSize turned = TurnedCanvasSize(width, height, degrees);
  return FitsPictureLimit(turned.width, turned.height);
}

}  // namespace jpg2dds
