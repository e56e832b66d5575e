// The one table of value and flag options: the command line's long options
// and the keys of a profile's "CLI" group are the same entries.
#pragma once
#include <cstdint>
#include <string>

#include "settings/conversion_settings.h"
#include "settings/keywords.h"

namespace jpg2dds {

enum class OptionKind {
  kKeyword,       // trimmed, then looked up in the row's keyword table; unknown words give 0
  kInteger,       // the option integer reader
  kReal,          // the option real reader
  kText,          // the value unchanged
  kTextUnquoted,  // as kText, but a profile strips the outer double quotes
  kFlag,          // the value is ignored; the row's fixed value is stored
  kBatchInput,    // the value unchanged, appended to the batch inputs as the
                  // BatchInputKind in fixedValue; the row names no setting
};

struct OptionRow {
  const char* name;   // upper case, with the leading "--"
  const char* group;  // the setting, by configuration group and key
  const char* key;
  OptionKind kind;
  const KeywordTable* keywords;  // keyword rows only
  int32_t fixedValue;            // flag and batch input rows only
  const char* alsoGroup;         // a further setting switched to alsoValue, or null
  const char* alsoKey;
  int32_t alsoValue;
};

// In the order in which a profile's keys are tried.
extern const OptionRow kOptionRows[];
extern const int kOptionRowCount;

// The row whose name equals the upper-cased option name; null when none does.
const OptionRow* FindOptionRow(const std::string& upperName);

// Where a value comes from: the two readers treat a few things differently.
enum class OptionSource { kCommandLine, kProfile };

// Converts the value by the row's kind and stores it, then stores the row's
// fixed "also sets" value.
void ApplyOptionRow(const OptionRow& row, const std::string& value, OptionSource source,
                    ConversionSettings& settings);

}  // namespace jpg2dds
