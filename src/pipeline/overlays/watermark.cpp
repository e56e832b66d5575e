#include "pipeline/overlays/watermark.h"

#include <cstdint>

#include "pipeline/output/output_depth.h"
#include "pipeline/overlays/image_watermark.h"
#include "pipeline/overlays/text_watermark.h"
#include "pipeline/overlays/watermark_placement.h"
#include "pipeline/step_contract.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

// FreeImage_Paste with an alpha of 255 still blends at 255/256, which would
// leave every pasted pixel one step short; above 255 it copies them as they are.
constexpr int kPasteCopy = 256;

// Lays the overlay over the picture with its top-left corner at `at`. An
// overlay that does not lie wholly inside the picture is left out, as a
// paste onto a picture-sized canvas would leave it out. Only the covered
// rectangle is composited: the rest of such a canvas is transparent and
// would leave the picture as it is, at the price of two full-size buffers.
void CompositeOverlay(FIBITMAP* picture, FIBITMAP* overlay, int width, int height, WatermarkPosition at) {
  const int64_t ow = FreeImage_GetWidth(overlay), oh = FreeImage_GetHeight(overlay);
  if (at.x < 0 || at.y < 0 || at.x + ow > width || at.y + oh > height) return;
  if (width != static_cast<int>(FreeImage_GetWidth(picture)) ||
      height != static_cast<int>(FreeImage_GetHeight(picture))) {
    return;
  }
  const int x = static_cast<int>(at.x), y = static_cast<int>(at.y);
  FIBITMAP* under = FreeImage_Copy(picture, x, y, x + static_cast<int>(ow), y + static_cast<int>(oh));
  FIBITMAP* marked = under ? FreeImage_Composite(overlay, FALSE, nullptr, under) : nullptr;
  if (marked) FreeImage_Paste(picture, marked, x, y, kPasteCopy);
  if (marked) FreeImage_Unload(marked);
  if (under) FreeImage_Unload(under);
}

// The watermark laid over the 24-bit picture; one that cannot be made is
// left out.
void DrawWatermark(FIBITMAP* picture, int width, int height, const ConversionSettings& settings,
                   ConversionJob& job, const WatermarkFont* font) {
  FIBITMAP* overlay = nullptr;
  if (settings.doWatermark == choice::kWatermarkText) {
    // The tokens of the text show the values this file is written with.
    job.outputWidth = width;
    job.outputHeight = height;
    RecordOutputBitDepth(job);
    overlay = RenderTextWatermark(settings, job, font, VisibleOverlayPart(width, height, settings));
  } else if (settings.doWatermark == choice::kWatermarkImage) {
    overlay = RenderImageWatermark(settings, VisibleOverlayPart(width, height, settings));
  }
  overlay = RotateWatermark(overlay, settings);
  if (!overlay) return;

  overlay = FitWatermark(overlay, width, height, static_cast<int>(FreeImage_GetWidth(overlay)),
                         static_cast<int>(FreeImage_GetHeight(overlay)), settings);
  if (!overlay) return;
  const int ow = static_cast<int>(FreeImage_GetWidth(overlay));
  const int oh = static_cast<int>(FreeImage_GetHeight(overlay));
  CompositeOverlay(picture, overlay, width, height, PlaceWatermark(width, height, ow, oh, settings));
  FreeImage_Unload(overlay);
}

}  // namespace

FIBITMAP* ApplyWatermark(FIBITMAP* picture, int width, int height, const ConversionSettings& settings,
                         ConversionJob& job, const WatermarkFont* font) {
  if (!picture || settings.doWatermark == choice::kWatermarkNone) return picture;
  if (FreeImage_GetBPP(picture) != 24) {
    picture = ReplaceWith24Bits(picture);
    if (!picture) return nullptr;
  }
  return DrawOrFail(picture, [&](FIBITMAP* marked) { DrawWatermark(marked, width, height, settings, job, font); });
}

}  // namespace jpg2dds
