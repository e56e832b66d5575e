#include "pipeline/output/output_depth.h"

#include "formats/format_tables.h"
#include "pipeline/step_contract.h"

namespace jpg2dds {

void RecordOutputBitDepth(ConversionJob& job) {
  if (job.keepSourceBitDepth) job.outputBitDepth = PickAutoBitDepth(job.outputType, job.sourceBitDepth);
}

FIBITMAP* ConvertToOutputDepth(FIBITMAP* picture, ConversionJob& job) {
  if (!picture) return nullptr;
  RecordOutputBitDepth(job);
  if (static_cast<int32_t>(FreeImage_GetBPP(picture)) == job.outputBitDepth) return picture;
  // Only 32 bits can be asked for (the DDS list), so this is the conversion.
  return ReplacePicture(picture, FreeImage_ConvertTo32Bits(picture));
}

}  // namespace jpg2dds
