#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/paths.h"

namespace jpg2dds {
namespace {

FolderEntryKind KindOf(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return FolderEntryKind::kFolder;
  if (S_ISREG(st.st_mode)) return FolderEntryKind::kFile;
  return FolderEntryKind::kOther;
}

FolderEntry Describe(int folder, const char* name) {
  FolderEntry entry;
  entry.name = name;
  struct stat st {};
  if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return entry;
  if (S_ISLNK(st.st_mode)) {
    if (fstatat(folder, name, &st, 0) != 0 || S_ISDIR(st.st_mode)) return entry;
  }
  entry.kind = KindOf(st);
  if (entry.kind == FolderEntryKind::kFile) {
    entry.size = static_cast<int64_t>(st.st_size);
    entry.identity = IdentityOf(st);
  }
  return entry;
}

}  // namespace

bool IsReadableFolder(const std::string& path) {
  if (path.empty() || !IsWholePath(path)) return false;
  DIR* folder = opendir(path.c_str());
  if (!folder) return false;
  closedir(folder);
  return true;
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) {
  entries.clear();
  if (path.empty() || !IsWholePath(path)) return false;
  DIR* folder = opendir(path.c_str());
  if (!folder) return false;
  // Looking up "." takes the permission that every file inside needs.
  struct stat self {};
  bool ok = fstatat(dirfd(folder), ".", &self, 0) == 0;
  while (ok) {
    errno = 0;
    const dirent* item = readdir(folder);
    if (!item) {
      ok = errno == 0;
      break;
    }
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back(Describe(dirfd(folder), item->d_name));
  }
  closedir(folder);
  if (!ok) entries.clear();
  return ok;
}

}  // namespace jpg2dds
