#include "platform/list_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/paths.h"

namespace jpg2dds {
namespace {

bool ReadToEnd(int fd, size_t maxBytes, std::string& contents) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    // Bounded, so that /dev/zero or an endless pipe ends as a refused list.
    if (bytes.size() + static_cast<size_t>(n) > maxBytes) return false;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  contents = std::move(bytes);
  return true;
}

}  // namespace

bool CanReadListFile(const std::string& path) {
  if (path.empty() || !IsWholePath(path)) return false;
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && access(path.c_str(), R_OK) == 0;
}

bool ReadListFile(const std::string& path, size_t maxBytes, std::string& contents) {
  if (path == "-") return ReadToEnd(STDIN_FILENO, maxBytes, contents);
  if (path.empty() || !IsWholePath(path)) return false;
  int fd = -1;
  do {
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  struct stat st {};
  // A folder opens for reading but holds no lines.
  bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode) && ReadToEnd(fd, maxBytes, contents);
  close(fd);
  return ok;
}

}  // namespace jpg2dds
