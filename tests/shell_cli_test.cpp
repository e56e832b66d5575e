// What a shell does around a run: a pipe whose reader goes away, closed
// standard streams, signals that end the process, a file size limit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e_support.h"

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

}  // namespace
