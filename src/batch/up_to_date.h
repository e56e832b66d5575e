// --skip-up-to-date: an input whose output exists and is not older than the
// input is skipped, as make decides, from two stat() calls and no decoding.
#pragma once
#include <string>

#include "batch/conversion_job.h"
#include "batch/file_result.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// Whether every output name is known before its input is converted, and the
// same in every run, and the output keeps the time it was written at (or
// its input's): a mask with tokens of the input only (the depth token too
// when the depth does not depend on the picture: asked for, or the output
// format has one depth), and no custom file time.
bool SkippingIsPossible(const ConversionSettings& settings, const std::string& outputType);

// The output path of the job's current input when that output is up to
// date; empty when the input is to be converted.
std::string UpToDateOutput(const ConversionSettings& settings, ConversionJob& job);

// Skips the job's current input: the output path goes into the job and the
// result, and is claimed for the run, so a later input with the same output
// fails as after a written file. Failed (output-taken) when an earlier input
// of the run has that output.
FileResult SkipInput(ConversionJob& job, const std::string& outputPath);

}  // namespace jpg2dds
