// Pipeline steps 4 to 6: rotation, resizing, flipping.
#pragma once
#include <FreeImage.h>

#include <cstdint>

#include "settings/conversion_settings.h"

namespace jpg2dds {

// Turns the picture by Image Rotation degrees (1 to 359 only); releases what
// it replaces.
FIBITMAP* ApplyRotation(FIBITMAP* picture, const ConversionSettings& settings);

// The size the resize settings make of a picture of the given size; false
// when they leave it as it is.
bool ResizeTarget(int32_t width, int32_t height, const ConversionSettings& settings, int32_t& targetWidth,
                  int32_t& targetHeight);

// Rescales a picture of the given current size to the target of the resize
// settings; releases what it replaces.
FIBITMAP* ApplyResize(FIBITMAP* picture, int32_t width, int32_t height, const ConversionSettings& settings);

// Mirrors horizontally, then vertically, in place.
void ApplyFlip(FIBITMAP* picture, const ConversionSettings& settings);

// Target size of one side: pixels as given, or a percentage of the current
// side rounded half to even; 0 for an unknown unit.
int32_t ResizeDimension(int32_t value, int32_t unit, int32_t current);

// FreeImage's filter for an Image Resize Algorithm value.
FREE_IMAGE_FILTER ResizeFilter(int32_t algorithm);

}  // namespace jpg2dds
