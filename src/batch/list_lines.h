// The paths that a list file names.
#pragma once
#include <string>
#include <vector>

namespace jpg2dds {

// One path per line, in file order, taken byte for byte: lines end at "\n",
// and a "\r" before it is dropped (lists written on Windows). Empty lines,
// lines of nothing but blanks and tabs, and lines that begin with "#" name no
// path. A UTF-8 byte order mark at the start is no part of the first path.
std::vector<std::string> ListLinePaths(const std::string& text);

}  // namespace jpg2dds
