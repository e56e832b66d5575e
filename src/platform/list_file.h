// Reading a list of input paths: a file, a pipe, or standard input.
#pragma once
#include <cstddef>
#include <string>

namespace jpg2dds {

// Whether the path names something that is no folder and that the user may
// read. Nothing is opened, so the writer of a FIFO is not disturbed.
bool CanReadListFile(const std::string& path);

// Reads everything the list holds: standard input for "-", else the file,
// which may also be a FIFO or a pipe such as /dev/fd/63 (its writer is
// waited for, as any reader does). False when it cannot be opened or read,
// is a folder, or holds more than maxBytes.
bool ReadListFile(const std::string& path, size_t maxBytes, std::string& contents);

}  // namespace jpg2dds
