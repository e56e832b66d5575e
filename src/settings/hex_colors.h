// Colour settings: six hexadecimal digits RRGGBB.
#pragma once
#include <cstdint>
#include <string>

namespace jpg2dds {

// red + 256 * green + 65536 * blue; each pair read up to its first non-hex
// character; any text not six characters long gives black.
uint32_t ParseHexColor(const std::string& text);

// As ParseHexColor with `alpha` in the top byte.
uint32_t ParseHexColorAlpha(const std::string& text, int alpha);

}  // namespace jpg2dds
