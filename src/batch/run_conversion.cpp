#include "batch/run_conversion.h"

#include <chrono>
#include <thread>

#include "batch/conversion_worker.h"
#include "batch/input_collection.h"
#include "batch/run_report.h"
#include "batch/validation.h"
#include "platform/console.h"
#include "platform/line_file.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

using Clock = std::chrono::steady_clock;

// Converts the collected files and prints the summary; the counts go into
// the report.
void ConvertCollected(bool quiet, int32_t total, const RunOptions& runOptions, const ConversionSettings& settings,
                      ConversionJob& job, StringCatalogue& catalogue, WatermarkFont* font, RunReport& report) {
  if (!quiet) PrintLine(CatalogueText(catalogue, "General", "Converting"));
  ConversionProgress progress;
  progress.running = true;
  const std::string skippedLine = CatalogueText(catalogue, "Batch", "Up to date");
  // One worker; the main thread only waits for it.
  std::thread worker([&] { ConversionWorker(runOptions, settings, job, font, progress, report, skippedLine); });
  worker.join();
  int32_t converted;
  {
    std::lock_guard<std::mutex> lock(progress.mutex);
    converted = progress.convertedCount;
  }
  if (progress.statusLineShown) ShowStatusLine("");
  const int32_t skipped = report.counts.skipped;
  if (converted + skipped > 0) {
    if (!quiet) {
      PrintLine(CatalogueText(catalogue, "Msg", "Conversion complete"));
      PrintLine(SubstituteArgs(CatalogueText(catalogue, "Msg", "Files converted"), std::to_string(converted),
                               std::to_string(total), "", ""));
      if (settings.skipUpToDate) {
        PrintLine(SubstituteArgs(CatalogueText(catalogue, "Batch", "Files skipped"), std::to_string(skipped), "",
                                 "", ""));
      }
    }
  } else {
    PrintLine(CatalogueText(catalogue, "Msg", "Conversion is not complete"));
  }
}

}  // namespace

RunOutcome RunConversion(bool quiet, const RunOptions& runOptions, const ConversionSettings& settings,
                         ConversionJob& job, StringCatalogue& catalogue) {
  const Clock::time_point start = Clock::now();
  WatermarkFont* font = nullptr;
  bool ready = ValidateSettings(quiet, runOptions, settings, job, catalogue, font);
  RunReport report;
  // Made (or emptied) before the inputs are read: a run asked for a report
  // leaves one, or stops here.
  if (ready && !settings.reportFile.empty()) {
    report.fd = CreateLineFile(settings.reportFile);
    if (report.fd < 0) {
      PrintLine("Error: " + CatalogueText(catalogue, "Batch", "Invalid report file"));
      ready = false;
    }
  }
  bool collected = false;
  const int32_t total = ready ? CollectInput(quiet, job, catalogue, collected) : 0;
  if (total > 0) ConvertCollected(quiet, total, runOptions, settings, job, catalogue, font, report);
  ReleaseWatermarkFont(font);
  FinishReport(report, std::chrono::duration<double>(Clock::now() - start).count());
  if (!ready || !collected) return RunOutcome::kStopped;
  return report.counts.failed > 0 || !report.whole ? RunOutcome::kFailures : RunOutcome::kComplete;
}

}  // namespace jpg2dds
