// Unicode-aware upper/lower casing of UTF-8 text, what counts as one
// character of it, and how wide a terminal shows that character.
#pragma once
#include <string>

namespace jpg2dds {

// Sets LC_CTYPE to C.UTF-8 so the wide-character case tables know Unicode.
// Called once at start-up; the casing helpers call it themselves as well.
void InitTextLocale();

// Full case mapping per code point; bytes that are not valid UTF-8 pass
// through unchanged so legacy file names survive.
std::string UpperCase(const std::string& text);
std::string LowerCase(const std::string& text);

// Byte length of the character that starts at text[at]: a valid UTF-8
// sequence, or 1 for a byte that does not start one (such a byte is a
// character of its own, passed through by the casing above). 0 at the end.
size_t CharacterLength(const std::string& text, size_t at);

// The columns a terminal gives the character of `length` bytes at text[at]
// (as CharacterLength delimits it): 1 for most, 2 for wide ones, 0 for
// combining marks; -1 for one that it does not print but may act on (C0 and
// C1 controls, DEL) and for a byte that is not UTF-8.
int CharacterColumns(const std::string& text, size_t at, size_t length);

// ASCII-only case folding, for INI group and key names.
bool EqualsIgnoreAsciiCase(const std::string& a, const std::string& b);

// ISO 8859-1 bytes to UTF-8.
std::string Latin1ToUtf8(const std::string& bytes);

}  // namespace jpg2dds
