// Reading and setting a file's modification time, to the whole second.
#pragma once
#include <ctime>
#include <string>

namespace jpg2dds {

// The file's last-modification instant, fraction of a second dropped; false
// when it cannot be read.
bool GetModificationTime(const std::string& path, std::time_t& instant);

// Sets the last-modification time only; the access time stays. False when it
// cannot be set (a path holding a NUL byte names no file).
bool SetModificationTime(const std::string& path, std::time_t instant);

}  // namespace jpg2dds
