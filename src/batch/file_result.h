// What became of one input of a run: converted, skipped as up to date, or
// failed for a reason. The reasons are one table: a stable code for scripts,
// a text for people.
#pragma once
#include <cstdint>
#include <string>

namespace jpg2dds {

enum class FileStatus { kConverted, kSkipped, kFailed };

enum class FailureReason {
  kNone,  // not failed, or no cause known yet
  kUnreadable,
  kNotJpeg,
  kDamaged,
  kTooLarge,
  kOutputTaken,
  kWriteFailed,
  kDiskFull,
  kOutOfMemory,
  kUnreadableFolder,
  kHelperDied,
};

struct FailureReasonRow {
  FailureReason reason;
  const char* code;  // never changes once released: scripts compare it
  const char* text;
};

extern const FailureReasonRow kFailureReasonRows[];
extern const int kFailureReasonCount;

// The row of a reason; null for kNone.
const FailureReasonRow* FindFailureReason(FailureReason reason);

struct FileResult {
  FileStatus status = FileStatus::kFailed;
  FailureReason reason = FailureReason::kNone;
  // The output path made for this input; empty when no name was made (the
  // job's current output path then still holds the previous file's).
  std::string outputPath;
  int32_t width = 0;  // of the picture written; 0 while not known
  int32_t height = 0;
  const char* format = nullptr;  // "dxt1", "dxt5" or "bgra" once known
  int64_t bytes = 0;             // of the file written
  double seconds = 0;            // spent on this input, waiting for its turn not counted
};

// Records the reason of a failure unless one is known already: the first
// cause found is the cause, what follows from it is not.
void NoteFailure(FileResult& result, FailureReason reason);

// The reason of a failed result, kWriteFailed when none was found.
FailureReason FailureOf(const FileResult& result);

}  // namespace jpg2dds
