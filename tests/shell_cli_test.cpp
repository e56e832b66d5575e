// What a shell does around a run: a pipe whose reader goes away, closed
// standard streams, signals that end the process, a file size limit.
#include <fnmatch.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
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

// The worker's lines "OK" and "Not OK" of a debug run, in order.
Lines Verdicts(const e2e::RunResult& result) {
  Lines verdicts;
  for (const std::string& line : result.lines) {
    if (line == "OK" || line == "Not OK") verdicts.push_back(line);
  }
  return verdicts;
}

bool HasEnded(const Running& run) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(run.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == run.pid;
}

// `jpg2dds ... | head -n N`: the reader takes N lines (0: none) and closes
// its end while the conversion still has lines to print. A lost line is
// lost, nothing more: the file is written and the exit code is 0.
TEST(ShellPipe, ReaderThatGoesAwayNeitherEndsTheRunNorLosesTheFile) {
  TempDir dir;
  const std::string input = dir.File("pic.jpg");
  // Big enough that the lines after the conversion come long after the close
  // (tens of milliseconds), small enough for 18 runs.
  e2e::WriteJpeg(input, 512, 512);
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

// Ctrl-C, kill, a closed terminal or Ctrl-\\ while the file is written: the
// temporary file goes, and the process still ends by that signal. `kill -9`
// leaves it, in the output folder, under a name that neither a shell's
// "*.dds" nor `find -name '*.dds'` takes for a texture.
TEST(ShellSignals, EndingSignalRemovesTheTemporaryFile) {
  TempDir dir;
  const std::string input = dir.File("pic.jpg");
  e2e::WriteJpeg(input, 3000, 3000);
  const std::string out = dir.File("out");
  ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGKILL}) {
    SCOPED_TRACE(strsignal(signal));
    for (const std::string& name : e2e::ListFolder(out)) unlink((out + "/" + name).c_str());
    Running run = StartJpg2dds({"-i", input, "-o", out, "-q"}, dir.path());
    bool sent = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!sent && !HasEnded(run) && std::chrono::steady_clock::now() < deadline) {
      if (e2e::HasTemporaryFile(out)) {
        sent = kill(run.pid, signal) == 0;
      } else {
        usleep(1000);
      }
    }
    EXPECT_TRUE(sent) << "no temporary file seen";
    FinishJpg2dds(run);
    EXPECT_TRUE(WIFSIGNALED(run.status) && WTERMSIG(run.status) == signal) << "wait status " << run.status;
    if (signal != SIGKILL) {
      EXPECT_FALSE(e2e::HasTemporaryFile(out)) << e2e::ListFolder(out).front();
    }
    for (const std::string& name : e2e::ListFolder(out)) {
      if (name == "pic.dds") continue;  // renamed just before the signal came
      // find's rule; a shell's (FNM_PERIOD) takes fewer names still.
      EXPECT_NE(fnmatch("*.dds", name.c_str(), 0), 0) << name;
    }
  }
}

// `ulimit -f`: a write past the limit fails as on a full disk, whatever the
// limit; the file is "Not OK", the older output stays, nothing is left over.
// At the file's own size the write succeeds.
TEST(ShellLimits, FileSizeLimitFailsTheFileLikeAFullDisk) {
  TempDir dir;
  const std::string input = dir.File("pic.jpg");
  e2e::WriteJpeg(input, 512, 512);
  const Lines args = {"-i", input, "-o", dir.path(), "-q", "-d"};
  ASSERT_EQ(e2e::RunJpg2dds(args).lines.back(), "OK");
  const long size = static_cast<long>(e2e::ReadBytes(dir.File("pic.dds")).size());
  const std::string old = "an older output";
  for (long limit : {1L, 127L, 128L, 129L, 4096L, size / 2, size - 1, size}) {
    SCOPED_TRACE("limit " + std::to_string(limit) + " of " + std::to_string(size));
    e2e::WriteBytes(dir.File("pic.dds"), old);
    e2e::RunResult result = e2e::RunJpg2dds(args, "", limit);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(Verdicts(result), Lines{limit < size ? "Not OK" : "OK"}) << result.out;
    if (limit < size) {
      EXPECT_EQ(e2e::ReadBytes(dir.File("pic.dds")), old);
    }
    EXPECT_EQ(e2e::ListFolder(dir.path()), (Lines{"pic.dds", "pic.jpg"}));
  }
}

// `ulimit -v`: a photo that does not fit into the memory there is fails
// alone ("Not OK", nothing left behind or printed on standard error); the
// next one is written as without the limit, on one thread or several, by
// either encoder. So is a file of a few pixels and 26 MB of comments.
TEST(ShellLimits, MemoryLimitFailsOnlyThePhotoThatDoesNotFit) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory does not fit under an address space limit";
#else
  TempDir dir;
  e2e::WriteJpeg(dir.File("large.jpg"), 6000, 4000);  // 72 MB decoded
  e2e::WriteJpeg(dir.File("small.jpg"), 64, 48);
  const std::string small = e2e::ReadBytes(dir.File("small.jpg"));
  std::string comments = small.substr(0, 2);
  for (int i = 0; i < 400; ++i) comments += "\xFF\xFE\xFF\xFF" + std::string(65533, 'c');
  e2e::WriteBytes(dir.File("comments.jpg"), comments + small.substr(2));
  const std::string out = dir.File("out");
  ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
  for (const char* compression : {"--dds-compression=auto", "--dds-compression=dxt1"}) {
    ASSERT_EQ(e2e::RunJpg2dds({"-i", dir.File("small.jpg"), "-o", out, "-q", compression}).exitCode, 0);
    const std::string unlimited = e2e::ReadBytes(out + "/small.dds");
    for (const char* threads : {"--threads=1", "--threads=4"}) {
      SCOPED_TRACE(std::string(compression) + " " + threads);
      unlink((out + "/small.dds").c_str());
      const bool one = threads[10] == '1';  // side by side, the comments would compete with the small photo
      e2e::WriteBytes(dir.File("list.txt"), std::string("large.jpg\n") + (one ? "comments.jpg\n" : "") + "small.jpg\n");
      const e2e::RunResult result = e2e::RunJpg2ddsInShell(
          "sh", "ulimit -v 61440", {"--input-list=list.txt", "-o", out, "-d", "-q", compression, threads}, dir.path());
      EXPECT_EQ(result.exitCode, 0);
      EXPECT_EQ(result.err, "");
      EXPECT_EQ(Verdicts(result), one ? (Lines{"Not OK", "Not OK", "OK"}) : (Lines{"Not OK", "OK"}));
      EXPECT_EQ(e2e::ListFolder(out), Lines{"small.dds"});
      EXPECT_TRUE(e2e::ReadBytes(out + "/small.dds") == unlimited);
    }
  }
#endif
}

// `ulimit -u` as an ordinary user: threads that cannot start are done
// without, down to the one the run began on; every photo is converted, byte
// for byte as without the limit.
TEST(ShellLimits, ProcessLimitConvertsEverythingOnTheThreadsThereAre) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the leak checker needs a thread of its own at the end";
#else
  std::vector<std::string> user;
  if (!e2e::OrdinaryUser(user)) GTEST_SKIP() << "no way to run as an ordinary user";
  TempDir dir;
  const std::string out = dir.File("out");
  for (const char* folder : {"in", "out"}) ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0777), 0);
  ASSERT_EQ(chmod(dir.path().c_str(), 0755) | chmod(out.c_str(), 0777), 0);
  for (int i = 0; i < 3; ++i) {
    e2e::WriteJpeg(dir.File("in/" + std::to_string(i) + ".jpg"), 300 + 50 * i, 200, 0x336699 * i);
  }
  for (const char* compression : {"--dds-compression=auto", "--dds-compression=dxt1"}) {
    std::vector<std::string> unlimited;
    for (const char* limit : {"true", "ulimit -u 1", "ulimit -u 2", "ulimit -u 3"}) {
      SCOPED_TRACE(std::string(compression) + ", " + limit);
      for (const std::string& name : e2e::ListFolder(out)) unlink((out + "/" + name).c_str());
      const e2e::RunResult result = e2e::RunJpg2ddsInShell(
          "bash", limit, {"--input-folder=" + dir.File("in"), "-o", out, compression, "--threads=8"}, "", user);
      EXPECT_EQ(result.err, "");
      EXPECT_EQ(result.lines.back(), "Files converted: 3 of 3");
      std::vector<std::string> files;
      for (const std::string& name : e2e::ListFolder(out)) files.push_back(name + e2e::ReadBytes(out + "/" + name));
      if (unlimited.empty()) unlimited = files;
      EXPECT_TRUE(files.size() == 3 && files == unlimited);
    }
  }
#endif
}

}  // namespace
