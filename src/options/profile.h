// Profile files: the "CLI" group of an INI file, keys named like the long
// options.
#pragma once
#include <string>

#include "settings/conversion_settings.h"

namespace jpg2dds {

// Applies the profile's keys to the settings in file order. False when the
// path is empty or the file cannot be opened and read; nothing changes then.
// A readable file without a "CLI" group is accepted and changes nothing.
bool LoadProfile(const std::string& path, ConversionSettings& settings);

}  // namespace jpg2dds
