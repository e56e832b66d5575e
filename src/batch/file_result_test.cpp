#include "batch/file_result.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace jpg2dds {
namespace {

// Scripts compare the codes: these never change once released.
TEST(FailureReasons, EveryReasonHasItsStableCodeAndAText) {
  const std::set<std::string> released = {"unreadable", "not-jpeg",     "damaged",      "too-large",
                                          "output-taken", "write-failed", "disk-full", "out-of-memory",
                                          "unreadable-folder"};
  std::set<std::string> codes;
  for (int reason = static_cast<int>(FailureReason::kUnreadable);
       reason <= static_cast<int>(FailureReason::kUnreadableFolder); ++reason) {
    const FailureReasonRow* row = FindFailureReason(static_cast<FailureReason>(reason));
    ASSERT_NE(row, nullptr) << reason;
    EXPECT_TRUE(codes.insert(row->code).second) << row->code;
    EXPECT_NE(std::string(row->text), "");
  }
  EXPECT_EQ(codes, released);
  EXPECT_EQ(FindFailureReason(FailureReason::kNone), nullptr);
}

TEST(FailureReasons, TheFirstCauseFoundStays) {
  FileResult result;
  EXPECT_EQ(FailureOf(result), FailureReason::kWriteFailed);
  NoteFailure(result, FailureReason::kDiskFull);
  NoteFailure(result, FailureReason::kWriteFailed);
  EXPECT_EQ(FailureOf(result), FailureReason::kDiskFull);
}

}  // namespace
}  // namespace jpg2dds
