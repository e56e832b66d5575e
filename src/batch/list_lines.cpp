#include "batch/list_lines.h"

#include <utility>

namespace jpg2dds {
namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

bool NamesNoPath(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos || line[0] == '#';
}

}  // namespace

std::vector<std::string> ListLinePaths(const std::string& text) {
  std::vector<std::string> paths;
  size_t start = text.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!NamesNoPath(line)) paths.push_back(std::move(line));
    start = end + 1;
  }
  return paths;
}

}  // namespace jpg2dds
