// Files created fresh for writing, with every write error caught at the
// close. Such a file is temporary until MoveFileOver puts it in place or
// RemoveFileQuietly removes it (platform/safe_files.h): a signal that ends
// the process removes it meanwhile (platform/temporary_files.h). Writing to
// it past the file size limit fails as on a full disk.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/held_folder.h"

namespace jpg2dds {

// Creates the file for writing (mode 0644 before the umask); -1 when it
// cannot be made (a path holding a NUL byte cannot) or a file of that name
// already exists (never opens an existing one).
int OpenNewFile(const std::string& path);

// OpenNewFile as a C stream; null when the file cannot be made.
std::FILE* CreateNewFile(const std::string& path);

// CreateNewFile for `name` inside the held folder, which must stay held
// until the file is moved or removed (MoveFileOverIn, RemoveFileIn).
std::FILE* CreateNewFileIn(const HeldFolder& folder, const std::string& name);

// Bytes written to the stream so far (its position); -1 when unknown.
int64_t WrittenSize(std::FILE* file);

// Flushes the stream and the file's data to disk and closes it. False when
// any write to the stream failed (a full disk, a size limit), the flush
// failed or the close failed: the file is then incomplete. `error`, when
// given, gets the errno of the failure (that of the last failed write when
// a write failed before), 0 on success.
bool CloseWrittenFile(std::FILE* file, int* error = nullptr);

// Whether an errno of a write means that no more bytes fit: a full disk, a
// quota, the file size limit.
bool IsNoSpaceError(int error);

}  // namespace jpg2dds
