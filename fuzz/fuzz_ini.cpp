// INI text of any bytes: parsing and lookups never fail.
#include "options/ini_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  jpg2dds::IniDocument document = jpg2dds::ParseIniText(bytes);
  for (const char* name : {"CLI", "General", "Watermark", ""}) {
    if (const jpg2dds::IniGroup* group = jpg2dds::FindIniGroup(document, name)) {
      jpg2dds::FindIniKey(*group, "--WIDTH");
      jpg2dds::FindIniKey(*group, "CFG");
    }
  }
  return 0;
}
