#include "docs/debian_copyright.h"

#include "app/program_identity.h"

namespace jpg2dds {

std::string DebianCopyrightText() {
  // The notice is "© YEARS HOLDER"; the file wants "YEARS HOLDER".
  std::string holder = kMakerNotice;
  const std::string sign = "\xC2\xA9 ";
  if (holder.compare(0, sign.size(), sign) == 0) holder.erase(0, sign.size());
  return "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
         "Upstream-Name: " + std::string(kTitleText) + "\n"
         "Source: " + kMakerWebAddress + "\n"
         "Comment: The DXT1 and DXT5 block compressor built into the program is\n"
         " stb_dxt.h by Sean Barrett, in the public domain (the Unlicense).\n"
         "\n"
         "Files: *\n"
         "Copyright: " + holder + "\n"
         "License: proprietary\n"
         " All rights reserved.\n";
}

}  // namespace jpg2dds
