// The configuration file "config.ini" of a windowed front end: where it
// lives, and reading and writing every setting in its fixed layout.
#pragma once
#include <cstdint>
#include <string>

#include "settings/conversion_settings.h"

namespace jpg2dds {

// The layout version written into every file as CFG.
inline constexpr int32_t kConfigurationVersion = 18;

// The user's configuration folder + "/Brightmill/tessel/config.ini"; the
// folders are created when missing. Starts at "/" when the user's folder
// cannot be determined.
std::string ConfigurationPath();

// Reads the file into the settings. Every key is looked up by group and
// name; a missing key takes the windowed default (CFG 0, X and Y 100, the
// two times `now`). An unreadable file gives the windowed defaults. Older
// layouts are converted afterwards.
void LoadConfiguration(ConversionSettings& settings, const std::string& path, int32_t now);
void LoadConfiguration(ConversionSettings& settings, const std::string& path);

// The file's bytes for the settings.
std::string ConfigurationText(const ConversionSettings& settings);

// Replaces the file with the settings' layout, written whole under a
// temporary name first; on failure the old file stays and false is returned.
bool SaveConfiguration(const ConversionSettings& settings, const std::string& path);

}  // namespace jpg2dds
