// The package's copyright file, in Debian's machine-readable format, made at
// build time from the maker's notice so that its years cannot fall behind.
#pragma once
#include <string>

namespace jpg2dds {

std::string DebianCopyrightText();

}  // namespace jpg2dds
