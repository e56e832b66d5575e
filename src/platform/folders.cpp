#include "platform/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace jpg2dds {
namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return home;
  // HOME can be unset under service managers; the password entry still knows.
  struct passwd* entry = getpwuid(getuid());
  if (entry && entry->pw_dir && entry->pw_dir[0] == '/') return entry->pw_dir;
  return std::string();
}

// Every run of "/" made one, and one "/" at the end: a folder of "/" or "//"
// is the root, and a file below it must not start with "//".
std::string AsFolder(const std::string& path) {
  std::string folder;
  for (char c : path) {
    if (c != '/' || folder.empty() || folder.back() != '/') folder += c;
  }
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

bool CreateFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0755) == 0) return true;
  if (errno != EEXIST) return false;
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ConfigFolderFrom(const char* xdgConfigHome, const std::string& home) {
  // A relative XDG_CONFIG_HOME is invalid and must be ignored.
  if (xdgConfigHome && xdgConfigHome[0] == '/') return AsFolder(xdgConfigHome);
  if (home.empty()) return std::string();
  return AsFolder(home + "/.config");
}

std::string UserConfigFolder() { return ConfigFolderFrom(std::getenv("XDG_CONFIG_HOME"), HomeFolder()); }

}  // namespace jpg2dds
