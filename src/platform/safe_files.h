// Writing files so that a crash, a full disk or a failed write never leaves
// a half-written file under the final name and never loses the old one.
// A path holding a NUL byte names no file: every call here refuses it
// (false, or nothing removed) rather than act on the name cut short.
#pragma once
#include <string>

#include "platform/held_folder.h"

namespace jpg2dds {

// Flushes a written file's data to disk (fsync); false on any failure.
bool FlushFileToDisk(const std::string& path);

// Moves `from` over `to` atomically with rename(); an existing `to` is
// replaced whatever its permission bits, a link the link itself. Refuses
// (false) when `to` is a folder. The folder entry is flushed afterwards. A file made with
// OpenNewFile (platform/new_file.h) is no temporary file once moved.
bool MoveFileOver(const std::string& from, const std::string& to);

// MoveFileOver between two names inside the held folder (no "/" in them).
bool MoveFileOverIn(const HeldFolder& folder, const std::string& from, const std::string& to);

// Removes a file; quiet when it is not there. A file made with OpenNewFile
// is no temporary file any more.
void RemoveFileQuietly(const std::string& path);

// RemoveFileQuietly for a name inside the held folder.
void RemoveFileIn(const HeldFolder& folder, const std::string& name);

// Writes the bytes under a temporary name in the target's folder, flushes,
// and moves it over `path`. On failure the temporary file is removed, the
// old file is untouched, and false is returned.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace jpg2dds
