// What a shell does around a run: a pipe whose reader goes away, closed
// standard streams, signals that end the process, a file size limit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/program_identity.h"
#include "e2e_support.h"
#include "platform/instance_lock.h"

namespace {

using e2e::FinishJpg2dds;
using e2e::Running;
using e2e::StartJpg2dds;
using e2e::TempDir;
using Lines = std::vector<std::string>;

// `jpg2dds ... | head -n N`: the reader takes N lines (0: none) and closes
// its end while the conversion still has lines to print. A lost line is
// lost, nothing more: the file is written and the exit code is 0.
TEST(ShellPipe, ReaderThatGoesAwayNeitherEndsTheRunNorLosesTheFile) {
  TempDir dir;
  const std::string input = dir.File("pic.jpg");
  // Big enough that the lines after the conversion come long after the close.
  e2e::WriteJpeg(input, 1024, 1024);
  for (const Lines& mode : {Lines{}, Lines{"-d"}}) {
    for (int linesRead = 0; linesRead <= 8; ++linesRead) {
      SCOPED_TRACE((mode.empty() ? "plain, " : "debug, ") + std::to_string(linesRead) + " lines read");
      Lines args = {"-i", input, "-o", dir.path()};
      args.insert(args.end(), mode.begin(), mode.end());
      Running run = StartJpg2dds(args);
      for (int wait = 0; wait < 600 && std::count(run.text.begin(), run.text.end(), '\n') < linesRead; ++wait) {
        if (!e2e::ReadOutputFor(run, 100)) break;
      }
      close(run.out);
      run.out = -1;
      EXPECT_EQ(FinishJpg2dds(run), 0);
      EXPECT_EQ(e2e::ReadBytes(dir.File("pic.dds")).substr(0, 4), "DDS ");
      unlink(dir.File("pic.dds").c_str());
    }
  }
}

// `jpg2dds ... >&-` and the like: a descriptor closed at the start must not
// be taken by the lock file or the output file, which would then receive
// console text.
TEST(ShellStreams, ClosedStandardStreamsReceiveNothingOfOurs) {
  TempDir dir;
  const std::string input = dir.File("pic.jpg");
  e2e::WriteJpeg(input, 64, 48);
  const Lines args = {"-i", input, "-o", dir.path(), "-d"};
  ASSERT_EQ(e2e::RunJpg2dds(args).exitCode, 0);
  const std::string expected = e2e::ReadBytes(dir.File("pic.dds"));
  ASSERT_EQ(expected.substr(0, 4), "DDS ");
  const std::string lockFile = jpg2dds::InstanceLockPath(jpg2dds::FullTitle());
  for (const std::vector<int>& closed : {std::vector<int>{0}, {1}, {2}, {1, 2}, {0, 1, 2}}) {
    std::string which;
    for (int fd : closed) which += std::to_string(fd) + " ";
    SCOPED_TRACE("closed: " + which);
    unlink(dir.File("pic.dds").c_str());
    ASSERT_EQ(truncate(lockFile.c_str(), 0), 0);
    EXPECT_EQ(e2e::RunJpg2dds(args, "", -1, closed).exitCode, 0);
    EXPECT_EQ(e2e::ReadBytes(lockFile), "");
    EXPECT_EQ(e2e::ReadBytes(dir.File("pic.dds")), expected);
    EXPECT_EQ(e2e::ListFolder(dir.path()), (Lines{"pic.dds", "pic.jpg"}));
  }
}

}  // namespace
