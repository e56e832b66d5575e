#include "batch/run_conversion.h"

namespace jpg2dds {

void RunConversion(bool, const RunOptions&, const ConversionSettings&, ConversionJob&, StringCatalogue&) {}

}  // namespace jpg2dds
