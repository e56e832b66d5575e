// What the manual and the shell completion say about each option, beyond
// what the option table knows: one line of description, the unit and range
// of the setting, the groups' headings, and the options that are not rows of
// the table (run options, mode flags, the profile option).
#pragma once
#include "options/option_table.h"

namespace jpg2dds {

// What a text value is, for its placeholder and its completion.
enum class TextValue { kText, kColour, kFile, kFolder, kFont, kMask, kOutputType };

struct OptionDoc {
  const char* name;         // the option table's name: upper case, with the leading "--"
  const char* description;  // one sentence
  const char* unit;         // null when the value has none
  const char* range;        // null when every value is taken as it is
  // The default when the setting's default is not a constant (a time taken
  // when the run starts); null to print the value ApplyDefaults gives.
  const char* defaultText;
  TextValue textValue;      // text rows only
};

extern const OptionDoc kOptionDocs[];
extern const int kOptionDocCount;

// The documentation row of an option row's name; null when there is none.
const OptionDoc* FindOptionDoc(const char* name);

// A heading for the options of one settings group, and what holds for all
// of them.
struct OptionGroupDoc {
  const char* group;    // the settings group of the rows
  const char* heading;
  const char* note;     // null when there is nothing to add
};

// The heading of the rows that name inputs, which belong to no settings group.
inline constexpr const char* kBatchInputsGroup = "Inputs";

// The group a row's documentation is listed under: its settings group, or the
// inputs' for the rows that name inputs and the settings of a run over them.
const char* DocumentedGroup(const OptionRow& row);

// In the order in which the manual lists them.
extern const OptionGroupDoc kOptionGroupDocs[];
extern const int kOptionGroupDocCount;

const OptionGroupDoc* FindOptionGroupDoc(const char* group);

// Where the parser or the start-up takes an option that is not a table row.
enum class CommandOptionKind {
  kRunValue,       // a value in RunOptions: short form with the next argument, long form with "="
  kModeFlag,       // a flag of RunOptions
  kProfile,        // applies a profile file where it stands
  kFirstArgument,  // a mode recognised only as the first argument
};

struct CommandOptionDoc {
  const char* shortNames[2];  // upper case, as OptionName gives them; null when there is none
  const char* longName;       // upper case, with the leading "--"
  CommandOptionKind kind;
  TextValue value;            // run values and the profile only
  const char* description;
};

// In the order in which the manual lists them.
extern const CommandOptionDoc kCommandOptionDocs[];
extern const int kCommandOptionDocCount;

// The placeholder a value is shown with: NUM, WORD, FILE, ...; empty for a flag.
const char* ValuePlaceholder(const OptionRow& row, const OptionDoc& doc);
const char* ValuePlaceholder(TextValue value);

}  // namespace jpg2dds
