// Pipeline step 13: the picture's pixels handed to DevIL, mipmaps built and
// the DDS file written safely under its final name.
#pragma once
#include <FreeImage.h>

#include <string>

#include "batch/conversion_job.h"
#include "batch/file_result.h"
#include "pipeline/step_timings.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// Writes the 32-bit picture as a DDS file with a full mipmap chain and always
// releases it. Records the output size and paths in the job and in
// `result`, with the format and size of the file written or the reason it
// was not. True only when the complete file stands under the output path;
// on any failure an existing output is untouched and no temporary file
// remains. DevIL must have been initialised (ilInit, iluInit). `timings`,
// when given, gets the DevIL time.
bool WriteDdsFile(FIBITMAP* picture, const ConversionSettings& settings, ConversionJob& job, FileResult& result,
                  StepTimings* timings = nullptr);

}  // namespace jpg2dds
