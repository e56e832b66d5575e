#include "batch/up_to_date.h"

#include "formats/format_tables.h"
#include "naming/filename_mask.h"
#include "naming/output_path.h"
#include "pipeline/output/output_depth.h"
#include "pipeline/output/output_file.h"
#include "platform/file_times.h"
#include "settings/keywords.h"

namespace jpg2dds {

bool SkippingIsPossible(const ConversionSettings& settings, const std::string& outputType) {
  const OutputFormat* format = FindOutputFormat(outputType);
  const bool depthKnown = settings.ddsBpp != 0 || (format && AllowedBitDepths(*format).size() == 1);
  return settings.fileTimestamp != choice::kTimestampCustom && MaskKnownBeforeConverting(settings, depthKnown);
}

std::string UpToDateOutput(const ConversionSettings& settings, ConversionJob& job) {
  // An automatic depth is the format's one depth, whatever the picture.
  RecordOutputBitDepth(job);
  std::string output = BuildOutputPath(settings, job);
  // Reached as the write reaches it: a link planted in the output folder
  // leads nowhere, and nothing is made.
  HeldFolder folder;
  std::string name;
  const bool upToDate = HoldOutputFolder(settings, job, output, false, folder, name) &&
                        IsNotOlderThan(folder, name, job.currentInputFile);
  ReleaseFolder(folder);
  return upToDate ? output : std::string();
}

FileResult SkipInput(ConversionJob& job, const std::string& outputPath) {
  FileResult result;
  job.currentOutputPath = outputPath;
  result.outputPath = outputPath;
  std::string claimed;
  if (ClaimRunOutput(job.writtenOutputs.get(), outputPath, claimed)) {
    result.status = FileStatus::kSkipped;
  } else {
    result.reason = FailureReason::kOutputTaken;
  }
  return result;
}

}  // namespace jpg2dds
