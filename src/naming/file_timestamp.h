// The output file's modification time.
#pragma once
#include <string>

#include "settings/conversion_settings.h"

namespace jpg2dds {

// CURRENT: as written; ORIGINAL: the input's, to the second; CUSTOM: the
// Custom Timestamp date value. Failures are ignored.
void ApplyFileTimestamp(const ConversionSettings& settings, const std::string& outputPath,
                        const std::string& inputPath);

}  // namespace jpg2dds
