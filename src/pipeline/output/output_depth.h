// Output bit depth: automatic choice and conversion before writing.
#pragma once
#include <FreeImage.h>

#include <cstdint>
#include <string>

#include "batch/conversion_job.h"

namespace jpg2dds {

// First depth of the output type's list not below the source depth, else the
// last one.
int32_t PickAutoBitDepth(const std::string& outputType, int32_t sourceBitDepth);

// Brings the picture to the job's output bit depth (choosing it first when
// automatic); releases what it replaces.
FIBITMAP* ConvertToOutputDepth(FIBITMAP* picture, ConversionJob& job);

}  // namespace jpg2dds
