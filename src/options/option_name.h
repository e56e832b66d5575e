// How an argument is recognised as an option.
#pragma once
#include <string>

namespace jpg2dds {

// Trimmed of blanks; empty unless it begins with "-"; for "--" forms cut
// before the first "="; upper-cased.
std::string OptionName(const std::string& argument);

}  // namespace jpg2dds
