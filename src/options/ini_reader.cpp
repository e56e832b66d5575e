#include "options/ini_reader.h"

#include "platform/file_system.h"
#include "platform/text_case.h"

namespace jpg2dds {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimRight(const std::string& text) {
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string Trim(const std::string& text) {
  size_t begin = 0;
  while (begin < text.size() && IsBlank(text[begin])) ++begin;
  return TrimRight(text.substr(begin));
}

// One line with its leading blanks already skipped.
void ParseLine(const std::string& line, IniDocument& document) {
  if (line.empty() || line[0] == ';') return;
  if (line[0] == '[') {
    size_t close = line.find(']', 1);
    std::string name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    document.groups.push_back(IniGroup{name, {}});
    return;
  }
  if (document.groups.empty()) return;
  IniKeyLine keyLine;
  size_t equals = line.find('=');
  if (equals == std::string::npos) {
    keyLine.key = TrimRight(line);
  } else {
    keyLine.key = TrimRight(line.substr(0, equals));
    keyLine.value = Trim(line.substr(equals + 1));
  }
  document.groups.back().lines.push_back(std::move(keyLine));
}

}  // namespace

IniDocument ParseIniText(const std::string& bytes) {
  static const char kByteOrderMark[] = "\xEF\xBB\xBF";
  std::string text = bytes.compare(0, 3, kByteOrderMark) == 0 ? bytes.substr(3) : Latin1ToUtf8(bytes);

  IniDocument document;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    size_t start = pos;
    while (start < end && IsBlank(text[start])) ++start;
    ParseLine(text.substr(start, end - start), document);
    // Any run of CR and LF ends one line, so empty lines vanish here.
    pos = text.find_first_not_of("\r\n", end);
    if (pos == std::string::npos) break;
  }
  return document;
}

bool ReadIniFile(const std::string& path, IniDocument& document) {
  std::string bytes;
  if (!ReadWholeFile(path, kMaxIniFileBytes, bytes)) return false;
  document = ParseIniText(bytes);
  return true;
}

const IniGroup* FindIniGroup(const IniDocument& document, const std::string& name) {
  for (const IniGroup& group : document.groups) {
    if (EqualsIgnoreAsciiCase(group.name, name)) return &group;
  }
  return nullptr;
}

const IniKeyLine* FindIniKey(const IniGroup& group, const std::string& key) {
  for (const IniKeyLine& line : group.lines) {
    if (EqualsIgnoreAsciiCase(line.key, key)) return &line;
  }
  return nullptr;
}

}  // namespace jpg2dds
