// The text watermark's overlay: a block of one or more lines of text on a
// background, drawn plain or smoothed.
#pragma once
#include <FreeImage.h>

#include "batch/conversion_job.h"
#include "pipeline/overlays/watermark_placement.h"
#include "platform/font.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// The font the watermark settings ask for: Font, Font Size, Font Style and
// Font Effect.
FontRequest WatermarkFontRequest(const ConversionSettings& settings);

// x of a line `lineWidth` wide inside a block `blockWidth` wide, by Text
// Alignment and Text Padding; CENTER rounds halves away from zero.
int AlignLine(int lineWidth, int blockWidth, const ConversionSettings& settings);

// The overlay (32-bit, straight alpha, upright) for the expanded watermark
// text, of no more than the block's top-left part `keep`; null when there
// is no font, nothing is kept or it cannot be drawn.
FIBITMAP* RenderTextWatermark(const ConversionSettings& settings, const ConversionJob& job, const WatermarkFont* font,
                              OverlaySize keep);

}  // namespace jpg2dds
