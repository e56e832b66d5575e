// Configuration files of any bytes load; what is saved then loads back to
// the same file (saving is stable after one round).
#include <cstdlib>

#include "fuzz_support.h"
#include "settings/configuration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = fuzz::WriteScratchFile("config.ini", std::string(reinterpret_cast<const char*>(data), size));
  jpg2dds::ConversionSettings settings;
  jpg2dds::LoadConfiguration(settings, path, 0);
  std::string first = jpg2dds::ConfigurationText(settings);
  fuzz::WriteScratchFile("config.ini", first);
  jpg2dds::ConversionSettings again;
  jpg2dds::LoadConfiguration(again, path, 0);
  if (jpg2dds::ConfigurationText(again) != first) std::abort();
  return 0;
}
