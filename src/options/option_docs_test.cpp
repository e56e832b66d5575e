#include "options/option_docs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "options/parse_options.h"

namespace jpg2dds {
namespace {

// The manual documents every option of the table from these rows, so a row
// added to either table alone must fail here.
TEST(OptionDocs, EveryOptionRowHasOneDocumentationRowAndEveryDocumentationRowNamesAnOption) {
  std::map<std::string, int> docsPerName;
  for (int i = 0; i < kOptionDocCount; ++i) {
    const OptionDoc& doc = kOptionDocs[i];
    ++docsPerName[doc.name];
    const OptionRow* row = FindOptionRow(doc.name);
    EXPECT_NE(row, nullptr) << doc.name << " is documented but is no option";
    EXPECT_NE(doc.description, nullptr) << doc.name;
    if (doc.description) {
      EXPECT_GT(std::strlen(doc.description), 0u) << doc.name;
    }
    // A kind of text value on a row that takes no text would never show.
    if (row && doc.textValue != TextValue::kText) {
      EXPECT_TRUE(row->kind == OptionKind::kText || row->kind == OptionKind::kTextUnquoted ||
                  row->kind == OptionKind::kBatchInput) << doc.name;
    }
  }
  for (int i = 0; i < kOptionRowCount; ++i) {
    EXPECT_EQ(docsPerName[kOptionRows[i].name], 1) << kOptionRows[i].name << " needs one row in kOptionDocs";
  }
}

TEST(OptionDocs, EveryGroupOfTheOptionTableHasAHeading) {
  for (int i = 0; i < kOptionRowCount; ++i) {
    const OptionGroupDoc* group = FindOptionGroupDoc(DocumentedGroup(kOptionRows[i]));
    ASSERT_NE(group, nullptr) << DocumentedGroup(kOptionRows[i]) << " of " << kOptionRows[i].name;
    EXPECT_GT(std::strlen(group->heading), 0u);
  }
}

RunOptions Parsed(const std::vector<std::string>& args, std::string& error) {
  ConversionSettings settings;
  ApplyDefaults(settings, DefaultsVariant::kConsole, 0, 0);
  RunOptions run;
  error = ParseOptions(args, settings, run);
  return run;
}

// The options documented beside the table are the parser's own: an option
// that it did not know would be skipped without an error and change nothing.
TEST(OptionDocs, CommandOptionsAreTheParsersOwnAndNoTableRows) {
  for (int i = 0; i < kCommandOptionDocCount; ++i) {
    const CommandOptionDoc& doc = kCommandOptionDocs[i];
    SCOPED_TRACE(doc.longName);
    std::vector<std::string> names{doc.longName};
    for (const char* shortName : doc.shortNames) {
      if (shortName) names.push_back(shortName);
    }
    for (const std::string& name : names) EXPECT_EQ(FindOptionRow(name), nullptr) << name;

    std::string error;
    switch (doc.kind) {
      case CommandOptionKind::kRunValue:
      case CommandOptionKind::kProfile:
        Parsed({std::string(doc.longName) + "="}, error);
        EXPECT_EQ(error, "Incorrect number of parameters");
        if (doc.shortNames[0]) {
          Parsed({doc.shortNames[0]}, error);
          EXPECT_EQ(error, "Incorrect number of parameters");
        }
        break;
      case CommandOptionKind::kModeFlag:
        for (const std::string& name : names) {
          const RunOptions run = Parsed({name}, error);
          EXPECT_EQ(error, "");
          EXPECT_TRUE(run.debug || run.quiet || run.pause) << name;
        }
        break;
      case CommandOptionKind::kFirstArgument:
        break;  // taken by the start-up before the parser runs
    }
  }
}

}  // namespace
}  // namespace jpg2dds
