#include "app/program_identity.h"

namespace jpg2dds {

std::string VersionText(int32_t versionNumber) {
  std::string text = std::to_string(versionNumber);
  if (text.size() >= 1) text.insert(1, ".");
  if (text.size() >= 3) text.insert(3, ".");
  if (!text.empty() && text.back() == '0') text = text.substr(0, 3);
  return text;
}

std::string FullTitle() { return std::string(kTitleText) + " " + VersionText(); }

}  // namespace jpg2dds
