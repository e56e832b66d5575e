// Output bit depth: automatic choice and conversion before writing.
#pragma once
#include <FreeImage.h>

#include "batch/conversion_job.h"

namespace jpg2dds {

// With an automatic depth, records in the job the one the file is written
// with; a depth that was asked for stays.
void RecordOutputBitDepth(ConversionJob& job);

// Brings the picture to the job's output bit depth (recording it first);
// releases what it replaces.
FIBITMAP* ConvertToOutputDepth(FIBITMAP* picture, ConversionJob& job);

}  // namespace jpg2dds
