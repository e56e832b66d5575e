#include "platform/text_case.h"

#include <wchar.h>

#include <clocale>
#include <cwctype>
#include <mutex>

namespace jpg2dds {
namespace {

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when the
// bytes there are not a valid, shortest-form sequence.
size_t DecodeUtf8(const std::string& text, size_t i, char32_t& cp) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char b0 = byte(i);
  size_t len;
  char32_t min;
  if (b0 < 0x80) { cp = b0; return 1; }
  if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; min = 0x80; }
  else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; min = 0x800; }
  else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; min = 0x10000; }
  else return 0;
  if (i + len > text.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

void EncodeUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

template <typename Map>
std::string MapCase(const std::string& text, Map map) {
  InitTextLocale();
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t cp;
    size_t len = DecodeUtf8(text, i, cp);
    if (len == 0) {
      out += text[i++];
      continue;
    }
    if (cp < 0x80) {
      out += static_cast<char>(map(static_cast<wint_t>(cp)));
    } else {
      EncodeUtf8(static_cast<char32_t>(map(static_cast<wint_t>(cp))), out);
    }
    i += len;
  }
  return out;
}

}  // namespace

void InitTextLocale() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "C.utf8");
  });
}

std::string UpperCase(const std::string& text) {
  return MapCase(text, [](wint_t c) { return std::towupper(c); });
}

std::string LowerCase(const std::string& text) {
  return MapCase(text, [](wint_t c) { return std::towlower(c); });
}

size_t CharacterLength(const std::string& text, size_t at) {
  if (at >= text.size()) return 0;
  char32_t cp;
  size_t length = DecodeUtf8(text, at, cp);
  return length == 0 ? 1 : length;
}

int CharacterColumns(const std::string& text, size_t at, size_t length) {
  InitTextLocale();
  char32_t cp = 0;
  if (at >= text.size() || length == 0 || DecodeUtf8(text, at, cp) != length) return -1;
  return wcwidth(static_cast<wchar_t>(cp));
}

bool EqualsIgnoreAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string Latin1ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) EncodeUtf8(c, out);
  return out;
}

}  // namespace jpg2dds
