#include "pipeline/convert_file.h"

namespace jpg2dds {

bool ConvertFile(const ConversionSettings&, ConversionJob&, const WatermarkFont*) { return false; }

}  // namespace jpg2dds
