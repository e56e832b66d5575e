#include "pipeline/watermark.h"

#include <climits>

#include "pipeline/image_watermark.h"
#include "pipeline/output_depth.h"
#include "pipeline/text_watermark.h"
#include "pipeline/watermark_placement.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

// FreeImage_Paste with an alpha of 255 still blends at 255/256, which would
// leave every pasted pixel (alpha included) one step short; above 255 it
// copies the overlay's pixels as they are.
constexpr int kPasteCopy = 256;

bool InIntRange(int64_t value) { return value >= INT_MIN && value <= INT_MAX; }

// Lays the overlay over the picture at its place; the picture unchanged when
// the overlay does not lie wholly inside it.
FIBITMAP* CompositeOverlay(FIBITMAP* picture, FIBITMAP* overlay, int width, int height, WatermarkPosition at) {
  if (!InIntRange(at.x) || !InIntRange(at.y)) return picture;
  FIBITMAP* canvas = FreeImage_AllocateT(FIT_BITMAP, width, height, FreeImage_GetBPP(overlay), 0, 0, 0);
  if (!canvas) return picture;
  // Nothing is pasted when the overlay would reach outside the canvas; the
  // transparent canvas would then change nothing, so there is no composite.
  if (FreeImage_Paste(canvas, overlay, static_cast<int>(at.x), static_cast<int>(at.y), kPasteCopy)) {
    FIBITMAP* marked = FreeImage_Composite(canvas, FALSE, nullptr, picture);
    if (marked) {
      FreeImage_Unload(picture);
      picture = marked;
    }
  }
  FreeImage_Unload(canvas);
  return picture;
}

}  // namespace

FIBITMAP* ApplyWatermark(FIBITMAP* picture, int width, int height, const ConversionSettings& settings,
                         ConversionJob& job, const WatermarkFont* font) {
  if (!picture || settings.doWatermark == choice::kWatermarkNone) return picture;
  if (FreeImage_GetBPP(picture) != 24) {
    FIBITMAP* converted = FreeImage_ConvertTo24Bits(picture);
    FreeImage_Unload(picture);
    picture = converted;
    if (!picture) return nullptr;
  }

  FIBITMAP* overlay = nullptr;
  if (settings.doWatermark == choice::kWatermarkText) {
    // The tokens of the text show the values this file is written with.
    job.outputWidth = width;
    job.outputHeight = height;
    if (job.keepSourceBitDepth) job.outputBitDepth = PickAutoBitDepth(job.outputType, job.sourceBitDepth);
    overlay = RenderTextWatermark(settings, job, font);
  } else if (settings.doWatermark == choice::kWatermarkImage) {
    overlay = RenderImageWatermark(settings);
  }
  overlay = RotateWatermark(overlay, settings);
  if (!overlay) return picture;

  overlay = FitWatermark(overlay, width, height, static_cast<int>(FreeImage_GetWidth(overlay)),
                         static_cast<int>(FreeImage_GetHeight(overlay)), settings);
  if (!overlay) return picture;
  const int ow = static_cast<int>(FreeImage_GetWidth(overlay));
  const int oh = static_cast<int>(FreeImage_GetHeight(overlay));
  picture = CompositeOverlay(picture, overlay, width, height, PlaceWatermark(width, height, ow, oh, settings));
  FreeImage_Unload(overlay);
  return picture;
}

}  // namespace jpg2dds
