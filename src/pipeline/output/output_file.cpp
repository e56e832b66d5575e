#include "pipeline/output/output_file.h"

#include "naming/output_path.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/folders.h"
#include "platform/new_file.h"
#include "platform/random.h"
#include "platform/safe_files.h"

namespace jpg2dds {
namespace {

// Another name is tried when one is taken already: an existing file is never
// written into.
constexpr int kTemporaryNameTries = 8;

}  // namespace

std::string MakeTemporaryName(const std::string& prefix, const std::string& suffix) {
  std::string name = prefix;
  for (char digit : std::to_string(CurrentDateValue())) {
    if (digit >= '0' && digit <= '9') name += static_cast<char>('a' + (digit - '0'));
  }
  for (int i = 0; i < 5; ++i) name += static_cast<char>('a' + RandomInRange(0, 25));
  return name + suffix;
}

std::string BuildTemporaryPath(const ConversionSettings& settings, const ConversionJob& job) {
  return OutputFolderPart(settings, job) + "." + MakeTemporaryName("tessel", "." + job.outputType + ".part");
}

bool WriteOutputFile(const ConversionSettings& settings, ConversionJob& job, int width, int height,
                     const std::function<bool(std::FILE*)>& body) {
  job.outputWidth = width;
  job.outputHeight = height;
  job.currentOutputPath = BuildOutputPath(settings, job);
  // Only the kept subfolder is made: the output folder must exist, and so
  // must the folders that the filename mask itself names.
  if (settings.keepSubfolders && !job.currentSubfolder.empty() &&
      !CreateFoldersBelow(EntryOutputFolder(job), job.currentSubfolder)) {
    return false;
  }
  // Two inputs of one run that come to the same output: the later one fails
  // rather than replace what the earlier one wrote. Files from before the run
  // are replaced as always.
  const std::string claimed = job.writtenOutputs ? ResolvedFilePath(job.currentOutputPath) : std::string();
  if (job.writtenOutputs && !ClaimOutputPath(*job.writtenOutputs, claimed)) return false;
  std::FILE* file = nullptr;
  for (int i = 0; i < kTemporaryNameTries && !file; ++i) {
    job.temporaryOutputPath = BuildTemporaryPath(settings, job);
    file = CreateNewFile(job.temporaryOutputPath);
  }
  bool ok = file != nullptr;
  if (ok) {
    // The old output stays in place until the new file is complete on disk;
    // rename() then replaces it in one step, read-only or not.
    ok = body(file);
    ok = CloseWrittenFile(file) && ok;
    if (ok) ok = MoveFileOver(job.temporaryOutputPath, job.currentOutputPath);
    if (!ok) RemoveFileQuietly(job.temporaryOutputPath);
  }
  if (!ok && job.writtenOutputs) ReleaseOutputPath(*job.writtenOutputs, claimed);
  return ok;
}

}  // namespace jpg2dds
