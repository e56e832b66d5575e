// Runs a pipeline can trust: the report of every input (read back with
// Python's JSON parser, as a script would), the reason of each failure, the
// exit status of --exit-code, and the inputs --skip-up-to-date leaves alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

using e2e::RunJpg2dds;
using e2e::TempDir;
using Lines = std::vector<std::string>;

// The report's lines as tests/read_report.py reads them: "input output
// status code width height format bytes" or "summary converted skipped
// failed", tab-separated, paths as their bytes, "-" for null.
Lines ReportRows(const std::string& report) {
  const std::string command = std::string("'") + PYTHON3 + "' '" + READ_REPORT_SCRIPT + "' '" + report + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string text;
  char buffer[4096];
  for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  const int status = pipe ? pclose(pipe) : -1;
  if (status != 0) return {"report not read: " + text};
  Lines rows;
  for (size_t at = 0, end; at < text.size(); at = end + 1) {
    end = text.find('\n', at);
    rows.push_back(text.substr(at, end - at));
  }
  return rows;
}

std::string Row(const std::string& input, const std::string& output, const std::string& status,
                const std::string& rest) {
  return input + "\t" + (output.empty() ? "-" : output) + "\t" + status + "\t" + rest;
}

std::string Failed(const std::string& input, const std::string& output, const std::string& code) {
  return Row(input, output, "failed", code + "\t-\t-\t-\t0");
}

std::string Converted(const std::string& input, const std::string& output, int width, int height) {
  const size_t bytes = e2e::ReadBytes(output).size();
  return Row(input, output, "converted", "-\t" + std::to_string(width) + "\t" + std::to_string(height) +
                                             "\tdxt1\t" + std::to_string(bytes));
}

std::string Skipped(const std::string& input, const std::string& output) {
  return Row(input, output, "skipped", "-\t-\t-\t-\t0");
}

Lines WithoutBanner(const Lines& lines) {
  return lines.size() >= 4 && lines[0] == "Brightmill JPG to DDS 2.8" ? Lines(lines.begin() + 4, lines.end())
                                                                      : lines;
}

void SetTime(const std::string& path, time_t seconds, long nanoseconds = 0) {
  const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

std::string JpegBytes(const TempDir& dir, int width, int height) {
  e2e::WriteJpeg(dir.File("bytes.jpg"), width, height);
  std::string bytes = e2e::ReadBytes(dir.File("bytes.jpg"));
  unlink(dir.File("bytes.jpg").c_str());
  return bytes;
}

// A subfolder of `parent` (a path from `workDir`) that no one can open, root
// included: its path is longer than the system takes (PATH_MAX), so it is
// made a step at a time. Returns that path.
std::string UnopenableFolder(const std::string& workDir, const std::string& parent) {
  const std::string name(NAME_MAX, 'd');
  std::string path = parent;
  int folder = open((workDir + "/" + parent).c_str(), O_RDONLY | O_DIRECTORY);
  while (folder >= 0 && path.size() + 1 < PATH_MAX) {
    const int inner = mkdirat(folder, name.c_str(), 0755) == 0 ? openat(folder, name.c_str(), O_RDONLY) : -1;
    close(folder);
    folder = inner;
    path += "/" + name;
  }
  EXPECT_GE(folder, 0);
  close(folder);
  return path;
}

// Each cause of failure made as a user meets it, and the code the report
// gives it. The run ends with exit status 1 and "Conversion stopped".
TEST(Report, EveryFailureHasItsReason) {
  TempDir dir;
  const std::string input = dir.File("in.jpg"), out = dir.File("out"), output = out + "/in.dds";
  const std::string report = dir.File("report.jsonl");
  struct Case {
    const char* code;
    void (*make)(const TempDir& dir, const std::string& input);
    Lines options;
    bool named;  // the output name was made before the failure
    long fileSizeLimit;
    long memoryLimit;
  } cases[] = {
      // Larger than the reader takes (4 GiB); sparse, so it costs no disk.
      {"unreadable",
       [](const TempDir&, const std::string& in) {
         e2e::WriteBytes(in, "");
         ASSERT_EQ(truncate(in.c_str(), 1L << 32 | 1), 0);
       },
       {}, false, -1, -1},
      {"not-jpeg", [](const TempDir&, const std::string& in) { e2e::WriteBytes(in, e2e::PngBytes()); }, {},
       false, -1, -1},
      // The start of a JPEG file, cut before its frame header.
      {"damaged",
       [](const TempDir& d, const std::string& in) { e2e::WriteBytes(in, JpegBytes(d, 16, 16).substr(0, 20)); }, {},
       false, -1, -1},
      {"too-large", [](const TempDir& d, const std::string& in) {
         std::string jpeg = JpegBytes(d, 16, 16);
         const size_t frame = jpeg.find("\xFF\xC0");
         ASSERT_NE(frame, std::string::npos);
         jpeg.replace(frame + 5, 4, "\xEA\x60\xEA\x60");  // 60000 x 60000
         e2e::WriteBytes(in, jpeg);
       },
       {}, false, -1, -1},
      {"too-large", [](const TempDir&, const std::string& in) { e2e::WriteJpeg(in, 16, 16); },
       {"--width=20000", "--height=20000"}, false, -1, -1},
      {"write-failed", [](const TempDir& d, const std::string& in) {
         e2e::WriteJpeg(in, 16, 16);
         ASSERT_EQ(mkdir(d.File("out/in.dds").c_str(), 0755), 0);
       },
       {}, true, -1, -1},
      // `ulimit -f`: room for the report, not for the texture.
      {"disk-full", [](const TempDir&, const std::string& in) { e2e::WriteJpeg(in, 512, 512); }, {}, true, 8192, -1},
#if !defined(__SANITIZE_ADDRESS__)  // its shadow memory does not fit under a limit
      // `ulimit -v`: 64 MB of pixels decoded, four times that to write them.
      {"out-of-memory", [](const TempDir&, const std::string& in) { e2e::WriteJpeg(in, 8000, 8000, 0x80, true); },
       {"--threads=1"}, false, -1, 200L << 20},
      // A few pixels behind 26 MB of comments: the file itself does not fit.
      {"out-of-memory", [](const TempDir& d, const std::string& in) {
         const std::string small = JpegBytes(d, 64, 48);
         std::string bytes = small.substr(0, 2);
         for (int i = 0; i < 400; ++i) bytes += "\xFF\xFE\xFF\xFF" + std::string(65533, 'c');
         e2e::WriteBytes(in, bytes + small.substr(2));
       },
       {"--threads=1"}, false, -1, 60L << 20},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code + ::testing::PrintToString(c.options));
    std::filesystem::remove_all(out);
    std::filesystem::remove(input);
    ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
    c.make(dir, input);
    Lines args = {"-i", input, "-o", out, "-q", "--exit-code", "--report=" + report};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const e2e::RunResult result = RunJpg2dds(args, "", c.fileSizeLimit, {}, c.memoryLimit);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.lines, Lines{"Conversion stopped"});
    EXPECT_EQ(ReportRows(report), (Lines{Failed(input, c.named ? output : "", c.code), "summary\t0\t0\t1"}));
  }
}

// A file system that is full: ENOSPC, as a quota's EDQUOT. A report that
// cannot take its lines there makes the run one that failed.
TEST(Report, AFullDiskIsDiskFull) {
  TempDir dir;
  const std::string input = dir.File("in.jpg"), disk = dir.File("disk"), report = dir.File("report.jsonl");
  e2e::WriteJpeg(input, 512, 512);
  ASSERT_EQ(mkdir(disk.c_str(), 0755), 0);
  if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "no permission to mount a small file system here";
  }
  const e2e::RunResult full = RunJpg2dds({"-i", input, "-o", disk, "-q", "--report=" + report});
  std::ofstream(disk + "/filler") << std::string(1 << 20, 'x');  // takes what is left
  const e2e::RunResult lost =
      RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "--report=" + disk + "/report.jsonl", "--exit-code"});
  umount(disk.c_str());
  EXPECT_EQ(ReportRows(report), (Lines{Failed(input, disk + "/in.dds", "disk-full"), "summary\t0\t0\t1"}));
  EXPECT_EQ(lost.exitCode, 1);
  EXPECT_TRUE(std::filesystem::exists(dir.File("in.dds")));
}

// One batch with an input of each kind, in every mode and with one thread
// or four: the same report, the lines of the mode, exit status 1. A folder
// that cannot be read comes first, as its line is printed before
// converting. A file name that is not UTF-8 comes back byte for byte; a
// skipped input keeps its output name from a later input with the same one;
// the report of an earlier run is replaced.
TEST(Report, ABatchInEveryModeAndThreadCount) {
  TempDir dir;
  const std::string out = dir.File("out"), report = "report.jsonl";
  for (const char* folder : {"shoot", "other", "out"}) ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0755), 0);
  e2e::WriteJpeg(dir.File("shoot/a.jpg"), 16, 8);
  e2e::WriteJpeg(dir.File("shoot/b.jpg"), 8, 8);
  e2e::WriteBytes(dir.File("shoot/c.jpg"), "not a picture");
  const std::string odd = "\xFF\xFE d";  // Latin-1 bytes: no UTF-8
  e2e::WriteJpeg(dir.File("shoot/" + odd + ".jpg"), 8, 16);
  e2e::WriteJpeg(dir.File("other/b.jpg"), 8, 8);
  SetTime(dir.File("shoot/b.jpg"), 1600000000);
  const std::string deep = UnopenableFolder(dir.path(), "shoot");
  const Lines summary = {"Conversion complete", "Files converted: 2 of 5", "Files skipped (up to date): 1"};
  for (const Lines& mode : {Lines{}, Lines{"-q"}, Lines{"-d"}}) {
    for (const char* threads : {"--threads=1", "--threads=4"}) {
      SCOPED_TRACE(::testing::PrintToString(mode) + threads);
      std::filesystem::remove_all(out);
      ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
      e2e::WriteBytes(out + "/b.dds", "made by an earlier run");
      e2e::WriteBytes(dir.File(report), "an earlier report, without a line feed");
      Lines args = {"--input-folder=shoot", "--input-list=-", "-o", out, "--report=" + report,
                    "--skip-up-to-date", "--exit-code", "--recursive", threads};
      args.insert(args.end(), mode.begin(), mode.end());
      const e2e::RunResult result = e2e::RunJpg2ddsWithInput(args, "other/b.jpg\n", dir.path());
      EXPECT_EQ(result.exitCode, 1);
      EXPECT_EQ(ReportRows(dir.File(report)),
                (Lines{Failed(deep, "", "unreadable-folder"), Converted("shoot/a.jpg", out + "/a.dds", 16, 8),
                       Skipped("shoot/b.jpg", out + "/b.dds"),
                       Failed("shoot/c.jpg", "", "not-jpeg"),
                       Converted("shoot/" + odd + ".jpg", out + "/" + odd + ".dds", 8, 16),
                       Failed("other/b.jpg", out + "/b.dds", "output-taken"), "summary\t2\t1\t3"}));
      EXPECT_EQ(e2e::ReadBytes(out + "/b.dds"), "made by an earlier run");
      const Lines lines = WithoutBanner(result.lines);
      if (mode.empty()) {
        Lines expected = {"Preparing...", "Importing...", "Unreadable folder: " + deep,
                          "Import complete, new files added: 5", "Converting..."};
        expected.insert(expected.end(), summary.begin(), summary.end());
        EXPECT_EQ(lines, expected);
      } else if (mode[0] == "-q") {
        EXPECT_EQ(lines, Lines{"Unreadable folder: " + deep});
      } else {
        for (const char* reportLine : {"Skip Up To Date: 1", "Report File: report.jsonl", "Exit Code: 1"}) {
          EXPECT_NE(std::find(lines.begin(), lines.end(), reportLine), lines.end()) << reportLine;
        }
        // A file that fails before it is named shows the name before it.
        Lines expected = {"Processing: shoot/a.jpg", "Saving As: " + out + "/a.dds", "OK",
                          "Processing: shoot/b.jpg", "Saving As: " + out + "/b.dds", "Up to date",
                          "Processing: shoot/c.jpg", "Saving As: " + out + "/b.dds", "Not OK",
                          "Processing: shoot/" + odd + ".jpg", "Saving As: " + out + "/" + odd + ".dds", "OK",
                          "Processing: other/b.jpg", "Saving As: " + out + "/b.dds", "Not OK"};
        expected.insert(expected.end(), summary.begin(), summary.end());
        ASSERT_GE(lines.size(), expected.size());
        EXPECT_EQ(Lines(lines.end() - static_cast<long>(expected.size()), lines.end()), expected);
      }
    }
  }
}

// --exit-code: 0 when every input was converted or skipped (or none was
// found), 1 when one failed or a folder could not be read, 2 when an
// "Error: " line stopped the run before converting. Without the option, 0
// whatever happened.
TEST(ExitCode, TellsHowTheRunWent) {
  TempDir dir;
  const std::string good = dir.File("good.jpg"), out = dir.File("out");
  e2e::WriteJpeg(good, 8, 8);
  e2e::WriteBytes(dir.File("bad.jpg"), "not a picture");
  ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(dir.File("pngs").c_str(), 0755), 0);
  e2e::WriteBytes(dir.File("pngs/logo.png"), e2e::PngBytes());
  ASSERT_EQ(mkdir(dir.File("tree").c_str(), 0755), 0);
  e2e::WriteJpeg(dir.File("tree/good.jpg"), 8, 8);
  const std::string deep = UnopenableFolder(dir.path(), "tree");
  const struct {
    Lines args;
    int status;
    std::string lastLine;
    bool converts;  // good.jpg
  } cases[] = {
      {{"--exit-code", "-i", good}, 0, "", true},
      {{"--exit-code", "-i", dir.File("bad.jpg")}, 1, "Conversion stopped", false},
      {{"--exit-code", "--input-list=-", "-i", good}, 1, "", true},  // the list holds bad.jpg
      {{"--exit-code", "--input-folder=tree", "--recursive"}, 1, "Unreadable folder: " + deep, true},
      {{"--exit-code", "--input-folder=pngs"}, 0, "No input file(s) found. Please, add valid file(s) and try again!",
       false},
      {{"--exit-code", "-i", dir.File("missing.jpg")}, 2, "Error: Invalid input file", false},
      {{"--exit-code", "--width=", "-i", good}, 2, "Error: Incorrect number of parameters", false},
      // Read after the failing option, the option is never read.
      {{"-i", good, "--width=", "--exit-code"}, 0, "Error: Incorrect number of parameters", false},
      {{"--exit-code", "--input-list=missing.txt"}, 2, "Error: Invalid input list", false},
      {{"--exit-code", "--report=" + dir.File("no/report.jsonl"), "-i", good}, 2, "Error: Invalid report file",
       false},
      {{"--exit-code", "--skip-up-to-date", "--filename-mask=%n%.dds", "-i", good}, 2,
       "Error: --skip-up-to-date needs output names and file times known before converting", false},
  };
  for (const auto& c : cases) {
    for (bool asked : {true, false}) {
      SCOPED_TRACE(::testing::PrintToString(c.args) + (asked ? "" : " without --exit-code"));
      std::filesystem::remove(out + "/good.dds");
      Lines args = c.args;
      if (!asked) args.erase(std::remove(args.begin(), args.end(), "--exit-code"), args.end());
      args.insert(args.end(), {"-o", out, "-q"});
      const e2e::RunResult result = e2e::RunJpg2ddsWithInput(args, "bad.jpg\n", dir.path());
      EXPECT_EQ(result.exitCode, asked ? c.status : 0);
      EXPECT_EQ(result.lines.empty() ? "" : result.lines.back(), c.lastLine);
      EXPECT_EQ(std::filesystem::exists(out + "/good.dds"), c.converts);
    }
  }
}

// make's rule, to the whole second: an output not older than its input is
// up to date; an older one, a missing one or a folder is not.
TEST(SkipUpToDate, OutputTimesAsMakeJudgesThem) {
  TempDir dir;
  const std::string input = dir.File("a.jpg"), output = dir.File("a.dds"), report = dir.File("r.jsonl");
  e2e::WriteJpeg(input, 8, 8);
  const time_t t = 1600000000;
  SetTime(input, t, 700000000);
  const struct {
    const char* output;  // "file", "folder" or "none"
    time_t seconds;
    long nanoseconds;
    const char* status;
  } cases[] = {
      {"file", t - 100, 0, "converted"},  {"file", t - 1, 999999999, "converted"},
      {"file", t, 0, "skipped"},          {"file", t, 700000000, "skipped"},
      {"file", t + 100, 0, "skipped"},    {"none", 0, 0, "converted"},
      {"folder", t + 100, 0, "failed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.output) + " " + std::to_string(c.seconds - t) + "." + std::to_string(c.nanoseconds));
    std::filesystem::remove_all(output);
    if (std::string(c.output) == "file") e2e::WriteBytes(output, "older output");
    if (std::string(c.output) == "folder") {
      ASSERT_EQ(mkdir(output.c_str(), 0755), 0);
    }
    if (std::string(c.output) != "none") SetTime(output, c.seconds, c.nanoseconds);
    const e2e::RunResult result =
        RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "--skip-up-to-date", "--report=" + report});
    EXPECT_EQ(ReportRows(report)[0].rfind(input + "\t" + output + "\t" + c.status + "\t", 0), 0u);
    // A run that only skipped is complete: quiet, it prints nothing.
    EXPECT_EQ(result.lines, std::string(c.status) == "failed" ? Lines{"Conversion stopped"} : Lines{});
  }
  // An output that takes its input's time is up to date in the next run.
  std::filesystem::remove_all(output);
  for (const std::string status : {"converted", "skipped"}) {
    RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "--skip-up-to-date", "--file-timestamp=original",
                "--report=" + report});
    EXPECT_EQ(ReportRows(report)[0].rfind(input + "\t" + output + "\t" + status + "\t", 0), 0u);
  }
}

// Links another user planted in a shared output folder lead the up-to-date
// test nowhere, as they lead the write: a newer file behind them is no
// output of this run. A link in the output's place is replaced; a kept
// subfolder that is a link fails its photos.
TEST(SkipUpToDate, PlantedLinksAreNoOutputs) {
  TempDir dir;
  for (const char* folder : {"photos", "photos/sub", "shared", "victim"}) {
    ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0755), 0) << folder;
  }
  for (const char* name : {"photos/a.jpg", "photos/sub/b.jpg"}) e2e::WriteJpeg(dir.File(name), 8, 8);
  for (const char* name : {"victim/a.dds", "victim/b.dds"}) e2e::WriteBytes(dir.File(name), name);
  ASSERT_EQ(symlink("../victim", dir.File("shared/sub").c_str()), 0);
  ASSERT_EQ(symlink("../victim/a.dds", dir.File("shared/a.dds").c_str()), 0);
  const std::string shared = dir.File("shared"), report = dir.File("r.jsonl");
  RunJpg2dds({"--input-folder=photos", "--recursive", "-o", shared, "-q", "--skip-up-to-date", "--report=" + report},
             dir.path());
  EXPECT_EQ(ReportRows(report), (Lines{Converted("photos/a.jpg", shared + "/a.dds", 8, 8),
                                       Failed("photos/sub/b.jpg", shared + "/sub/b.dds", "write-failed"),
                                       "summary\t1\t0\t1"}));
  EXPECT_EQ(e2e::ReadBytes(dir.File("victim/a.dds")) + e2e::ReadBytes(dir.File("victim/b.dds")),
            "victim/a.ddsvictim/b.dds");
}

}  // namespace
