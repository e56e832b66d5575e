// Third phase of a conversion run: the worker thread that converts every
// listed file, and the progress it shares with its starter.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "app/run_options.h"
#include "batch/conversion_job.h"
#include "platform/font.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

struct ConversionProgress {
  std::mutex mutex;
  int32_t currentFileNumber = 0;  // guarded
  std::string currentFilePath;    // guarded
  int32_t convertedCount = 0;     // guarded; written once, at the end
  std::atomic<bool> running{false};  // written under the mutex, read without it
};

// Converts every entry of the job's input list while running is true;
// returns the converted count (also stored in the progress).
int32_t ConversionWorker(const RunOptions& runOptions, const ConversionSettings& settings, ConversionJob& job,
                         const WatermarkFont* font, ConversionProgress& progress);

}  // namespace jpg2dds
