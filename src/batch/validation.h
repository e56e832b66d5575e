// First phase of a conversion run: checks, output folder resolution, the
// debug settings report and the watermark font.
#pragma once
#include <string>
#include <vector>

#include "app/run_options.h"
#include "batch/conversion_job.h"
#include "platform/font.h"
#include "settings/conversion_settings.h"
#include "texts/string_catalogue.h"

namespace jpg2dds {

enum class FolderResolution { kResolved, kRefused };

// Resolves an output folder as typed: "..." prefixes are refused; "/..." is
// absolute; anything else is relative to the program folder (a leading "./"
// dropped). The result always ends with "/".
FolderResolution ResolveOutputFolder(const std::string& typed, const std::string& programFolder,
                                     std::string& resolved);

// The inputs of a batch run in the order named: the folders and lists, with
// the -i file (when there is one) where the last -i stood among them. Empty
// without folders and lists: that run converts the one -i file.
std::vector<NamedInput> NamedInputsInOrder(const RunOptions& runOptions, const ConversionSettings& settings);

// Image Gamma as the settings report shows it: two decimals.
std::string FormatGamma(float gamma);

// Runs every check in order, printing the report in debug mode: in a batch
// run one "Input: " line and check per named input, then "Output: " with
// the -o folder as typed (without -o, the -i file's folder, or nothing when
// there is no -i file); the output folder is resolved and checked when the
// run has one. Returns
// false after printing the first failure's "Error: " line. On success the
// job's run-wide fields are set and `font` holds the watermark font when a
// text watermark is chosen (else null).
bool ValidateSettings(bool quiet, const RunOptions& runOptions, const ConversionSettings& settings,
                      ConversionJob& job, StringCatalogue& catalogue, WatermarkFont*& font);

}  // namespace jpg2dds
