#include "options/profile.h"

#include "options/ini_reader.h"
#include "options/option_table.h"
#include "platform/text_case.h"

namespace jpg2dds {

bool LoadProfile(const std::string& path, ConversionSettings& settings) {
  if (path.empty()) return false;
  IniDocument document;
  if (!ReadIniFile(path, document)) return false;
  const IniGroup* group = FindIniGroup(document, "CLI");
  if (!group) return true;
  // Every key line counts, repeats included, so a later line wins.
  for (const IniKeyLine& line : group->lines) {
    if (const OptionRow* row = FindOptionRow(UpperCase(line.key))) {
      ApplyOptionRow(*row, line.value, OptionSource::kProfile, settings);
    }
  }
  return true;
}

}  // namespace jpg2dds
