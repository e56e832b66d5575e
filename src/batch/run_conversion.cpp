#include "batch/run_conversion.h"

#include <chrono>

#include "batch/conversion_worker.h"
#include "batch/input_collection.h"
#include "batch/run_report.h"
#include "batch/validation.h"
#include "platform/console.h"
#include "platform/line_file.h"
#include "platform/threads.h"
#include "settings/keywords.h"

namespace jpg2dds {

RunOutcome RunConversion(bool quiet, const RunOptions& runOptions, const ConversionSettings& settings,
                         ConversionJob& job, StringCatalogue& catalogue) {
  const auto start = std::chrono::steady_clock::now();
  WatermarkFont* font = nullptr;
  bool valid = ValidateSettings(quiet, runOptions, settings, job, catalogue, font);
  RunReport report;
  // Made (or emptied) before the inputs are read: a run asked for a report
  // leaves one, or stops here.
  if (valid && !settings.reportFile.empty()) {
    report.fd = CreateLineFile(settings.reportFile);
    if (report.fd < 0) {
      PrintLine("Error: " + CatalogueText(catalogue, "Batch", "Invalid report file"));
      valid = false;
    }
  }
  bool collected = false;
  int32_t total = valid ? CollectInput(quiet, job, catalogue, collected) : 0;
  // Their lines were printed while the inputs were collected: they come
  // first in the report too.
  for (const std::string& folder : job.unreadableFolders) ReportUnreadableFolder(report, folder);
  if (total > 0) {
    if (!quiet) PrintLine(CatalogueText(catalogue, "General", "Converting"));
    ConversionProgress progress;
    progress.running = true;
    const std::string skippedLine = CatalogueText(catalogue, "Batch", "Up to date");
    // One worker; the main thread only waits for it, or is the worker itself
    // when the system gives no thread.
    RunOnOwnThread([&] { ConversionWorker(runOptions, settings, job, font, progress, report, skippedLine); });
    int32_t converted;
    {
      std::lock_guard<std::mutex> lock(progress.mutex);
      converted = progress.convertedCount;
    }
    if (progress.statusLineShown) ShowStatusLine("");
    // A run that only skipped files has done what it was asked to.
    if (converted + report.counts.skipped > 0) {
      if (!quiet) {
        PrintLine(CatalogueText(catalogue, "Msg", "Conversion complete"));
        PrintLine(SubstituteArgs(CatalogueText(catalogue, "Msg", "Files converted"), std::to_string(converted),
                                 std::to_string(total), "", ""));
        if (settings.skipUpToDate) {
          PrintLine(SubstituteArgs(CatalogueText(catalogue, "Batch", "Files skipped"),
                                   std::to_string(report.counts.skipped), "", "", ""));
        }
      }
    } else {
      PrintLine(CatalogueText(catalogue, "Msg", "Conversion is not complete"));
    }
  }
  ReleaseWatermarkFont(font);
  FinishReport(report, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  if (!valid || !collected) return RunOutcome::kStopped;
  return report.counts.failed > 0 || !report.whole ? RunOutcome::kFailures : RunOutcome::kComplete;
}

}  // namespace jpg2dds
