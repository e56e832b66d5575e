#include "platform/file_system.h"

#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/paths.h"

namespace jpg2dds {
namespace {

std::string FirstGlobMatch(const std::string& pattern) {
  glob_t matches{};
  std::string first;
  if (glob(pattern.c_str(), GLOB_NOSORT, nullptr, &matches) == 0 && matches.gl_pathc > 0) {
    first = matches.gl_pathv[0];
  }
  globfree(&matches);
  return first;
}

std::string SelfPath() {
  std::string buffer(4096, '\0');
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0) return std::string();
  buffer.resize(static_cast<size_t>(n));
  return buffer;
}

}  // namespace

FileIdentity IdentityOf(const struct stat& st) {
  return FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

PathInfo QueryPath(const std::string& path) {
  std::string target = path;
  if (path.find_first_of("*?") != std::string::npos) {
    target = FirstGlobMatch(path);
    if (target.empty()) return PathInfo{};
  }
  struct stat st {};
  if (target.empty() || stat(target.c_str(), &st) != 0) return PathInfo{};
  if (S_ISDIR(st.st_mode)) return PathInfo{PathKind::kFolder, 0, {}};
  if (S_ISREG(st.st_mode)) return PathInfo{PathKind::kFile, static_cast<int64_t>(st.st_size), IdentityOf(st)};
  return PathInfo{};
}

std::string ResolvedFilePath(const std::string& path) {
  if (!IsWholePath(path)) return path;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  char* resolved = realpath(folder.c_str(), nullptr);
  if (!resolved) return path;
  std::string result = resolved;
  std::free(resolved);
  if (result.back() != '/') result += '/';
  return result + path.substr(slash == std::string::npos ? 0 : slash + 1);
}

std::string ProgramFolder() {
  std::string folder = FolderPart(SelfPath());
  return folder.empty() ? std::string("/") : folder;
}

std::string ProgramFileName() { return FileNamePart(SelfPath()); }

bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string& contents) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) <= maxBytes;
  std::string bytes;
  // Read straight into the text, a size larger than the file's at first so
  // that a file that grows while it is read is seen doing so, and held to
  // the same bound.
  size_t used = 0;
  if (ok) bytes.resize(std::min<uint64_t>(maxBytes, static_cast<uint64_t>(st.st_size)) + 1);
  while (ok) {
    if (used == bytes.size()) {
      ok = bytes.size() <= maxBytes;
      if (!ok) break;
      bytes.resize(std::min<size_t>(maxBytes + 1, bytes.size() * 2));
    }
    ssize_t n = read(fd, &bytes[used], bytes.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    used += static_cast<size_t>(n);
    ok = used <= maxBytes;
  }
  bytes.resize(used);
  close(fd);
  if (ok) contents = std::move(bytes);
  return ok;
}

}  // namespace jpg2dds
