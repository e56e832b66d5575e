// Filename mask tokens and their expansion into output names and watermark
// texts.
#pragma once
#include <string>

#include "batch/conversion_job.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// One token of the mask and how its value is made. Values are read when the
// token is replaced, so the date tokens see the clock of that moment.
struct FilenameToken {
  const char* token;  // lower case, with its "%" signs
  std::string (*value)(const ConversionJob& job);
};

// The 18 tokens, always visited in this order.
extern const FilenameToken FilenameTokens[];
extern const int kFilenameTokenCount;

// Mask used when the Filename Mask setting is empty.
inline constexpr const char* kDefaultFilenameMask = "%filename%.%ext%";

// Output file name (no folder) for the job's current input file.
std::string ExpandFilenameMask(const ConversionSettings& settings, const ConversionJob& job);

// The watermark Text with its tokens replaced; literal text keeps its case.
std::string ExpandWatermarkText(const ConversionSettings& settings, const ConversionJob& job);

// Whether expanding the watermark text reads the run's counters (%rnd%, %n%),
// which only advance once the files before have been written.
bool WatermarkTextUsesRunCounters(const ConversionSettings& settings);

// Every occurrence of the token, compared without regard to case, replaced
// by the token's value.
std::string ReplaceToken(const std::string& text, const FilenameToken& token, const ConversionJob& job);

// File name of a path without folder and without its last extension.
std::string NameWithoutExtension(const std::string& path);

}  // namespace jpg2dds
