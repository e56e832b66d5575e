#include "platform/safe_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

// A name of a file right inside a held folder.
bool IsNameIn(const std::string& name) {
  return !name.empty() && IsWholePath(name) && name.find('/') == std::string::npos;
}

// rename() within one folder (AT_FDCWD: paths). A folder under `to` is
// refused; a link is replaced itself, never followed.
bool MoveAt(int folder, const std::string& from, const std::string& to) {
  struct stat st {};
  if (fstatat(folder, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) return false;
  if (renameat(folder, from.c_str(), folder, to.c_str()) != 0) return false;
  // Only now: until the rename the file still stood under its temporary name.
  ForgetTemporaryFile(folder, from);
  return true;
}

void RemoveAt(int folder, const std::string& name) {
  unlinkat(folder, name.c_str(), 0);
  ForgetTemporaryFile(folder, name);
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
  if (!IsWholePath(from) || !IsWholePath(to) || !MoveAt(AT_FDCWD, from, to)) return false;
  FlushFolderOf(to);
  return true;
}

bool MoveFileOverIn(const HeldFolder& folder, const std::string& from, const std::string& to) {
  if (folder.fd < 0 || !IsNameIn(from) || !IsNameIn(to) || !MoveAt(folder.fd, from, to)) return false;
  fsync(folder.fd);
  return true;
}

void RemoveFileQuietly(const std::string& path) {
  if (!path.empty() && IsWholePath(path)) RemoveAt(AT_FDCWD, path);
}

void RemoveFileIn(const HeldFolder& folder, const std::string& name) {
  if (folder.fd >= 0 && IsNameIn(name)) RemoveAt(folder.fd, name);
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
