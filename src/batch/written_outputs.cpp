#include "batch/written_outputs.h"

namespace jpg2dds {

bool ClaimOutputPath(WrittenOutputs& outputs, const std::string& path) {
  std::lock_guard<std::mutex> lock(outputs.mutex);
  return outputs.paths.insert(path).second;
}

void ReleaseOutputPath(WrittenOutputs& outputs, const std::string& path) {
  std::lock_guard<std::mutex> lock(outputs.mutex);
  outputs.paths.erase(path);
}

}  // namespace jpg2dds
