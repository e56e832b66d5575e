#include "platform/temporary_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/new_file.h"
#include "platform/safe_files.h"

namespace jpg2dds {
namespace {

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::string Numbered(const std::string& prefix, int number) {
  return prefix + (number < 10 ? "0" : "") + std::to_string(number);
}

// Files made, moved and removed through the platform's functions, then what
// an ending signal's handler does. Exits with the number of files that did
// not behave; run in a child, since the list refuses new files afterwards.
void MakeFilesThenEnd(const std::string& folder) {
  int faults = 0;
  // 64 listed, 6 more unlisted: a full list does not fail a file.
  for (int i = 0; i < 70; ++i) {
    std::FILE* file = CreateNewFile(folder + Numbered("/t", i));
    faults += file == nullptr;
    if (file) faults += !CloseWrittenFile(file);
  }
  faults += !MoveFileOver(folder + "/t00", folder + "/kept");
  RemoveFileQuietly(folder + "/t01");
  // These two take the slots that the move and the removal gave back.
  for (int i = 70; i < 72; ++i) {
    std::FILE* file = CreateNewFile(folder + Numbered("/t", i));
    faults += file == nullptr;
    if (file) faults += !CloseWrittenFile(file);
  }
  RemoveTemporaryFilesNow();
  faults += CreateNewFile(folder + "/late") != nullptr;
  _exit(faults);
}

TEST(TemporaryFiles, EndingRemovesTheListedFilesAndListsNoMore) {
  char pattern[] = "/tmp/jpg2dds-temporary-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string folder = pattern;
  EXPECT_EXIT(MakeFilesThenEnd(folder), ::testing::ExitedWithCode(0), "");
  std::vector<std::string> expected = {"kept"};
  for (int i = 64; i < 70; ++i) expected.push_back(Numbered("t", i));
  EXPECT_EQ(Names(folder), expected);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace jpg2dds
