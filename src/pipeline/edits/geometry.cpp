#include "pipeline/edits/geometry.h"

#include <cmath>
#include <limits>

#include "pipeline/load/picture_limits.h"
#include "pipeline/step_contract.h"
#include "settings/hex_colors.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

// The setting's numbering and FreeImage's differ for BILINEAR, BSPLINE and
// BICUBIC.
const FREE_IMAGE_FILTER kResizeFilters[] = {
    FILTER_BOX,         // BOX
    FILTER_BILINEAR,    // BILINEAR
    FILTER_BSPLINE,     // BSPLINE
    FILTER_BICUBIC,     // BICUBIC
    FILTER_CATMULLROM,  // CATMULLROM
    FILTER_LANCZOS3,    // LANCZOS
};

// other / ratio, with the quotient held as a 32-bit float and rounded half
// away from zero.
int32_t ScaledSide(int32_t side, float ratio) {
  float exact = static_cast<float>(static_cast<double>(side) / static_cast<double>(ratio));
  return static_cast<int32_t>(std::round(exact));
}

}  // namespace

int32_t ResizeDimension(int32_t value, int32_t unit, int32_t current) {
  if (unit == choice::kUnitPixels) return value;
  if (unit != choice::kUnitPercent) return 0;
  double target = std::nearbyint(value / 100.0 * current);  // default rounding: half to even
  if (target > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (target < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(target);
}

FREE_IMAGE_FILTER ResizeFilter(int32_t algorithm) {
  const int32_t count = sizeof(kResizeFilters) / sizeof(kResizeFilters[0]);
  if (algorithm < 0 || algorithm >= count) return FILTER_BICUBIC;
  return kResizeFilters[algorithm];
}

FIBITMAP* ApplyRotation(FIBITMAP* picture, const ConversionSettings& settings) {
  if (!picture || !settings.doImageRotation) return picture;
  const int32_t angle = settings.imageRotation;
  if (angle <= 0 || angle >= 360) return picture;

  const unsigned bpp = FreeImage_GetBPP(picture);
  if (bpp <= 16 || bpp > 32) {
    picture = ReplaceWith24Bits(picture);
    if (!picture) return nullptr;
  }

  FIBITMAP* turned;
  if (settings.imageRotationType == choice::kRotationSimple) {
    // The enlarged canvas must fit like any picture; otherwise the file fails
    // here instead of asking for gigabytes.
    if (!FitsPictureLimitWhenTurned(FreeImage_GetWidth(picture), FreeImage_GetHeight(picture), angle)) {
      return ReplacePicture(picture, nullptr);
    }
    const uint32_t color = ParseHexColor(settings.imageRotationBackColor);
    RGBQUAD background{};
    background.rgbRed = static_cast<BYTE>(color & 0xFF);
    background.rgbGreen = static_cast<BYTE>((color >> 8) & 0xFF);
    background.rgbBlue = static_cast<BYTE>((color >> 16) & 0xFF);
    turned = FreeImage_Rotate(picture, angle, &background);
  } else if (settings.imageRotationType == choice::kRotationAdvanced) {
    const double originX = FreeImage_GetWidth(picture) / 2.0;
    const double originY = FreeImage_GetHeight(picture) / 2.0;
    turned = FreeImage_RotateEx(picture, angle, 0.0, 0.0, originX, originY, FALSE);
  } else {
    return picture;
  }
  FreeImage_Unload(picture);
  return turned;
}

bool ResizeTarget(int32_t width, int32_t height, const ConversionSettings& settings, int32_t& targetWidth,
                  int32_t& targetHeight) {
  if (!settings.doImageResize) return false;
  const int32_t newWidth = ResizeDimension(settings.imageWidth, settings.imageWidthUnit, width);
  const int32_t newHeight = ResizeDimension(settings.imageHeight, settings.imageHeightUnit, height);
  if (newWidth <= 0 || newHeight <= 0) return false;
  if (newWidth == width && newHeight == height) return false;
  if (settings.imageResizeType == choice::kResizeLargeImages && width < newWidth && height < newHeight) {
    return false;
  }

  targetWidth = newWidth;
  targetHeight = newHeight;
  if (settings.keepAspectRatio) {
    // Only the longer side's setting counts.
    if (width >= height) {
      const float ratio = static_cast<float>(static_cast<double>(width) / height);
      targetHeight = ScaledSide(newWidth, ratio);
    } else {
      const float ratio = static_cast<float>(static_cast<double>(height) / width);
      targetWidth = ScaledSide(newHeight, ratio);
      targetHeight = newHeight;
    }
  }
  return true;
}

FIBITMAP* ApplyResize(FIBITMAP* picture, int32_t width, int32_t height, const ConversionSettings& settings) {
  int32_t targetWidth = 0, targetHeight = 0;
  if (!picture || !ResizeTarget(width, height, settings, targetWidth, targetHeight)) return picture;
  // A side of 0 leaves no picture, and so does an enlargement past the
  // picture limit, which would ask for more memory than a file may have.
  FIBITMAP* resized = nullptr;
  if (FitsPictureLimit(targetWidth, targetHeight)) {
    resized = FreeImage_Rescale(picture, targetWidth, targetHeight, ResizeFilter(settings.imageResizeAlgorithm));
  }
  FreeImage_Unload(picture);
  return resized;
}

void ApplyFlip(FIBITMAP* picture, const ConversionSettings& settings) {
  if (!picture) return;
  if (settings.doImageFlipHorizontal) FreeImage_FlipHorizontal(picture);
  if (settings.doImageFlipVertical) FreeImage_FlipVertical(picture);
}

}  // namespace jpg2dds
