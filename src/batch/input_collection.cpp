#include "batch/input_collection.h"

#include "formats/format_tables.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_case.h"

namespace jpg2dds {

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
  job.inputList.push_back(InputEntry{path, RelativeSubfolder(path, job.inputFolder)});
  return 1;
}

int32_t CollectInput(bool quiet, ConversionJob& job, StringCatalogue& catalogue) {
  if (!quiet) PrintLine(CatalogueText(catalogue, "General", "Importing"));
  int32_t count = 0;
  std::string extension = LowerCase(PathExtension(job.currentInputFile));
  if (extension != "txt" && extension != "lst") count = AddInputFile(job.currentInputFile, job);
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
