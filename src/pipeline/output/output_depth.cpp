#include "pipeline/output/output_depth.h"

#include <cstdlib>

#include "formats/format_tables.h"
#include "pipeline/step_contract.h"

namespace jpg2dds {

int32_t PickAutoBitDepth(const std::string& outputType, int32_t sourceBitDepth) {
  const OutputFormat* format = FindOutputFormat(outputType);
  if (!format) return 0;
  const char* p = format->bppList;
  int32_t value = 0;
  while (*p) {
    value = static_cast<int32_t>(std::strtol(p, nullptr, 10));
    if (value >= sourceBitDepth) break;
    while (*p && *p != ',') ++p;
    if (*p == ',') ++p;
  }
  return value;
}

FIBITMAP* ConvertToOutputDepth(FIBITMAP* picture, ConversionJob& job) {
  if (!picture) return nullptr;
  if (job.keepSourceBitDepth) job.outputBitDepth = PickAutoBitDepth(job.outputType, job.sourceBitDepth);
  if (static_cast<int32_t>(FreeImage_GetBPP(picture)) == job.outputBitDepth) return picture;
  // Only 32 bits can be asked for (the DDS list), so this is the conversion.
  return ReplacePicture(picture, FreeImage_ConvertTo32Bits(picture));
}

}  // namespace jpg2dds
