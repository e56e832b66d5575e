// A file of text lines that others may read while it grows: each line goes
// out in one write() call as soon as it is complete, so a reader, or what is
// left after the process was killed, holds whole lines only.
#pragma once
#include <string>

namespace jpg2dds {

// Creates the file, or empties an existing one, for writing (mode 0644
// before the umask); -1 when it cannot be (a folder, a missing folder, no
// permission, a path holding a NUL byte).
int CreateLineFile(const std::string& path);

// Writes the line and "\n" with one write() call; false when not all of it
// was written.
bool WriteLineTo(int fd, const std::string& line);

// Flushes the file's data to disk where it has any, and closes it.
void CloseLineFile(int fd);

}  // namespace jpg2dds
