// The single-instance lock: copies of the converter run one after another.
#pragma once
#include <string>

namespace jpg2dds {

struct InstanceLock {
  int fd = -1;  // -1: not held
};

// The per-user lock file of a title: "<title>.lock" in $XDG_RUNTIME_DIR, or
// "<title>-<uid>.lock" in /tmp when that is not set.
std::string InstanceLockPath(const std::string& fullTitle);

// Takes the lock on that file, waiting while another process holds it. The
// lock is not held (fd -1) when the file cannot be opened safely (a link, a
// file of another user); the caller then runs without it. The kernel releases
// the lock when the process ends, however it ends.
InstanceLock TakeInstanceLock(const std::string& lockPath);

// Releases the lock before the process ends; a no-op for a lock not held.
void ReleaseInstanceLock(InstanceLock& lock);

}  // namespace jpg2dds
