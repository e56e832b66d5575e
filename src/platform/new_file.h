// Files created fresh for writing through C streams, with every write error
// caught at the close.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace jpg2dds {

// Creates the file for writing; null when it cannot be made (a path holding
// a NUL byte cannot) or a file of that name already exists (never opens an
// existing one).
std::FILE* CreateNewFile(const std::string& path);

// Bytes written to the stream so far (its position); -1 when unknown.
int64_t WrittenSize(std::FILE* file);

// Flushes the stream and the file's data to disk and closes it. False when
// any write to the stream failed (a full disk, a size limit), the flush
// failed or the close failed: the file is then incomplete.
bool CloseWrittenFile(std::FILE* file);

}  // namespace jpg2dds
