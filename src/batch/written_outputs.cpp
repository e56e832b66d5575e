#include "batch/written_outputs.h"

#include "platform/file_system.h"

namespace jpg2dds {

bool ClaimOutputPath(WrittenOutputs& outputs, const std::string& path) {
  std::lock_guard<std::mutex> lock(outputs.mutex);
  return outputs.paths.insert(path).second;
}

bool ClaimRunOutput(WrittenOutputs* outputs, const std::string& path, std::string& claimed) {
  if (!outputs) return true;
  claimed = ResolvedFilePath(path);
  return ClaimOutputPath(*outputs, claimed);
}

void ReleaseOutputPath(WrittenOutputs& outputs, const std::string& path) {
  std::lock_guard<std::mutex> lock(outputs.mutex);
  outputs.paths.erase(path);
}

}  // namespace jpg2dds
