// Helpers shared by the fuzz targets.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// Splits the input at NUL bytes.
std::vector<std::string> SplitAtNul(const uint8_t* data, size_t size);

// A per-process scratch folder (created once) and a file path in it.
const std::string& ScratchFolder();
std::string WriteScratchFile(const std::string& name, const std::string& bytes);

}  // namespace fuzz
