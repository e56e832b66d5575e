#include "docs/manual_options.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "docs/roff_text.h"
#include "options/option_docs.h"
#include "platform/text_case.h"
#include "settings/setting_values.h"

namespace jpg2dds {
namespace {

// The entries of the section by their tag line (".TP" and the line after it
// open an entry).
std::map<std::string, std::string> EntriesByTag(const std::string& section) {
  std::map<std::string, std::string> entries;
  const std::string open = ".TP\n";
  for (size_t at = section.find(open); at != std::string::npos;) {
    const size_t tagStart = at + open.size();
    const size_t tagEnd = section.find('\n', tagStart);
    const size_t next = section.find(open, tagEnd);
    entries[section.substr(tagStart, tagEnd - tagStart)] = section.substr(tagEnd + 1, next - tagEnd - 1);
    at = next;
  }
  return entries;
}

std::string Tag(const OptionRow& row) {
  std::string tag = "\\fB" + RoffText(LowerCase(row.name)) + "\\fR";
  const OptionDoc* doc = FindOptionDoc(row.name);
  if (row.kind != OptionKind::kFlag && doc) tag += "=\\fI" + std::string(ValuePlaceholder(row, *doc)) + "\\fR";
  return tag;
}

std::string Bold(const std::string& text) { return "\\fB" + RoffText(text) + "\\fR"; }

ConversionSettings ConsoleDefaults() {
  ConversionSettings defaults;
  ApplyDefaults(defaults, DefaultsVariant::kConsole, 0, 0);
  return defaults;
}

TEST(ManualOptions, EveryRowHasAnEntryWithItsSettingProfileKeyAndEveryKeyword) {
  const auto entries = EntriesByTag(ManualOptionsSection(ConsoleDefaults()));
  for (int i = 0; i < kOptionRowCount; ++i) {
    const OptionRow& row = kOptionRows[i];
    SCOPED_TRACE(row.name);
    const auto entry = entries.find(Tag(row));
    ASSERT_NE(entry, entries.end());
    EXPECT_NE(entry->second.find("Profile key " + Bold(row.name) + "."), std::string::npos);
    if (row.kind == OptionKind::kBatchInput) {
      EXPECT_NE(entry->second.find("May be given more than once."), std::string::npos);
      continue;
    }
    EXPECT_NE(entry->second.find("Setting \\fI" + RoffText(row.key) + "\\fR (" + row.group + ")"),
              std::string::npos);
    if (row.alsoKey) {
      EXPECT_NE(entry->second.find("also sets \\fI" + RoffText(row.alsoKey)), std::string::npos);
    }
    if (row.kind != OptionKind::kKeyword) continue;
    for (int k = 0; k < row.keywords->count; ++k) {
      EXPECT_NE(entry->second.find(Bold(LowerCase(row.keywords->entries[k].word))), std::string::npos)
          << row.keywords->entries[k].word;
    }
  }
  for (int i = 0; i < kCommandOptionDocCount; ++i) {
    const std::string longForm = "\\fB" + RoffText(LowerCase(kCommandOptionDocs[i].longName)) + "\\fR";
    bool found = false;
    for (const auto& entry : entries) found = found || entry.first.find(longForm) != std::string::npos;
    EXPECT_TRUE(found) << kCommandOptionDocs[i].longName;
  }
}

// Each heading opens one subsection that holds all the rows listed under it.
TEST(ManualOptions, EveryHeadingOnce) {
  const std::string section = ManualOptionsSection(ConsoleDefaults());
  for (int i = 0; i < kOptionGroupDocCount; ++i) {
    const std::string heading = ".SS \"" + RoffText(kOptionGroupDocs[i].heading) + "\"\n";
    const size_t first = section.find(heading);
    EXPECT_NE(first, std::string::npos) << heading;
    EXPECT_EQ(section.find(heading, first + 1), std::string::npos) << heading;
  }
}

// Every row's default is read from the record it is given: each setting gets
// a value of its own here, and its entry must show exactly that value.
TEST(ManualOptions, DefaultsAreThoseOfTheRecord) {
  ConversionSettings defaults = ConsoleDefaults();
  std::map<std::string, std::string> expected;
  for (int i = 0; i < kOptionRowCount; ++i) {
    const OptionRow& row = kOptionRows[i];
    if (row.kind == OptionKind::kBatchInput) continue;  // inputs, no setting with a default
    const SettingField* field = FindSettingField(row.group, row.key);
    ASSERT_NE(field, nullptr) << row.name;
    const OptionDoc* doc = FindOptionDoc(row.name);
    ASSERT_NE(doc, nullptr) << row.name;
    std::string shown;
    switch (row.kind) {
      case OptionKind::kKeyword: {
        const Keyword& last = row.keywords->entries[row.keywords->count - 1];
        StoreSettingNumber(defaults, *field, last.value);
        shown = Bold(ValueToKeyword(*row.keywords, last.value));
        break;
      }
      case OptionKind::kInteger:
        StoreSettingNumber(defaults, *field, 7000 + i);
        shown = Bold(std::to_string(7000 + i));
        break;
      case OptionKind::kReal:
        StoreSettingReal(defaults, *field, 2.5f);
        shown = Bold("2.5");
        break;
      case OptionKind::kText:
      case OptionKind::kTextUnquoted:
        StoreSettingText(defaults, *field, "t-" + std::to_string(i));
        shown = Bold("t-" + std::to_string(i));
        break;
      case OptionKind::kFlag: {
        const int32_t value = 1 - SettingNumber(defaults, *field);
        StoreSettingNumber(defaults, *field, value);
        shown = value ? "on (1)" : "off (0)";
        break;
      }
      case OptionKind::kBatchInput: break;
    }
    if (doc->defaultText) shown = RoffText(doc->defaultText);
    expected[Tag(row)] = "Default: " + shown + ".\n";
  }
  const auto entries = EntriesByTag(ManualOptionsSection(defaults));
  for (const auto& [tag, line] : expected) {
    const auto entry = entries.find(tag);
    ASSERT_NE(entry, entries.end()) << tag;
    EXPECT_NE(entry->second.find(line), std::string::npos) << tag << " wants " << line << entry->second;
  }
}

}  // namespace
}  // namespace jpg2dds
