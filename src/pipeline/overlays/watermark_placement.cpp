#include "pipeline/overlays/watermark_placement.h"

#include <algorithm>

#include "pipeline/load/picture_limits.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

// The area the overlay is placed in: the whole picture, or the inside of the
// frame when a frame is on and the kind is bounded by it.
struct PlacementArea {
  int64_t width = 0;
  int64_t height = 0;
  int64_t baseX = 0;
  int64_t baseY = 0;
};

PlacementArea AreaOf(int width, int height, const ConversionSettings& settings) {
  PlacementArea area{width, height, 0, 0};
  if (settings.doFrame != choice::kFrameNone && PlacementOf(settings).boundary == choice::kBoundaryFrame) {
    area.width = int64_t{width} - settings.solidLeft - settings.solidRight;
    area.height = int64_t{height} - settings.solidTop - settings.solidBottom;
    area.baseX = settings.solidLeft;
    area.baseY = settings.solidTop;
  }
  return area;
}

bool Turns(const ConversionSettings& settings) {
  const int32_t angle = PlacementOf(settings).rotation;
  return angle > 0 && angle < 360;
}

// The area beside the offsets, which FitWatermark fits the overlay into.
OverlaySize RoomBesideOffsets(int width, int height, const ConversionSettings& settings) {
  const WatermarkPlacement placement = PlacementOf(settings);
  const PlacementArea area = AreaOf(width, height, settings);
  return {area.width - placement.xOffset, area.height - placement.yOffset};
}

}  // namespace

WatermarkPlacement PlacementOf(const ConversionSettings& s) {
  if (s.doWatermark == choice::kWatermarkText) {
    return {s.textBoundary, s.textPosition, s.textXOffset, s.textYOffset, s.textRotation};
  }
  return {s.imageBoundary, s.imagePosition, s.imageXOffset, s.imageYOffset, s.watermarkImageRotation};
}

OverlaySize VisibleOverlayPart(int width, int height, const ConversionSettings& settings) {
  return Turns(settings) ? kWholeOverlay : RoomBesideOffsets(width, height, settings);
}

FIBITMAP* RotateWatermark(FIBITMAP* overlay, const ConversionSettings& settings) {
  const int32_t angle = PlacementOf(settings).rotation;
  if (!overlay || !Turns(settings)) return overlay;
  // A watermark too large to turn is left out, like one that cannot be drawn.
  FIBITMAP* turned = nullptr;
  if (FitsPictureLimitWhenTurned(FreeImage_GetWidth(overlay), FreeImage_GetHeight(overlay), angle)) {
    turned = FreeImage_Rotate(overlay, static_cast<double>(angle), nullptr);
  }
  FreeImage_Unload(overlay);
  return turned;
}

FIBITMAP* FitWatermark(FIBITMAP* overlay, int width, int height, int overlayWidth, int overlayHeight,
                       const ConversionSettings& settings) {
  if (!overlay) return nullptr;
  const OverlaySize room = RoomBesideOffsets(width, height, settings);
  const int64_t ow = std::min<int64_t>(overlayWidth, room.width), oh = std::min<int64_t>(overlayHeight, room.height);
  if (ow == overlayWidth && oh == overlayHeight) return overlay;
  FIBITMAP* part = nullptr;
  if (ow > 0 && oh > 0) part = FreeImage_Copy(overlay, 0, 0, static_cast<int>(ow), static_cast<int>(oh));
  FreeImage_Unload(overlay);
  return part;
}

WatermarkPosition PlaceWatermark(int width, int height, int overlayWidth, int overlayHeight,
                                 const ConversionSettings& settings) {
  const WatermarkPlacement placement = PlacementOf(settings);
  const PlacementArea area = AreaOf(width, height, settings);
  const int64_t xo = placement.xOffset, yo = placement.yOffset;
  const int64_t left = xo, centre = (area.width - overlayWidth) / 2, right = area.width - overlayWidth - xo;
  const int64_t top = yo, middle = (area.height - overlayHeight) / 2, bottom = area.height - overlayHeight - yo;
  WatermarkPosition at;
  switch (placement.position) {
    case choice::kTopLeft: at = {left, top}; break;
    case choice::kTopCenter: at = {centre, top}; break;
    case choice::kTopRight: at = {right, top}; break;
    case choice::kMiddleLeft: at = {left, middle}; break;
    case choice::kMiddleCenter: at = {centre, middle}; break;
    case choice::kMiddleRight: at = {right, middle}; break;
    case choice::kBottomLeft: at = {left, bottom}; break;
    case choice::kBottomCenter: at = {centre, bottom}; break;
    case choice::kBottomRight: at = {right, bottom}; break;
    default: break;
  }
  return {area.baseX + at.x, area.baseY + at.y};
}

}  // namespace jpg2dds
