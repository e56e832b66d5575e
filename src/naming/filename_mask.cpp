#include "naming/filename_mask.h"

namespace jpg2dds {

std::string ExpandFilenameMask(const ConversionSettings& settings, const ConversionJob&) {
  return settings.filenameMask;
}

std::string ExpandWatermarkText(const ConversionSettings& settings, const ConversionJob&) {
  return settings.text;
}

std::string NameWithoutExtension(const std::string& path) { return path; }

}  // namespace jpg2dds
