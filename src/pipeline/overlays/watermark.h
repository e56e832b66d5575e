// Pipeline step: a text or picture watermark laid over the picture.
#pragma once
#include <FreeImage.h>

#include "batch/conversion_job.h"
#include "platform/font.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// Returns the picture that replaces `picture`. For a text watermark the job's
// output width, height and (automatic) bit depth are recorded first so the
// text's tokens show this file's values. `font` may be null.
FIBITMAP* ApplyWatermark(FIBITMAP* picture, int width, int height, const ConversionSettings& settings,
                         ConversionJob& job, const WatermarkFont* font);

}  // namespace jpg2dds
