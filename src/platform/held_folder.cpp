#include "platform/held_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/paths.h"

namespace jpg2dds {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// The folder `name` inside `parent`, a link refused (ELOOP, or ENOTDIR for
// a link to a file).
int OpenChild(int parent, const std::string& name) { return openat(parent, name.c_str(), kFolderFlags | O_NOFOLLOW); }

}  // namespace

bool HoldFolder(const std::string& path, HeldFolder& folder) {
  ReleaseFolder(folder);
  if (path.empty() || !IsWholePath(path)) return false;
  folder.fd = open(path.c_str(), kFolderFlags);
  return folder.fd >= 0;
}

bool EnterFolders(HeldFolder& folder, const std::string& below, bool makeMissing) {
  if (folder.fd < 0) return false;
  if (!IsWholePath(below)) {
    ReleaseFolder(folder);
    return false;
  }
  for (size_t start = 0, slash; (slash = below.find('/', start)) != std::string::npos; start = slash + 1) {
    const std::string part = below.substr(start, slash - start);
    if (part.empty() || part == ".") continue;
    if (makeMissing && part == "..") {
      ReleaseFolder(folder);
      return false;
    }
    int child = OpenChild(folder.fd, part);
    if (child < 0 && makeMissing && errno == ENOENT) {
      // Made by another run meanwhile is as good as made here.
      if (mkdirat(folder.fd, part.c_str(), 0755) == 0 || errno == EEXIST) child = OpenChild(folder.fd, part);
    }
    close(folder.fd);
    folder.fd = child;
    if (child < 0) return false;
  }
  return true;
}

void ReleaseFolder(HeldFolder& folder) {
  if (folder.fd >= 0) close(folder.fd);
  folder.fd = -1;
}

}  // namespace jpg2dds
