// Filename mask tokens and their expansion into output names and watermark
// texts.
#pragma once
#include <string>

#include "batch/conversion_job.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// Output file name (no folder) for the job's current input file.
std::string ExpandFilenameMask(const ConversionSettings& settings, const ConversionJob& job);

// The watermark Text with its tokens replaced; literal text keeps its case.
std::string ExpandWatermarkText(const ConversionSettings& settings, const ConversionJob& job);

// File name of a path without folder and without its last extension.
std::string NameWithoutExtension(const std::string& path);

}  // namespace jpg2dds
