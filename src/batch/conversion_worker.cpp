#include "batch/conversion_worker.h"

#include "naming/file_timestamp.h"
#include "pipeline/convert_file.h"
#include "platform/console.h"
#include "platform/random.h"

namespace jpg2dds {

int32_t ConversionWorker(const RunOptions& runOptions, const ConversionSettings& settings, ConversionJob& job,
                         const WatermarkFont* font, ConversionProgress& progress) {
  const bool debug = runOptions.consoleRun && runOptions.debug;
  int32_t n = 0;
  int32_t converted = 0;
  for (const InputEntry& entry : job.inputList) {
    // A controller may clear running; it takes effect before the next entry.
    if (!progress.running) break;
    ++n;
    job.currentInputFile = entry.path;
    job.currentSubfolder = entry.relativeSubfolder;
    job.currentOutputFolder = entry.outputFolder;
    {
      std::lock_guard<std::mutex> lock(progress.mutex);
      progress.currentFileNumber = n;
      progress.currentFilePath = job.currentInputFile;
    }
    if (debug) PrintLine("Processing: " + job.currentInputFile);
    bool ok = ConvertFile(settings, job, font);
    if (debug) {
      PrintLine("Saving As: " + job.currentOutputPath);
      PrintLine(ok ? "OK" : "Not OK");
    }
    if (ok) {
      ++converted;
      job.randomNumber = RandomInRange(1, 99999);
      ++job.sequenceNumber;
      ApplyFileTimestamp(settings, job.currentOutputPath, job.currentInputFile);
    }
  }
  std::lock_guard<std::mutex> lock(progress.mutex);
  progress.convertedCount = converted;
  return converted;
}

}  // namespace jpg2dds
