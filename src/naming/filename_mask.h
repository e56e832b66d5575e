// Filename mask tokens and their expansion into output names and watermark
// texts.
#pragma once
#include <string>

#include "batch/conversion_job.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// When a token's value is known.
enum class TokenValueKind {
  kInput,        // the input's name, the output type: before the input is converted
  kClock,        // the clock at the moment the token is replaced
  kDepth,        // the output bit depth: picked for each picture when automatic
  kPictureSize,  // the picture as written
  kRunCounter,   // advanced after each file written, drawn anew in every run
};

// One token of the mask and how its value is made. Values are read when the
// token is replaced, so the date tokens see the clock of that moment.
struct FilenameToken {
  const char* token;  // lower case, with its "%" signs
  std::string (*value)(const ConversionJob& job);
  TokenValueKind kind;
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

// Whether the mask makes a name that is known before the input is converted
// and comes out the same in every run: only tokens of the input, and the
// depth token when `depthKnown` (the depth does not depend on the picture).
bool MaskKnownBeforeConverting(const ConversionSettings& settings, bool depthKnown);

// Whether expanding the watermark text reads the run's counters (%rnd%, %n%),
// which only advance once the files before have been written.
bool WatermarkTextUsesRunCounters(const ConversionSettings& settings);

// Every occurrence of the token, compared without regard to case, replaced
// by the token's value.
std::string ReplaceToken(const std::string& text, const FilenameToken& token, const ConversionJob& job);

// File name of a path without folder and without its last extension.
std::string NameWithoutExtension(const std::string& path);

}  // namespace jpg2dds
