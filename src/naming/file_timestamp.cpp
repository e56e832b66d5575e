#include "naming/file_timestamp.h"

namespace jpg2dds {

void ApplyFileTimestamp(const ConversionSettings&, const std::string&, const std::string&) {}

}  // namespace jpg2dds
