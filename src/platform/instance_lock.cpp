#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace jpg2dds {

std::string InstanceLockPath(const std::string& fullTitle) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') {
    std::string folder = runtime;
    if (folder.back() != '/') folder += '/';
    return folder + fullTitle + ".lock";
  }
  // /tmp is shared by every user: the user id keeps the names apart.
  return "/tmp/" + fullTitle + "-" + std::to_string(geteuid()) + ".lock";
}

InstanceLock TakeInstanceLock(const std::string& lockPath) {
  InstanceLock lock;
  int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return lock;
  // A file planted by another user could be held by them forever; only our
  // own regular file is waited for.
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
    close(fd);
    return lock;
  }
  int result;
  do {
    result = flock(fd, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    close(fd);
    return lock;
  }
  lock.fd = fd;
  return lock;
}

void ReleaseInstanceLock(InstanceLock& lock) {
  if (lock.fd < 0) return;
  flock(lock.fd, LOCK_UN);
  close(lock.fd);
  lock.fd = -1;
}

}  // namespace jpg2dds
