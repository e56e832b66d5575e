// The picture watermark's overlay: a PNG, JPEG or BMP file with its opacity
// applied, optionally in grey.
#pragma once
#include <FreeImage.h>

#include "pipeline/overlays/watermark_placement.h"
#include "platform/drawing.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// (77 R + 150 G + 29 B) / 256 in all three colour channels, alpha kept.
Colour GreyPixel(Colour pixel);

// The overlay (32-bit, straight alpha, upright) made from the Image file,
// decoded anew on every call, of no more than its top-left part `keep`;
// null when the file cannot be decoded, claims more than kMaxPicturePixels
// or nothing of it is kept.
FIBITMAP* RenderImageWatermark(const ConversionSettings& settings, OverlaySize keep);

}  // namespace jpg2dds
