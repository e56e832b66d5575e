#include "platform/safe_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/file_times.h"
#include "platform/new_file.h"

namespace jpg2dds {
namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

TEST(PathWithNulByte, NamesNoFileAndTheFileItsCutNameWouldReachStays) {
  const fs::path folder = fs::temp_directory_path() / ("jpg2dds_safe_files_test_" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string kept = (folder / "abc").string();
  const std::string cut = kept + std::string("\0def.dds", 8);
  const std::string other = (folder / "other").string();
  const struct {
    const char* call;
    std::function<bool()> run;  // true when the call claims success
  } calls[] = {
      {"MoveFileOver", [&] { return MoveFileOver(other, cut); }},
      {"MoveFileOver from", [&] { return MoveFileOver(kept + std::string("\0x", 2), other); }},
      {"WriteFileAtomically", [&] { return WriteFileAtomically(cut, "new"); }},
      {"FlushFileToDisk", [&] { return FlushFileToDisk(cut); }},
      {"RemoveFileQuietly", [&] { RemoveFileQuietly(cut); return false; }},
      {"SetModificationTime", [&] { return SetModificationTime(cut, 86400); }},
      {"CreateNewFile", [&] {
         std::FILE* file = CreateNewFile((folder / "new").string() + std::string("\0x", 2));
         if (file) std::fclose(file);
         return file != nullptr;
       }},
  };
  for (const auto& c : calls) {
    std::ofstream(kept, std::ios::binary) << "old";
    std::ofstream(other, std::ios::binary) << "other";
    ASSERT_TRUE(SetModificationTime(kept, 1000000000));
    EXPECT_FALSE(c.run()) << c.call;
    EXPECT_EQ(Contents(kept), "old") << c.call;
    EXPECT_EQ(Contents(other), "other") << c.call;
    struct stat st {};
    EXPECT_EQ(stat(kept.c_str(), &st), 0) << c.call;
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000000) << c.call;
    EXPECT_FALSE(fs::exists(folder / "new")) << c.call;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2) << c.call;
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace jpg2dds
