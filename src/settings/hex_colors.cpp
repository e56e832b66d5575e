#include "settings/hex_colors.h"

#include "platform/text_case.h"

namespace jpg2dds {
namespace {

// A character as a hexadecimal digit, -1 when it is none; a character of
// more than one byte never is.
int HexDigit(const std::string& text, size_t at, size_t length) {
  if (length != 1) return -1;
  const char c = text[at];
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

uint32_t ParseHexColor(const std::string& text) {
  // Six characters, not six bytes: "FF\xC3\xA9" "00" is five and gives black.
  int digits[6];
  size_t count = 0;
  for (size_t at = 0; at < text.size(); ++count) {
    const size_t length = CharacterLength(text, at);
    if (count < 6) digits[count] = HexDigit(text, at, length);
    at += length;
  }
  if (count != 6) return 0;
  uint32_t color = 0;
  for (int pair = 0; pair < 3; ++pair) {
    // Read up to the first character that is not a hexadecimal digit.
    const int high = digits[2 * pair], low = digits[2 * pair + 1];
    const int value = high < 0 ? 0 : low < 0 ? high : high * 16 + low;
    color |= static_cast<uint32_t>(value) << (8 * pair);
  }
  return color;
}

uint32_t ParseHexColorAlpha(const std::string& text, int alpha) {
  return ParseHexColor(text) | (static_cast<uint32_t>(alpha & 0xFF) << 24);
}

}  // namespace jpg2dds
