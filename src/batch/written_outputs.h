// The output files of a run so far, so that no input of the run replaces the
// file another one wrote. Shared by every copy of the job and safe to use
// from several threads.
#pragma once
#include <mutex>
#include <string>
#include <unordered_set>

namespace jpg2dds {

struct WrittenOutputs {
  std::mutex mutex;
  std::unordered_set<std::string> paths;  // as ResolvedFilePath gives them
};

// Takes the output path for the file about to be written; false when an
// earlier file of the run has it.
bool ClaimOutputPath(WrittenOutputs& outputs, const std::string& path);

// ClaimOutputPath for the path as ResolvedFilePath gives it, which is put
// in `claimed` for a later release; true without claiming anything when
// there is no record (null).
bool ClaimRunOutput(WrittenOutputs* outputs, const std::string& path, std::string& claimed);

// Gives a claimed path back when its file was not written after all.
void ReleaseOutputPath(WrittenOutputs& outputs, const std::string& path);

}  // namespace jpg2dds
