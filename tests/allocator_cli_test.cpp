// The program allocates through jemalloc with settings of its own, whatever
// the user's environment says about them.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"

namespace {

// The settings in effect, as the allocator prints them at exit when asked
// for its statistics: freed blocks of any size kept for the next picture,
// one arena, huge pages.
TEST(Allocator, RunsWithTheProgramsOwnSettings) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator replaces jemalloc";
#else
  e2e::TempDir dir;
  e2e::WriteJpeg(dir.File("pic.jpg"), 64, 48);
  const e2e::RunResult result = e2e::RunJpg2ddsInShell(
      "sh", "export MALLOC_CONF=stats_print:true", {"-i", dir.File("pic.jpg"), "-o", dir.path(), "-q"});
  EXPECT_EQ(result.exitCode, 0);
  for (const char* setting : {"opt.narenas: 1\n", "opt.oversize_threshold: 0\n", "opt.dirty_decay_ms: -1 ",
                              "opt.thp: \"always\"\n"}) {
    EXPECT_NE(result.err.find(setting), std::string::npos) << setting << " not in:\n" << result.err.substr(0, 2000);
  }
  EXPECT_EQ(e2e::ListFolder(dir.path()), (std::vector<std::string>{"pic.dds", "pic.jpg"}));
#endif
}

}  // namespace
