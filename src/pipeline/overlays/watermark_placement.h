// Placement shared by the text and picture watermarks: rotation, fitting
// into the placement area, and the anchor position.
#pragma once
#include <FreeImage.h>

#include <cstdint>

#include "settings/conversion_settings.h"

namespace jpg2dds {

// The placement settings of the watermark kind chosen in `Do Watermark`
// (the text ones for TEXT, the image ones otherwise).
struct WatermarkPlacement {
  int32_t boundary = 0;
  int32_t position = 0;
  int32_t xOffset = 0;
  int32_t yOffset = 0;
  int32_t rotation = 0;
};

WatermarkPlacement PlacementOf(const ConversionSettings& settings);

// Top-left corner of the overlay in the picture; wide enough that extreme
// offsets cannot overflow.
struct WatermarkPosition {
  int64_t x = 0;
  int64_t y = 0;
};

// A size in pixels, wide enough for any setting.
struct OverlaySize {
  int64_t width = 0;
  int64_t height = 0;
};

inline constexpr OverlaySize kWholeOverlay{INT64_MAX, INT64_MAX};

// The most of an overlay's top-left corner that can show in a width x
// height picture: FitWatermark cuts an unturned overlay to the placement
// area beside the offsets, so nothing beyond that part need be made. A
// turned overlay is needed whole (kWholeOverlay). Empty (0 or less) when
// nothing can show.
OverlaySize VisibleOverlayPart(int width, int height, const ConversionSettings& settings);

// Turns the overlay by the kind's rotation when it is 1 to 359 degrees; the
// uncovered corners are transparent. Releases what it replaces; null when
// the turn fails.
FIBITMAP* RotateWatermark(FIBITMAP* overlay, const ConversionSettings& settings);

// Cuts the overlay to its top-left part that fits the placement area beside
// the offsets (applied for every anchor). Releases what it replaces; null
// when nothing remains.
FIBITMAP* FitWatermark(FIBITMAP* overlay, int width, int height, int overlayWidth, int overlayHeight,
                       const ConversionSettings& settings);

// Where the overlay's top-left corner goes in a width x height picture.
WatermarkPosition PlaceWatermark(int width, int height, int overlayWidth, int overlayHeight,
                                 const ConversionSettings& settings);

}  // namespace jpg2dds
