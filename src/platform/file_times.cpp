#include "platform/file_times.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/paths.h"

namespace jpg2dds {

bool GetModificationTime(const std::string& path, std::time_t& instant) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return false;
  instant = st.st_mtim.tv_sec;
  return true;
}

bool IsNotOlderThan(const HeldFolder& folder, const std::string& name, const std::string& input) {
  struct stat made {}, source {};
  if (folder.fd < 0 || name.empty() || !IsWholePath(name) ||
      fstatat(folder.fd, name.c_str(), &made, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(made.st_mode)) {
    return false;
  }
  if (!IsWholePath(input) || stat(input.c_str(), &source) != 0) return false;
  return made.st_mtim.tv_sec >= source.st_mtim.tv_sec;
}

bool SetModificationTime(const std::string& path, std::time_t instant) {
  if (!IsWholePath(path)) return false;
  struct timespec times[2] = {};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = instant;
  times[1].tv_nsec = 0;
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace jpg2dds
