#include "naming/output_path.h"

#include "naming/filename_mask.h"

namespace jpg2dds {

std::string OutputFolderPart(const ConversionSettings& settings, const ConversionJob& job) {
  if (settings.keepSubfolders) return job.outputFolder + job.currentSubfolder;
  return job.outputFolder;
}

std::string BuildOutputPath(const ConversionSettings& settings, const ConversionJob& job) {
  return OutputFolderPart(settings, job) + ExpandFilenameMask(settings, job);
}

}  // namespace jpg2dds
