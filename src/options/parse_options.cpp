#include "options/parse_options.h"

#include "options/option_name.h"
#include "options/option_table.h"
#include "options/profile.h"

namespace jpg2dds {
namespace {

const char kIncorrectParameters[] = "Incorrect number of parameters";
const char kInvalidProfile[] = "Invalid profile file";

bool BeginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// A run option's value may not look like an option at all.
bool RunValueRefused(const std::string& value) { return value.empty() || value[0] == '-'; }

// A long option's value may be a negative number, but never another long
// option (the user forgot the value and its "=").
bool LongValueRefused(const std::string& value) { return value.empty() || BeginsWith(value, "--"); }

enum class RunOption { kInput, kOutput, kConversion };

struct RunOptionName {
  const char* shortName;
  const char* longName;
  RunOption option;
};

const RunOptionName kRunOptionNames[] = {
    {"-I", "--INPUT", RunOption::kInput},
    {"-O", "--OUTPUT", RunOption::kOutput},
    {"-C", "--CONVERSION", RunOption::kConversion},
};

struct ModeFlagName {
  const char* shortName;
  const char* longName;
  bool RunOptions::*flag;
};

const ModeFlagName kModeFlagNames[] = {
    {"-D", "--DEBUG", &RunOptions::debug},
    {"-Q", "--QUIET", &RunOptions::quiet},
    {"-P", "--PAUSE", &RunOptions::pause},
};

}  // namespace

std::string OptionValue(const std::vector<std::string>& args, size_t position) {
  if (position >= args.size()) return std::string();
  const std::string& argument = args[position];
  size_t first = argument.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  std::string value = argument.substr(first, argument.find_last_not_of(' ') - first + 1);
  size_t equals = value.find('=');
  if (BeginsWith(value, "--") && equals != std::string::npos) return value.substr(equals + 1);
  return value;
}

std::string ParseOptions(const std::vector<std::string>& args, ConversionSettings& settings,
                         RunOptions& runOptions) {
  for (size_t position = 0; position < args.size(); ++position) {
    std::string name = OptionName(args[position]);
    if (name.empty()) continue;

    bool handled = false;
    for (const RunOptionName& run : kRunOptionNames) {
      bool isShort = name == run.shortName;
      if (!isShort && name != run.longName) continue;
      handled = true;
      if (run.option == RunOption::kInput) runOptions.consoleRun = true;
      // The short form's value argument is consumed, never read as an option.
      if (isShort) ++position;
      std::string value = OptionValue(args, position);
      if (RunValueRefused(value)) return kIncorrectParameters;
      switch (run.option) {
        case RunOption::kInput:
          runOptions.inputPath = value;
          runOptions.inputPosition = settings.batchInputs.size();
          break;
        case RunOption::kOutput: runOptions.outputFolder = value; break;
        case RunOption::kConversion: runOptions.outputType = value; break;
      }
      break;
    }
    if (handled) continue;

    for (const ModeFlagName& mode : kModeFlagNames) {
      if (name == mode.shortName || name == mode.longName) {
        runOptions.*mode.flag = true;
        handled = true;
        break;
      }
    }
    if (handled) continue;

    if (name == "--PROFILE") {
      std::string path = OptionValue(args, position);
      if (LongValueRefused(path)) return kIncorrectParameters;
      if (!LoadProfile(path, settings)) return kInvalidProfile;
      continue;
    }

    const OptionRow* row = FindOptionRow(name);
    if (!row) continue;  // unknown options are skipped silently
    std::string value;
    if (row->kind != OptionKind::kFlag) {
      value = OptionValue(args, position);
      if (LongValueRefused(value)) return kIncorrectParameters;
    }
    ApplyOptionRow(*row, value, OptionSource::kCommandLine, settings);
  }
  // Folders and lists are inputs too, also when only a profile names them.
  if (!settings.batchInputs.empty()) runOptions.consoleRun = true;
  return std::string();
}

}  // namespace jpg2dds
