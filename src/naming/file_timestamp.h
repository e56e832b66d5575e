// The modification time a written output file is given.
#pragma once
#include <string>

#include "settings/conversion_settings.h"

namespace jpg2dds {

// CURRENT: the time of writing stays. ORIGINAL: the input's time, to the
// second. CUSTOM: the Custom Timestamp date value. Failures are ignored.
void ApplyFileTimestamp(const ConversionSettings& settings, const std::string& outputPath,
                        const std::string& inputPath);

}  // namespace jpg2dds
