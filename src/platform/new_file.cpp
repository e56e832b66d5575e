#include "platform/new_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/paths.h"
#include "platform/signals.h"
#include "platform/temporary_files.h"

namespace jpg2dds {
namespace {

// O_EXCL never opens what stands under the name, a link included.
int OpenNewFileAt(int folder, const std::string& name) {
  if (!IsWholePath(name)) return -1;
  KeepFileSizeLimitFromEndingProcess();
  const int slot = RegisterTemporaryFile(folder, name);
  if (slot == kTemporaryFileRefused) return -1;
  int fd = openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  SettleTemporaryFile(slot, fd >= 0);
  return fd;
}

std::FILE* CreateNewFileAt(int folder, const std::string& name) {
  int fd = OpenNewFileAt(folder, name);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlinkat(folder, name.c_str(), 0);
    ForgetTemporaryFile(folder, name);
  }
  return file;
}

}  // namespace

int OpenNewFile(const std::string& path) { return OpenNewFileAt(AT_FDCWD, path); }

std::FILE* CreateNewFile(const std::string& path) { return CreateNewFileAt(AT_FDCWD, path); }

std::FILE* CreateNewFileIn(const HeldFolder& folder, const std::string& name) {
  // A name with a folder in it would reach past the held folder.
  return folder.fd >= 0 && name.find('/') == std::string::npos ? CreateNewFileAt(folder.fd, name) : nullptr;
}

int64_t WrittenSize(std::FILE* file) { return static_cast<int64_t>(ftello(file)); }

bool CloseWrittenFile(std::FILE* file, int* error) {
  // A failed write left its errno; stdio keeps only the error flag.
  int first = std::ferror(file) ? errno : 0;
  bool ok = std::ferror(file) == 0;
  if (std::fflush(file) != 0) {
    if (ok) first = errno;
    ok = false;
  }
  if (ok && fsync(fileno(file)) != 0) {
    first = errno;
    ok = false;
  }
  if (std::fclose(file) != 0 && ok) {
    first = errno;
    ok = false;
  }
  if (error) *error = ok ? 0 : first;
  return ok;
}

bool IsNoSpaceError(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

}  // namespace jpg2dds
