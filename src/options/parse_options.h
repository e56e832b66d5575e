// The command-line option parser.
#pragma once
#include <string>
#include <vector>

#include "app/run_options.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// Walks every argument into the settings and run options; returns the error
// text of the first refused option, or empty.
std::string ParseOptions(const std::vector<std::string>& args, ConversionSettings& settings,
                         RunOptions& runOptions);

}  // namespace jpg2dds
