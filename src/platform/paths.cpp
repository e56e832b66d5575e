#include "platform/paths.h"

namespace jpg2dds {

std::string FolderPart(const std::string& path) {
  size_t pos = path.find_last_of("/\\");
  return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string FileNamePart(const std::string& path) {
  size_t pos = path.find_last_of("/\\");
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string PathExtension(const std::string& path) {
  for (size_t i = path.size(); i-- > 0;) {
    char c = path[i];
    if (c == ' ' || c == '/' || c == '\\') return std::string();
    if (c == '.') {
      if (i == 0 || path[i - 1] == '/' || path[i - 1] == '\\') return std::string();
      std::string ext = path.substr(i + 1);
      size_t quote = ext.find('"');
      return quote == std::string::npos ? ext : ext.substr(0, quote);
    }
  }
  return std::string();
}

bool IsWholePath(const std::string& path) { return path.find('\0') == std::string::npos; }

}  // namespace jpg2dds
