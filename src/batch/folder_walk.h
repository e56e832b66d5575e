// The files an input folder holds, in the order they are converted.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/folder_listing.h"

namespace jpg2dds {

struct FolderFile {
  std::string path;  // the folder as named, then the names below it
  int64_t size = 0;
  FileIdentity identity;
};

// The folder as named with one "/" at its end: the text its files' paths
// begin with, and the base of their relative subfolders.
std::string FolderBase(const std::string& folder);

// Sorts by the bytes of the names, so the order is the same whatever the
// locale or the file system ("B" before "a", "a" before "\xC3\xA9").
void SortByName(std::vector<FolderEntry>& entries);

// The files directly in the folder, in name order; with `recursive` each
// subfolder's files take that subfolder's place in the order (depth first).
// Links to folders are not followed. A subfolder that cannot be listed or
// entered adds no file and is named in `unreadable` (as the files' paths
// begin, without its last "/"), in the order met. False (and nothing) when
// `base` itself cannot be read.
bool FilesInFolder(const std::string& base, bool recursive, std::vector<FolderFile>& files,
                   std::vector<std::string>& unreadable);

}  // namespace jpg2dds
