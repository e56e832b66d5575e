#include "pipeline/watermark.h"

namespace jpg2dds {

FIBITMAP* ApplyWatermark(FIBITMAP* picture, int, int, const ConversionSettings&, ConversionJob&,
                         const WatermarkFont*) {
  return picture;
}

}  // namespace jpg2dds
