// Build tool: writes the manual page from its hand-written template with the
// generated OPTIONS section put in, the bash completion script and the
// package's copyright file.
//   jpg2dds_docs TEMPLATE RELEASE_DATE MANUAL_PAGE COMPLETION_SCRIPT COPYRIGHT_FILE
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "app/program_identity.h"
#include "docs/bash_completion.h"
#include "docs/debian_copyright.h"
#include "docs/manual_options.h"
#include "docs/roff_text.h"
#include "settings/conversion_settings.h"

namespace {

// Replaces every occurrence; false when there is none.
bool ReplaceAll(std::string& text, const std::string& marker, const std::string& replacement) {
  size_t at = text.find(marker);
  if (at == std::string::npos) return false;
  for (; at != std::string::npos; at = text.find(marker, at + replacement.size())) {
    text.replace(at, marker.size(), replacement);
  }
  return true;
}

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  return !file.fail();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::cerr << "usage: jpg2dds_docs TEMPLATE RELEASE_DATE MANUAL_PAGE COMPLETION_SCRIPT COPYRIGHT_FILE\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream page;
  page << in.rdbuf();
  if (!in) {
    std::cerr << "jpg2dds_docs: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::string text = page.str();

  // Fixed times: the page must come out the same at every build.
  jpg2dds::ConversionSettings defaults;
  jpg2dds::ApplyDefaults(defaults, jpg2dds::DefaultsVariant::kConsole, 0, 0);
  if (!ReplaceAll(text, "@VERSION@", jpg2dds::RoffText(jpg2dds::VersionText())) ||
      !ReplaceAll(text, "@DATE@", argv[2]) ||
      !ReplaceAll(text, "@OPTIONS@\n", jpg2dds::ManualOptionsSection(defaults))) {
    std::cerr << "jpg2dds_docs: " << argv[1] << " lacks @VERSION@, @DATE@ or an @OPTIONS@ line\n";
    return 1;
  }
  if (!WriteText(argv[3], text) || !WriteText(argv[4], jpg2dds::BashCompletionScript()) ||
      !WriteText(argv[5], jpg2dds::DebianCopyrightText())) {
    std::cerr << "jpg2dds_docs: cannot write the output files\n";
    return 1;
  }
  return 0;
}
