#include "platform/line_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/paths.h"

namespace jpg2dds {

int CreateLineFile(const std::string& path) {
  if (path.empty() || !IsWholePath(path)) return -1;
  return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0644);
}

bool WriteLineTo(int fd, const std::string& line) {
  const std::string text = line + "\n";
  size_t done = 0;
  // One call writes it all but for a full disk or a signal: only then is
  // the rest written by a further call.
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

void CloseLineFile(int fd) {
  if (fd < 0) return;
  fsync(fd);  // a pipe or a terminal has nothing to flush
  close(fd);
}

}  // namespace jpg2dds
