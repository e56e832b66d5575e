#include "batch/file_result.h"

namespace jpg2dds {

const FailureReasonRow kFailureReasonRows[] = {
    {FailureReason::kUnreadable, "unreadable", "The input file cannot be read"},
    {FailureReason::kNotJpeg, "not-jpeg", "The input file is not a JPEG picture"},
    {FailureReason::kDamaged, "damaged", "The JPEG data cannot be decoded"},
    {FailureReason::kTooLarge, "too-large",
     "The picture, or the picture the edits would make, is larger than 268,435,456 pixels"},
    {FailureReason::kOutputTaken, "output-taken", "An earlier input of this run has the same output file"},
    {FailureReason::kWriteFailed, "write-failed", "The output file cannot be written"},
    {FailureReason::kDiskFull, "disk-full", "The disk is full, or the file size limit is reached"},
    {FailureReason::kOutOfMemory, "out-of-memory", "Not enough memory to convert the picture"},
    {FailureReason::kUnreadableFolder, "unreadable-folder", "The folder cannot be read"},
    {FailureReason::kHelperDied, "helper-died", "The process that made the DDS data ended before it was done"},
};
const int kFailureReasonCount = static_cast<int>(sizeof(kFailureReasonRows) / sizeof(kFailureReasonRows[0]));

const FailureReasonRow* FindFailureReason(FailureReason reason) {
  for (int i = 0; i < kFailureReasonCount; ++i) {
    if (kFailureReasonRows[i].reason == reason) return &kFailureReasonRows[i];
  }
  return nullptr;
}

void NoteFailure(FileResult& result, FailureReason reason) {
  if (result.reason == FailureReason::kNone) result.reason = reason;
}

FailureReason FailureOf(const FileResult& result) {
  return result.reason == FailureReason::kNone ? FailureReason::kWriteFailed : result.reason;
}

}  // namespace jpg2dds
