// The batch driver of a command-line conversion run.
#pragma once
#include "app/run_options.h"
#include "batch/conversion_job.h"
#include "settings/conversion_settings.h"
#include "texts/string_catalogue.h"

namespace jpg2dds {

// Validates, collects the input and converts it on one worker thread,
// printing status, report and error lines.
void RunConversion(bool quiet, const RunOptions& runOptions, const ConversionSettings& settings,
                   ConversionJob& job, StringCatalogue& catalogue);

}  // namespace jpg2dds
