// Reading the entries of an input folder.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace jpg2dds {

enum class FolderEntryKind { kFile, kFolder, kOther };

struct FolderEntry {
  std::string name;
  FolderEntryKind kind = FolderEntryKind::kOther;
  int64_t size = 0;        // bytes, for a file
  FileIdentity identity;   // for a file
};

// Whether the path names a folder that can be opened for reading.
bool IsReadableFolder(const std::string& path);

// The entries of a folder, without "." and "..", in the order the system
// keeps them. A symbolic link counts as what it points to, except that a
// link to a folder is kOther, so that a walk never follows one (and never
// loops). A regular file is kFile with its size; devices, FIFOs, sockets and
// dangling links are kOther. False when the folder cannot be opened, read,
// or entered (listed without search permission, its files cannot be reached).
bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries);

}  // namespace jpg2dds
