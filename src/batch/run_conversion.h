// The batch driver of a command-line conversion run.
#pragma once
#include "app/run_options.h"
#include "batch/conversion_job.h"
#include "settings/conversion_settings.h"
#include "texts/string_catalogue.h"

namespace jpg2dds {

// How a run ended, for an exit status that tells it.
enum class RunOutcome {
  kComplete,  // every input converted or skipped (a run that found none too)
  kFailures,  // at least one input failed, or a line of the report was lost
  kStopped,   // an "Error: " line ended the run before converting
};

// Validates, collects the input and converts it on one worker thread,
// printing status, report and error lines, and writing the report file when
// one is asked for: the subfolders that could not be read first, then the
// inputs. Such a folder makes the run one with failures.
RunOutcome RunConversion(bool quiet, const RunOptions& runOptions, const ConversionSettings& settings,
                         ConversionJob& job, StringCatalogue& catalogue);

}  // namespace jpg2dds
