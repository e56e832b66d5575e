#include "docs/roff_text.h"

#include <cstdint>
#include <cstdio>

#include "platform/text_case.h"

namespace jpg2dds {
namespace {

// The code point of a valid UTF-8 sequence of `length` bytes.
uint32_t CodePoint(const std::string& text, size_t at, size_t length) {
  const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(text[at + i])); };
  if (length == 2) return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
  if (length == 3) return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
  return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
}

}  // namespace

std::string RoffText(const std::string& text) {
  std::string out;
  bool lineStart = true;
  for (size_t at = 0; at < text.size();) {
    const size_t length = CharacterLength(text, at);
    const char c = text[at];
    if (lineStart && (c == '.' || c == '\'')) out += "\\&";
    if (length > 1) {
      char name[16];
      std::snprintf(name, sizeof name, "\\[u%04X]", static_cast<unsigned>(CodePoint(text, at, length)));
      out += name;
    } else if (static_cast<unsigned char>(c) >= 0x80) {
      out += "\\[u00BF]";  // not UTF-8: an inverted question mark stands in for it
    } else if (c == '\\') {
      out += "\\(rs";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
    lineStart = c == '\n';
    at += length;
  }
  return out;
}

}  // namespace jpg2dds
