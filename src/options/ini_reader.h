// Reading of INI text, shared by profile files and the configuration file.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace jpg2dds {

struct IniKeyLine {
  std::string key;    // trimmed at the right
  std::string value;  // trimmed at both ends; empty for a line without "="
};

struct IniGroup {
  std::string name;  // as written between "[" and "]", not trimmed
  std::vector<IniKeyLine> lines;  // in file order, repeats kept
};

// Every group line of the file in file order, a repeated name included.
// Key lines before the first group line belong to no group and are dropped.
struct IniDocument {
  std::vector<IniGroup> groups;
};

// Parses a whole file's bytes: UTF-8 after a byte-order mark, ISO 8859-1
// otherwise; either way the result holds UTF-8.
IniDocument ParseIniText(const std::string& bytes);

// Larger files are refused: no settings file comes near it, and what does
// is no settings file.
constexpr size_t kMaxIniFileBytes = size_t{16} << 20;

// Reads and parses a file; false when it is no regular file (a folder, a
// FIFO, a device), is larger than kMaxIniFileBytes, or cannot be read.
bool ReadIniFile(const std::string& path, IniDocument& document);

// The first group of that name (ASCII letters compared regardless of case);
// null when there is none, so a second group of the same name is never read.
const IniGroup* FindIniGroup(const IniDocument& document, const std::string& name);

// The first key line of that name in the group (ASCII case-insensitive);
// null when there is none.
const IniKeyLine* FindIniKey(const IniGroup& group, const std::string& key);

}  // namespace jpg2dds
