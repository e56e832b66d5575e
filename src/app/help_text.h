// The fixed texts printed outside a batch: version, help and banner.
#pragma once
#include <string>
#include <vector>

namespace jpg2dds {

// The running program's name: its file name without the extension (the
// part from the last "." on).
std::string ProgramNameFromFile(const std::string& fileName);

// The 36 help lines for a program name; the example extension of each usage
// line is drawn anew from the input type list.
std::vector<std::string> HelpLines(const std::string& programName);

// The four banner lines: title, the maker's notice with "(c)", web address,
// and a line of one blank.
std::vector<std::string> BannerLines();

// Prints the version text alone.
void PrintVersion();

// Prints the help lines for the running program's own name.
void PrintHelp();

void PrintBanner();

}  // namespace jpg2dds
