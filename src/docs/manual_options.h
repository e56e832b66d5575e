// The OPTIONS section of the manual page, made from the option table, the
// keyword tables and the documentation table, so it cannot fall behind them.
#pragma once
#include <string>

#include "settings/conversion_settings.h"

namespace jpg2dds {

// The section's subsections and entries in roff, without the ".SH" line:
// first the options that are not table rows, then the rows group by group,
// in table order. Defaults are read from `defaults` (the console defaults).
std::string ManualOptionsSection(const ConversionSettings& defaults);

}  // namespace jpg2dds
