// Pipeline steps 7 to 9: colour correction, greyscale, threshold.
#pragma once
#include <FreeImage.h>

#include "settings/conversion_settings.h"

namespace jpg2dds {

// Brightness, contrast, gamma and inversion in one pass, in place.
FIBITMAP* ApplyColorCorrection(FIBITMAP* picture, const ConversionSettings& settings);

// 8-bit greyscale; releases what it replaces.
FIBITMAP* ApplyGreyscale(FIBITMAP* picture, const ConversionSettings& settings);

// 1-bit black and white at the low byte of Image Threshold; releases what it
// replaces.
FIBITMAP* ApplyThreshold(FIBITMAP* picture, const ConversionSettings& settings);

}  // namespace jpg2dds
