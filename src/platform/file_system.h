// File system queries.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct stat;

namespace jpg2dds {

enum class PathKind { kFile, kFolder, kMissing };

// The file a path leads to, however it is spelt (a second slash, "./", a
// hard or symbolic link): its device and inode number.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool operator<(const FileIdentity& other) const {
    return device != other.device ? device < other.device : inode < other.inode;
  }
};

struct PathInfo {
  PathKind kind = PathKind::kMissing;
  int64_t size = 0;        // bytes, for a file
  FileIdentity identity;   // for a file
};

// The identity of a file as stat() gives it.
FileIdentity IdentityOf(const struct stat& st);

// stat() following links; a path holding '*' or '?' is answered for the
// first glob() match.
PathInfo QueryPath(const std::string& path);

// The path with the folder before its last "/" made absolute and free of
// symbolic links, "." and ".." (realpath), so that two spellings of one
// file give one text; the path unchanged when that folder does not exist.
// A path without "/" is taken in the current folder.
std::string ResolvedFilePath(const std::string& path);

// Folder of the running program's own file, with a trailing "/".
std::string ProgramFolder();

// File name of the running program, without folder.
std::string ProgramFileName();

// Reads a whole regular file of at most `maxBytes`; false when it cannot be
// opened or read, is larger, or is no regular file (a folder, a FIFO, a
// device). Never blocks on a FIFO that has no writer.
bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string& contents);

}  // namespace jpg2dds
