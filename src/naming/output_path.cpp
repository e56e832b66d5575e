#include "naming/output_path.h"

#include "naming/filename_mask.h"

namespace jpg2dds {

const std::string& EntryOutputFolder(const ConversionJob& job) {
  return job.currentOutputFolder.empty() ? job.outputFolder : job.currentOutputFolder;
}

std::string OutputFolderPart(const ConversionSettings& settings, const ConversionJob& job) {
  if (settings.keepSubfolders) return EntryOutputFolder(job) + job.currentSubfolder;
  return EntryOutputFolder(job);
}

std::string BuildOutputPath(const ConversionSettings& settings, const ConversionJob& job) {
  return OutputFolderPart(settings, job) + ExpandFilenameMask(settings, job);
}

}  // namespace jpg2dds
