#include "options/parse_options.h"

namespace jpg2dds {

std::string ParseOptions(const std::vector<std::string>&, ConversionSettings&, RunOptions&) {
  return std::string();
}

}  // namespace jpg2dds
