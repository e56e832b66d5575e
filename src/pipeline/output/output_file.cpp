#include "pipeline/output/output_file.h"

#include <new>

#include "naming/output_path.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/held_folder.h"
#include "platform/new_file.h"
#include "platform/random.h"
#include "platform/safe_files.h"

namespace jpg2dds {
namespace {

// Another name is tried when one is taken already: an existing file is never
// written into.
constexpr int kTemporaryNameTries = 8;

// What one write holds, so that a failure anywhere gives it all back.
struct OutputWrite {
  HeldFolder folder;           // the output file's own folder
  std::string name;            // the output file's name in it
  std::string temporaryName;   // set once the temporary file exists
  std::FILE* file = nullptr;   // open while it is written
  std::string claimed;         // the output path as claimed for this run
};

bool Write(const ConversionSettings& settings, ConversionJob& job, const std::function<bool(std::FILE*)>& body,
           OutputWrite& write, FileResult& result) {
  job.currentOutputPath = BuildOutputPath(settings, job);
  result.outputPath = job.currentOutputPath;
  if (!HoldOutputFolder(settings, job, job.currentOutputPath, true, write.folder, write.name)) return false;
  // Two inputs of one run that come to the same output: the later one fails
  // rather than replace what the earlier one wrote. Files from before the run
  // are replaced as always.
  std::string claimed;
  if (!ClaimRunOutput(job.writtenOutputs.get(), job.currentOutputPath, claimed)) {
    NoteFailure(result, FailureReason::kOutputTaken);
    return false;
  }
  write.claimed = std::move(claimed);
  const std::string folderText = job.currentOutputPath.substr(0, job.currentOutputPath.size() - write.name.size());
  for (int i = 0; i < kTemporaryNameTries && !write.file; ++i) {
    const std::string name = TemporaryName(job.outputType);
    job.temporaryOutputPath = folderText + name;
    write.file = CreateNewFileIn(write.folder, name);
    if (write.file) write.temporaryName = name;
  }
  if (!write.file) return false;
  // The old output stays in place until the new file is complete on disk;
  // rename() then replaces it in one step, read-only or not.
  bool ok = body(write.file);
  std::FILE* file = write.file;
  write.file = nullptr;
  result.bytes = WrittenSize(file);
  int error = 0;
  ok = CloseWrittenFile(file, &error) && ok;
  if (IsNoSpaceError(error)) NoteFailure(result, FailureReason::kDiskFull);
  return ok && MoveFileOverIn(write.folder, write.temporaryName, write.name);
}

// A write that failed: the temporary file goes, the path is free again.
void Abandon(ConversionJob& job, OutputWrite& write) {
  if (write.file) std::fclose(write.file);
  if (!write.temporaryName.empty()) RemoveFileIn(write.folder, write.temporaryName);
  if (job.writtenOutputs && !write.claimed.empty()) ReleaseOutputPath(*job.writtenOutputs, write.claimed);
}

}  // namespace

bool HoldOutputFolder(const ConversionSettings& settings, const ConversionJob& job, const std::string& outputPath,
                      bool makeSubfolder, HeldFolder& folder, std::string& name) {
  const std::string& base = EntryOutputFolder(job);
  const std::string folderPart = OutputFolderPart(settings, job);
  const std::string masked = outputPath.substr(folderPart.size());
  const size_t slash = masked.rfind('/');
  name = masked.substr(slash == std::string::npos ? 0 : slash + 1);
  // Only the kept subfolder is made: the output folder must exist, and so
  // must the folders that the filename mask itself names.
  return HoldFolder(base.empty() ? std::string("./") : base, folder) &&
         (!settings.keepSubfolders || EnterFolders(folder, job.currentSubfolder, makeSubfolder)) &&
         EnterFolders(folder, slash == std::string::npos ? std::string() : masked.substr(0, slash + 1), false);
}

std::string MakeTemporaryName(const std::string& prefix, const std::string& suffix) {
  std::string name = prefix;
  for (char digit : std::to_string(CurrentDateValue())) {
    if (digit >= '0' && digit <= '9') name += static_cast<char>('a' + (digit - '0'));
  }
  for (int i = 0; i < 5; ++i) name += static_cast<char>('a' + RandomInRange(0, 25));
  return name + suffix;
}

std::string TemporaryName(const std::string& outputType) {
  return "." + MakeTemporaryName("tessel", "." + outputType + ".part");
}

bool WriteOutputFile(const ConversionSettings& settings, ConversionJob& job, int width, int height,
                     FileResult& result, const std::function<bool(std::FILE*)>& body) {
  job.outputWidth = width;
  job.outputHeight = height;
  result.width = width;
  result.height = height;
  OutputWrite write;
  bool ok = false;
  try {
    ok = Write(settings, job, body, write, result);
  } catch (const std::bad_alloc&) {
    ok = false;  // memory ran out: this file fails, the run goes on
    NoteFailure(result, FailureReason::kOutOfMemory);
  }
  if (!ok) {
    Abandon(job, write);
    NoteFailure(result, FailureReason::kWriteFailed);
  }
  ReleaseFolder(write.folder);
  return ok;
}

}  // namespace jpg2dds
