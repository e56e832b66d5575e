// Reading and setting a file's modification time, to the whole second.
#pragma once
#include <ctime>
#include <string>

#include "platform/held_folder.h"

namespace jpg2dds {

// The file's last-modification instant, fraction of a second dropped; false
// when it cannot be read.
bool GetModificationTime(const std::string& path, std::time_t& instant);

// Sets the last-modification time only; the access time stays. False when it
// cannot be set (a path holding a NUL byte names no file).
bool SetModificationTime(const std::string& path, std::time_t instant);

// Whether `name` in the held folder is a regular file, not a link, whose
// modification time is not older than that of `input`, to the whole second
// (file times are set to whole seconds): two stat() calls. False when either
// cannot be read.
bool IsNotOlderThan(const HeldFolder& folder, const std::string& name, const std::string& input);

}  // namespace jpg2dds
