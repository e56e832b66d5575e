// Where an output file goes: output folder, kept subfolder, masked name.
#pragma once
#include <string>

#include "batch/conversion_job.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// The entry's output folder: its own, else the run's.
const std::string& EntryOutputFolder(const ConversionJob& job);

// The entry's output folder, then the current subfolder when Keep
// Subfolders is on. The temporary file of a write lives here too.
std::string OutputFolderPart(const ConversionSettings& settings, const ConversionJob& job);

// OutputFolderPart + the expanded filename mask; nothing added, nothing
// checked on disk.
std::string BuildOutputPath(const ConversionSettings& settings, const ConversionJob& job);

}  // namespace jpg2dds
