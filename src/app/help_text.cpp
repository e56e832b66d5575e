#include "app/help_text.h"

#include "app/program_identity.h"
#include "formats/format_tables.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/random.h"
#include "texts/string_catalogue.h"

namespace jpg2dds {
namespace {

// %s1% is the program name, %s2% an input extension. Descriptions start at
// the 29th character.
const char* const kHelpTemplate[] = {
    " ",
    "Usage: %s1% -i <filename> [options]",
    " ",
    "  %s1% -i example.%s2%",
    "  %s1% -i c:\\tmp\\example.%s2%",
    "  %s1% -i c:\\tmp\\example.%s2% -o d:\\converted",
    "  %s1% -i c:\\tmp\\example.%s2% -o d:\\converted --jpg-quality=95",
    " ",
    "Options:",
    " ",
    "  -h, -?, --help            Display this help and exit",
    "  -i FILE, --input=FILE     Set input file",
    "  -o PATH, --output=PATH    Set output folder",
    "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)",
    " ",
    "Advanced options:",
    " ",
    "  --width=NUM               Set output image width",
    "  --height=NUM              Set output image height",
    "  --filename-mask=STR       Define output filename format",
    "  --flip-horizontal         Flip output image horizontally",
    "  --flip-vertical           Flip output image vertically",
    "  --brightness=NUM          Set output image brightness, NUM = -100..100",
    "  --contrast=NUM            Set output image contrast, NUM = -100..100",
    "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99",
    "  --invert                  Invert output image",
    "  --greyscale               Greyscale output image",
    "  --profile=FILE            Set configuration file with required settings",
    "    ...                     Refer documentation for all available options",
    " ",
    "Other options:",
    " ",
    "  -q, --quiet               Don't print status messages to stdout",
    "  -d, --debug               Print debug information to stdout",
    "  -p, --pause               Pause at exit",
    "  -v, --version             Display version information and exit",
};

// Line numbers (from 1) of the usage lines that carry an example extension.
bool HasExampleExtension(int lineNumber) { return lineNumber >= 4 && lineNumber <= 7; }

std::string RandomInputType() {
  int count = static_cast<int>(kInputTypeList.size());
  return kInputTypeList[RandomInRange(0, count - 1)];
}

void PrintLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) PrintLine(line);
}

}  // namespace

std::string ProgramNameFromFile(const std::string& fileName) {
  size_t dot = fileName.rfind('.');
  return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::vector<std::string> HelpLines(const std::string& programName) {
  std::vector<std::string> lines;
  int lineNumber = 0;
  for (const char* line : kHelpTemplate) {
    ++lineNumber;
    if (lineNumber == 2) {
      lines.push_back(SubstituteArgs(line, programName, "", "", ""));
    } else if (HasExampleExtension(lineNumber)) {
      lines.push_back(SubstituteArgs(line, programName, RandomInputType(), "", ""));
    } else {
      lines.push_back(line);
    }
  }
  return lines;
}

std::vector<std::string> BannerLines() {
  std::string notice = kMakerNotice;
  const std::string copyrightSign = "\xC2\xA9";
  for (size_t pos; (pos = notice.find(copyrightSign)) != std::string::npos;) {
    notice.replace(pos, copyrightSign.size(), "(c)");
  }
  return {FullTitle(), notice, kMakerWebAddress, " "};
}

void PrintVersion() { PrintLine(VersionText()); }

void PrintHelp() { PrintLines(HelpLines(ProgramNameFromFile(ProgramFileName()))); }

void PrintBanner() { PrintLines(BannerLines()); }

}  // namespace jpg2dds
