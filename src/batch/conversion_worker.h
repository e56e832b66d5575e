// Third phase of a conversion run: the worker that converts every listed
// file, and the progress it shares with its starter.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "app/run_options.h"
#include "batch/conversion_job.h"
#include "batch/run_report.h"
#include "platform/font.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

struct ConversionProgress {
  std::mutex mutex;
  int32_t currentFileNumber = 0;  // guarded
  std::string currentFilePath;    // guarded
  int32_t convertedCount = 0;     // guarded; written once, at the end
  std::atomic<bool> running{false};  // written under the mutex, read without it
  bool statusLineShown = false;   // the in-place progress line is on the terminal (worker only)
};

// Converts every entry of the job's input list while running is true, or
// skips it when Skip Up To Date is on and its output is up to date; returns
// the converted count (also stored in the progress). Each input's result is
// counted in the report and written to its file as the input ends;
// `skippedLine` takes the place of "OK" in debug mode for a skipped input.
// With more than one file and job.threads above 1, files are prepared on
// that many threads at once, DevIL's part of each in one of as many helper
// processes, and written one at a time in input order, so the files, their
// names, the lines printed and the counters are those of a run file by file.
// A single file with job.threads above 1 has DevIL's part of a large
// picture made in pieces side by side, by helpers and the worker.
int32_t ConversionWorker(const RunOptions& runOptions, const ConversionSettings& settings, ConversionJob& job,
                         const WatermarkFont* font, ConversionProgress& progress, RunReport& report,
                         const std::string& skippedLine);

// "[ 37/500] name.jpg": the number of the file, right-aligned to the width
// of the total, and the file's name without its folder. Characters of the
// name that a terminal would act on are shown as octal escapes of their
// bytes (ESC as \033), as is a byte that is not UTF-8. With a terminal of
// `columns` columns (0: unknown) the line keeps off the last one, cutting
// the middle out of the name; the counter stays whole.
std::string StatusLineText(int32_t number, int32_t total, const std::string& path, int columns = 0);

}  // namespace jpg2dds
