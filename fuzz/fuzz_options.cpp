// Command lines and profile bytes: the first NUL-separated piece is a
// profile file, the others are arguments; "@P" stands for "--profile=FILE".
#include "fuzz_support.h"
#include "options/parse_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> pieces = fuzz::SplitAtNul(data, size);
  std::string profile = fuzz::WriteScratchFile("profile.ini", pieces[0]);
  std::vector<std::string> args;
  for (size_t i = 1; i < pieces.size(); ++i) {
    args.push_back(pieces[i] == "@P" ? "--profile=" + profile : pieces[i]);
  }
  jpg2dds::ConversionSettings settings;
  jpg2dds::ApplyDefaults(settings, jpg2dds::DefaultsVariant::kConsole, 0, 0);
  jpg2dds::RunOptions runOptions;
  jpg2dds::ParseOptions(args, settings, runOptions);
  return 0;
}
