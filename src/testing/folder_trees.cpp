#include "testing/folder_trees.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jpg2dds::testing {

std::string MakeFoldersTooDeepToOpen(const std::string& base) {
  const std::string name(NAME_MAX, 'd');
  int folder = open(base.c_str(), O_RDONLY | O_DIRECTORY);
  for (int depth = 0; depth * (NAME_MAX + 1) <= PATH_MAX && folder >= 0; ++depth) {
    mkdirat(folder, name.c_str(), 0755);
    const int inner = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY);
    if (depth == 0 && inner >= 0) {
      const int photo = openat(inner, "c.jpg", O_WRONLY | O_CREAT, 0644);
      if (photo >= 0 && write(photo, "\xFF\xD8\xFF\xD9", 4) == 4) close(photo);
    }
    close(folder);
    folder = inner;
  }
  if (folder >= 0) close(folder);
  return name + "/";
}

}  // namespace jpg2dds::testing
