// The per-file conversion: load, edit, write one DDS file.
#pragma once
#include "batch/conversion_job.h"
#include "pipeline/step_timings.h"
#include "platform/font.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// Converts the job's current input file; true exactly when the output file
// was written. Prints nothing. `font` is the run's watermark font or null.
// `timings`, when given, gets the decode and DevIL durations (benchmark).
bool ConvertFile(const ConversionSettings& settings, ConversionJob& job, const WatermarkFont* font,
                 StepTimings* timings = nullptr);

}  // namespace jpg2dds
