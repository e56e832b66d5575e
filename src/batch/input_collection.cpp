#include "batch/input_collection.h"

#include <set>

#include "batch/folder_walk.h"
#include "batch/list_lines.h"
#include "formats/format_tables.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/list_file.h"
#include "platform/paths.h"
#include "platform/text_case.h"

namespace jpg2dds {
namespace {

// A bound on a list's text, so that /dev/zero or an endless pipe ends as a
// refused list: some 600,000 paths of 100 bytes.
constexpr size_t kMaxListBytes = 64u << 20;

// The batch's input list as it grows: each file once, in the order met,
// however its path is spelt; the first naming keeps its subfolder and output
// folder.
struct BatchCollection {
  ConversionJob& job;
  std::set<FileIdentity> listed;
  bool standardInputRead = false;  // a second "-" list finds it at its end
  int32_t count = 0;
};

// AddInputFile's tests, without emptying the list: a file of at least one
// byte with an accepted extension. A missing entry of a list and a folder
// are counted out too.
void AddBatchFile(BatchCollection& batch, const std::string& path, const PathInfo& info,
                  const std::string& relativeSubfolder, const std::string& outputFolder) {
  if (info.kind != PathKind::kFile || info.size <= 0 || !IsWholePath(path)) return;
  if (!IsAcceptedInputFile(path, batch.job.acceptedExtensions)) return;
  if (!batch.listed.insert(info.identity).second) return;
  batch.job.inputList.push_back(InputEntry{path, relativeSubfolder, outputFolder});
  ++batch.count;
}

// A list entry without -o goes into its own folder; "./" stands for the
// current folder, since an empty one would mean the run's output folder.
std::string OwnFolder(const std::string& path) {
  const std::string folder = FolderPart(path);
  return folder.empty() ? std::string("./") : folder;
}

// A subfolder that cannot be read gets a line of its own, in every mode, and
// the run goes on without its files.
bool AddFolder(BatchCollection& batch, const std::string& folder, StringCatalogue& catalogue) {
  const std::string base = FolderBase(folder);
  std::vector<FolderFile> files;
  std::vector<std::string> unreadable;
  if (!FilesInFolder(base, batch.job.recursiveFolders, files, unreadable)) return false;
  for (const std::string& subfolder : unreadable) {
    PrintLine(SubstituteArgs(CatalogueText(catalogue, "Batch", "Unreadable folder"), subfolder, "", "", ""));
    batch.job.unreadableFolders.push_back(subfolder);
  }
  const std::string outputFolder = batch.job.ownOutputFolders ? base : std::string();
  for (const FolderFile& file : files) {
    AddBatchFile(batch, file.path, PathInfo{PathKind::kFile, file.size, file.identity},
                 RelativeSubfolder(file.path, base), outputFolder);
  }
  return true;
}

bool AddList(BatchCollection& batch, const std::string& list) {
  std::string text;
  if (list == "-") {
    if (batch.standardInputRead) return true;
    batch.standardInputRead = true;
  }
  if (!ReadListFile(list, kMaxListBytes, text)) return false;
  for (const std::string& path : ListLinePaths(text)) {
    AddBatchFile(batch, path, QueryPath(path), "", batch.job.ownOutputFolders ? OwnFolder(path) : std::string());
  }
  return true;
}

// Folders, lists and the -i file in the order named, counted in `count`. A
// folder or list that passed its check but can no longer be read prints its
// error line and gives false: the run ends there.
bool CollectBatch(ConversionJob& job, StringCatalogue& catalogue, int32_t& count) {
  BatchCollection batch{job, {}, false, 0};
  job.inputList.clear();
  job.unreadableFolders.clear();
  for (const NamedInput& input : job.namedInputs) {
    const char* error = nullptr;
    switch (input.kind) {
      case NamedInputKind::kFile: AddBatchFile(batch, input.path, QueryPath(input.path), "", ""); break;
      case NamedInputKind::kFolder:
        if (!AddFolder(batch, input.path, catalogue)) error = "Invalid input folder";
        break;
      case NamedInputKind::kList:
        if (!AddList(batch, input.path)) error = "Invalid input list";
        break;
    }
    if (error) {
      PrintLine("Error: " + CatalogueText(catalogue, "Batch", error));
      job.inputList.clear();
      count = 0;
      return false;
    }
  }
  count = batch.count;
  return true;
}

}  // namespace

std::string RelativeSubfolder(const std::string& path, const std::string& baseFolder) {
  if (path.empty() || baseFolder.empty()) return std::string();
  std::string folder = FolderPart(path);
  // Below the base, the base's text may come again inside a longer name
  // ("pics/" in "pics/mypics/"): only the leading base is taken away.
  if (folder.compare(0, baseFolder.size(), baseFolder) == 0) return folder.substr(baseFolder.size());
  if (folder.find(baseFolder) == std::string::npos) return std::string();
  std::string result;
  for (size_t start = 0;;) {
    size_t hit = folder.find(baseFolder, start);
    if (hit == std::string::npos) {
      result += folder.substr(start);
      return result;
    }
    result += folder.substr(start, hit - start);
    start = hit + baseFolder.size();
  }
}

int32_t AddInputFile(const std::string& path, ConversionJob& job) {
  PathInfo info = QueryPath(path);
  if (info.kind == PathKind::kFile && info.size == 0) return 0;
  if (!IsAcceptedInputFile(path, job.acceptedExtensions)) return 0;
  job.inputList.clear();
  job.inputList.push_back(InputEntry{path, RelativeSubfolder(path, job.inputFolder), ""});
  return 1;
}

int32_t CollectInput(bool quiet, ConversionJob& job, StringCatalogue& catalogue, bool& read) {
  if (!quiet) PrintLine(CatalogueText(catalogue, "General", "Importing"));
  int32_t count = 0;
  read = true;
  if (!job.namedInputs.empty()) {
    read = CollectBatch(job, catalogue, count);
    if (!read) return 0;
  } else {
    std::string extension = LowerCase(PathExtension(job.currentInputFile));
    if (extension != "txt" && extension != "lst") count = AddInputFile(job.currentInputFile, job);
  }
  if (!quiet) {
    PrintLine(SubstituteArgs(CatalogueText(catalogue, "Msg", "Import complete"), std::to_string(count), "", "",
                             ""));
  }
  if (count == 0) {
    PrintLine(CatalogueText(catalogue, "Msg", "Conversion is not complete"));
    PrintLine(CatalogueText(catalogue, "Msg", "Empty input files"));
  }
  return count;
}

}  // namespace jpg2dds
