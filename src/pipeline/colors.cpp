#include "pipeline/colors.h"

namespace jpg2dds {
namespace {

uint32_t ReadPair(char a, char b) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  int high = digit(a);
  if (high < 0) return 0;
  int low = digit(b);
  if (low < 0) return static_cast<uint32_t>(high);
  return static_cast<uint32_t>(high * 16 + low);
}

}  // namespace

uint32_t ParseHexColor(const std::string& text) {
  if (text.size() != 6) return 0;
  return ReadPair(text[0], text[1]) | (ReadPair(text[2], text[3]) << 8) | (ReadPair(text[4], text[5]) << 16);
}

uint32_t ParseHexColorAlpha(const std::string& text, int alpha) {
  return ParseHexColor(text) | (static_cast<uint32_t>(alpha & 0xFF) << 24);
}

}  // namespace jpg2dds
