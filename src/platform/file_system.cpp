#include "platform/file_system.h"

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

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

PathInfo QueryPath(const std::string& path) {
  std::string target = path;
  if (path.find_first_of("*?") != std::string::npos) {
    target = FirstGlobMatch(path);
    if (target.empty()) return PathInfo{};
  }
  struct stat st {};
  if (target.empty() || stat(target.c_str(), &st) != 0) return PathInfo{};
  if (S_ISDIR(st.st_mode)) return PathInfo{PathKind::kFolder, 0};
  if (S_ISREG(st.st_mode)) return PathInfo{PathKind::kFile, static_cast<int64_t>(st.st_size)};
  return PathInfo{};
}

std::string ProgramFolder() {
  std::string folder = FolderPart(SelfPath());
  return folder.empty() ? std::string("/") : folder;
}

std::string ProgramFileName() { return FileNamePart(SelfPath()); }

bool ReadWholeFile(const std::string& path, std::string& contents) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  contents.clear();
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) contents.append(buffer, n);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

}  // namespace jpg2dds
