#include "platform/safe_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/new_file.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/temporary_files.h"

namespace jpg2dds {
namespace {

// Another name is tried when one is taken already.
constexpr int kTemporaryNameTries = 8;

void FlushFolderOf(const std::string& path) {
  std::string folder = FolderPart(path);
  if (folder.empty()) folder = ".";
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool FlushFileToDisk(const std::string& path) {
  if (!IsWholePath(path)) return false;
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fsync(fd) == 0;
  return close(fd) == 0 && ok;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
  // A name the system cannot hold is not writable; cut at its NUL it would
  // replace another file.
  if (!IsWholePath(from) || !IsWholePath(to)) return false;
  struct stat st {};
  if (stat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
  if (std::rename(from.c_str(), to.c_str()) != 0) return false;
  // Only now: until the rename the file still stood under its temporary name.
  ForgetTemporaryFile(from);
  FlushFolderOf(to);
  return true;
}

void RemoveFileQuietly(const std::string& path) {
  if (path.empty() || !IsWholePath(path)) return;
  unlink(path.c_str());
  ForgetTemporaryFile(path);
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
  if (!IsWholePath(path)) return false;
  // A name of our own rather than mkstemp's: it is listed as temporary
  // before the file exists (OpenNewFile), which mkstemp does not allow.
  std::string temporary;
  int fd = -1;
  for (int i = 0; i < kTemporaryNameTries && fd < 0; ++i) {
    temporary = path + ".tmp-";
    for (int letter = 0; letter < 6; ++letter) temporary += static_cast<char>('a' + RandomInRange(0, 25));
    fd = OpenNewFile(temporary);
  }
  if (fd < 0) return false;
  fchmod(fd, 0644);
  bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok) ok = MoveFileOver(temporary, path);
  if (!ok) RemoveFileQuietly(temporary);
  return ok;
}

}  // namespace jpg2dds
