// The command-line option parser.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "app/run_options.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// Walks every argument into the settings and run options; returns the error
// text of the first refused option, or empty.
std::string ParseOptions(const std::vector<std::string>& args, ConversionSettings& settings,
                         RunOptions& runOptions);

// The value of the argument at a position: trimmed of blanks; the part after
// the first "=" of a "--NAME=VALUE" argument, else the whole argument; empty
// past the last argument.
std::string OptionValue(const std::vector<std::string>& args, size_t position);

}  // namespace jpg2dds
