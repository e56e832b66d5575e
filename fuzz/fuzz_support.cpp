#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace fuzz {

std::vector<std::string> SplitAtNul(const uint8_t* data, size_t size) {
  std::vector<std::string> pieces(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) pieces.emplace_back();
    else pieces.back() += static_cast<char>(data[i]);
  }
  return pieces;
}

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string pattern = "/tmp/jpg2dds-fuzz-" + std::to_string(getpid()) + "-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    return pattern + "/";
  }();
  return folder;
}

std::string WriteScratchFile(const std::string& name, const std::string& bytes) {
  std::string path = ScratchFolder() + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

}  // namespace fuzz
