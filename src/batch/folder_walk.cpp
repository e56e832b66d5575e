#include "batch/folder_walk.h"

#include <algorithm>

namespace jpg2dds {
namespace {

bool Walk(const std::string& folder, bool recursive, std::vector<FolderFile>& files,
          std::vector<std::string>& unreadable) {
  std::vector<FolderEntry> entries;
  if (!ListFolder(folder, entries)) return false;
  SortByName(entries);
  for (const FolderEntry& entry : entries) {
    const std::string path = folder + entry.name;
    if (entry.kind == FolderEntryKind::kFile) {
      files.push_back(FolderFile{path, entry.size, entry.identity});
    } else if (entry.kind == FolderEntryKind::kFolder && recursive && !Walk(path + "/", recursive, files, unreadable)) {
      unreadable.push_back(path);
    }
  }
  return true;
}

}  // namespace

std::string FolderBase(const std::string& folder) {
  return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

void SortByName(std::vector<FolderEntry>& entries) {
  // std::string compares its chars as unsigned bytes.
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
}

bool FilesInFolder(const std::string& base, bool recursive, std::vector<FolderFile>& files,
                   std::vector<std::string>& unreadable) {
  files.clear();
  unreadable.clear();
  if (Walk(base, recursive, files, unreadable)) return true;
  files.clear();
  unreadable.clear();
  return false;
}

}  // namespace jpg2dds
