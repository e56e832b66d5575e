#include "platform/new_file.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/paths.h"

namespace jpg2dds {

std::FILE* CreateNewFile(const std::string& path) {
  if (!IsWholePath(path)) return nullptr;
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (!file) close(fd);
  return file;
}

int64_t WrittenSize(std::FILE* file) { return static_cast<int64_t>(ftello(file)); }

bool CloseWrittenFile(std::FILE* file) {
  bool ok = std::fflush(file) == 0 && std::ferror(file) == 0;
  ok = ok && fsync(fileno(file)) == 0;
  return std::fclose(file) == 0 && ok;
}

}  // namespace jpg2dds
