#include "docs/manual_options.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "docs/roff_text.h"
#include "options/option_docs.h"
#include "platform/text_case.h"
#include "settings/setting_values.h"

namespace jpg2dds {
namespace {

// Prose with each sentence on a line of its own, as roff expects it (so that
// it knows where sentences end).
std::string RoffProse(const std::string& text) {
  std::string lines = text;
  for (size_t at = lines.find(". "); at != std::string::npos; at = lines.find(". ", at + 1)) {
    if (at + 2 < lines.size() && lines[at + 2] >= 'A' && lines[at + 2] <= 'Z') lines.replace(at + 1, 1, "\n");
  }
  return RoffText(lines);
}

std::string Bold(const std::string& text) { return "\\fB" + RoffText(text) + "\\fR"; }
std::string Italic(const std::string& text) { return "\\fI" + RoffText(text) + "\\fR"; }

// "--name=VALUE" as typed, or "--name" for a flag.
std::string LongForm(const char* name, const char* placeholder) {
  std::string tag = Bold(LowerCase(name));
  if (placeholder && *placeholder) tag += "=" + Italic(placeholder);
  return tag;
}

std::string CommandTag(const CommandOptionDoc& doc) {
  const bool takesValue = doc.kind == CommandOptionKind::kRunValue || doc.kind == CommandOptionKind::kProfile;
  const char* placeholder = takesValue ? ValuePlaceholder(doc.value) : nullptr;
  std::string tag;
  for (const char* shortName : doc.shortNames) {
    if (!shortName) continue;
    tag += Bold(LowerCase(shortName));
    if (placeholder) tag += " " + Italic(placeholder);
    tag += ", ";
  }
  return tag + LongForm(doc.longName, placeholder);
}

std::string Entry(const std::string& tag, const std::vector<std::string>& lines) {
  std::string entry = ".TP\n" + tag + "\n";
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) entry += ".br\n";
    entry += lines[i] + "\n";
  }
  return entry;
}

std::string Subsection(const char* heading, const char* note) {
  std::string text = ".SS \"" + RoffText(heading) + "\"\n";
  if (note) text += RoffProse(note) + "\n";
  return text;
}

std::string KeywordList(const KeywordTable& table) {
  std::string list;
  for (int i = 0; i < table.count; ++i) {
    if (i > 0) list += ", ";
    list += Bold(LowerCase(table.entries[i].word));
  }
  return list;
}

std::string RealText(float value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
  return buffer;
}

std::string FlagText(int32_t value) { return value ? "on (1)" : "off (0)"; }

// The setting's value in `defaults`, as the option would be given.
std::string DefaultText(const OptionRow& row, const OptionDoc& doc, const SettingField& field,
                        const ConversionSettings& defaults) {
  if (doc.defaultText) return RoffText(doc.defaultText);
  switch (row.kind) {
    case OptionKind::kKeyword: {
      const int32_t value = SettingNumber(defaults, field);
      const std::string word = ValueToKeyword(*row.keywords, value);
      return word.empty() ? RoffText(std::to_string(value)) : Bold(word);
    }
    case OptionKind::kInteger: return Bold(std::to_string(SettingNumber(defaults, field)));
    case OptionKind::kReal: return Bold(RealText(SettingReal(defaults, field)));
    case OptionKind::kText:
    case OptionKind::kTextUnquoted: {
      const std::string& text = SettingText(defaults, field);
      return text.empty() ? std::string("empty") : Bold(text);
    }
    case OptionKind::kFlag: return FlagText(SettingNumber(defaults, field));
    case OptionKind::kBatchInput: return "none";
  }
  return std::string();
}

std::string SettingLine(const OptionRow& row) {
  std::string line = "Setting " + Italic(row.key) + " (" + RoffText(row.group) + ")";
  if (row.kind == OptionKind::kFlag) line += ", set to " + RoffText(std::to_string(row.fixedValue));
  if (row.alsoKey) {
    line += "; also sets " + Italic(row.alsoKey) + " to " + RoffText(std::to_string(row.alsoValue));
  }
  return line + ". Profile key " + Bold(row.name) + ".";
}

std::string RowEntry(const OptionRow& row, const ConversionSettings& defaults) {
  const OptionDoc* doc = FindOptionDoc(row.name);
  if (doc && row.kind == OptionKind::kBatchInput) {
    std::vector<std::string> lines{RoffProse(doc->description)};
    if (doc->range) lines.push_back("Range: " + RoffText(doc->range) + ".");
    lines.push_back("May be given more than once. Profile key " + Bold(row.name) + ".");
    return Entry(LongForm(row.name, ValuePlaceholder(row, *doc)), lines);
  }
  const SettingField* field = FindSettingField(row.group, row.key);
  if (!doc || !field) return std::string();  // the documentation table test names such a row
  std::vector<std::string> lines{RoffProse(doc->description)};
  if (row.kind == OptionKind::kKeyword) {
    lines.push_back("Values: " + KeywordList(*row.keywords) + "; any other word means " +
                    Bold(ValueToKeyword(*row.keywords, 0)) + ".");
  }
  std::string limits;
  if (doc->unit) limits += "Unit: " + RoffText(doc->unit) + ".";
  if (doc->range) limits += std::string(limits.empty() ? "" : " ") + "Range: " + RoffText(doc->range) + ".";
  if (!limits.empty()) lines.push_back(limits);
  lines.push_back("Default: " + DefaultText(row, *doc, *field, defaults) + ".");
  lines.push_back(SettingLine(row));
  return Entry(LongForm(row.name, ValuePlaceholder(row, *doc)), lines);
}

}  // namespace

std::string ManualOptionsSection(const ConversionSettings& defaults) {
  std::string section = Subsection("Running", nullptr);
  for (int i = 0; i < kCommandOptionDocCount; ++i) {
    section += Entry(CommandTag(kCommandOptionDocs[i]), {RoffProse(kCommandOptionDocs[i].description)});
  }
  // One subsection a heading, its rows in the table's order.
  for (int g = 0; g < kOptionGroupDocCount; ++g) {
    const OptionGroupDoc& groupDoc = kOptionGroupDocs[g];
    section += Subsection(groupDoc.heading, groupDoc.note);
    for (int i = 0; i < kOptionRowCount; ++i) {
      const OptionRow& row = kOptionRows[i];
      if (std::strcmp(DocumentedGroup(row), groupDoc.group) == 0) section += RowEntry(row, defaults);
    }
  }
  return section;
}

}  // namespace jpg2dds
