#include "batch/run_conversion.h"

#include "batch/conversion_worker.h"
#include "batch/input_collection.h"
#include "batch/validation.h"
#include "platform/console.h"
#include "platform/threads.h"
#include "settings/keywords.h"

namespace jpg2dds {

void RunConversion(bool quiet, const RunOptions& runOptions, const ConversionSettings& settings,
                   ConversionJob& job, StringCatalogue& catalogue) {
  WatermarkFont* font = nullptr;
  bool valid = ValidateSettings(quiet, runOptions, settings, job, catalogue, font);
  int32_t total = valid ? CollectInput(quiet, job, catalogue) : 0;
  if (total > 0) {
    if (!quiet) PrintLine(CatalogueText(catalogue, "General", "Converting"));
    ConversionProgress progress;
    progress.running = true;
    // One worker; the main thread only waits for it, or is the worker itself
    // when the system gives no thread.
    RunOnOwnThread([&] { ConversionWorker(runOptions, settings, job, font, progress); });
    int32_t converted;
    {
      std::lock_guard<std::mutex> lock(progress.mutex);
      converted = progress.convertedCount;
    }
    if (progress.statusLineShown) ShowStatusLine("");
    if (converted > 0) {
      if (!quiet) {
        PrintLine(CatalogueText(catalogue, "Msg", "Conversion complete"));
        PrintLine(SubstituteArgs(CatalogueText(catalogue, "Msg", "Files converted"), std::to_string(converted),
                                 std::to_string(total), "", ""));
      }
    } else {
      PrintLine(CatalogueText(catalogue, "Msg", "Conversion is not complete"));
    }
  }
  ReleaseWatermarkFont(font);
}

}  // namespace jpg2dds
