// Pipeline step: the solid frame painted inside the picture's border.
#pragma once
#include <FreeImage.h>

#include "settings/conversion_settings.h"

namespace jpg2dds {

// Returns the picture that replaces `picture` (24 bits when the frame is on).
FIBITMAP* ApplyFrame(FIBITMAP* picture, int width, int height, const ConversionSettings& settings);

}  // namespace jpg2dds
