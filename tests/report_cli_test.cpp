// Runs a pipeline can trust: the report of every input (read back with
// Python's JSON parser, as a script would), the reason of each failure, the
// exit status of --exit-code, and the inputs --skip-up-to-date leaves alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "e2e_support.h"

namespace {

using e2e::RunJpg2dds;
using e2e::TempDir;
using e2e::WithoutBanner;
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

// A row of the report: a failure's reason code, or a converted file's size
// (as dxt1) and length.
std::string Row(const std::string& input, const std::string& output, const std::string& status,
                const std::string& code = "-", int width = 0, int height = 0) {
  const std::string size = width ? std::to_string(width) + "\t" + std::to_string(height) + "\tdxt1\t" +
                                       std::to_string(e2e::ReadBytes(output).size())
                                 : "-\t-\t-\t0";
  return input + "\t" + (output.empty() ? "-" : output) + "\t" + status + "\t" + code + "\t" + size;
}

void SetTime(const std::string& path, time_t seconds, long nanoseconds = 0) {
  const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
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
                (Lines{Row(deep, "", "failed", "unreadable-folder"),
                       Row("shoot/a.jpg", out + "/a.dds", "converted", "-", 16, 8),
                       Row("shoot/b.jpg", out + "/b.dds", "skipped"), Row("shoot/c.jpg", "", "failed", "not-jpeg"),
                       Row("shoot/" + odd + ".jpg", out + "/" + odd + ".dds", "converted", "-", 8, 16),
                       Row("other/b.jpg", out + "/b.dds", "failed", "output-taken"), "summary\t2\t1\t3"}));
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

// Each way a run ends, made as a user meets it: the exit status with
// --exit-code, the last line printed, and for a failure the reason's code in
// the report. --exit-code gives 0 when every input was converted or skipped
// (or none was found), 1 when one failed or a folder could not be read, 2
// when an "Error: " line stopped the run before converting.
TEST(ExitCode, EachOutcomeAndReason) {
  TempDir dir;
  const std::string out = dir.File("out"), report = dir.File("report.jsonl");
  for (const char* folder : {"out", "out/taken.dds", "pngs", "tree"}) {
    ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0755), 0);
  }
  e2e::WriteBytes(dir.File("pngs/logo.png"), e2e::PngBytes());
  e2e::WriteBytes(dir.File("png.jpg"), e2e::PngBytes());
  for (const char* name : {"good.jpg", "tree/good.jpg", "unreadable.jpg", "cut.jpg", "huge.jpg", "taken.jpg"}) {
    e2e::WriteJpeg(dir.File(name), 16, 16);
  }
  e2e::WriteJpeg(dir.File("big.jpg"), 512, 512);
  e2e::WriteJpeg(dir.File("grey.jpg"), 8000, 8000, 0x80, true);  // 64 MB of pixels, four times that to write
  ASSERT_EQ(truncate(dir.File("unreadable.jpg").c_str(), 1L << 32), 0);  // more than is read; sparse
  e2e::WriteBytes(dir.File("cut.jpg"), e2e::ReadBytes(dir.File("cut.jpg")).substr(0, 20));  // no frame header
  std::string bytes = e2e::ReadBytes(dir.File("huge.jpg"));  // its frame header says 60000 x 60000
  e2e::WriteBytes(dir.File("huge.jpg"), bytes.replace(bytes.find("\xFF\xC0") + 5, 4, "\xEA\x60\xEA\x60"));
  const std::string deep = UnopenableFolder(dir.path(), "tree");
  const std::string stopped = "Conversion stopped";
  const struct {
    Lines args;
    int status;
    std::string lastLine;
    const char* code;  // of the report's first line, when it failed
    long fileSizeLimit = -1, memoryLimit = -1;
  } cases[] = {
      {{"-i", "good.jpg"}, 0, "", nullptr},
      {{"--input-folder=pngs"}, 0, "No input file(s) found. Please, add valid file(s) and try again!", nullptr},
      {{"-i", "unreadable.jpg"}, 1, stopped, "unreadable"},
      {{"-i", "png.jpg"}, 1, stopped, "not-jpeg"},
      {{"-i", "cut.jpg"}, 1, stopped, "damaged"},
      {{"-i", "huge.jpg"}, 1, stopped, "too-large"},
      {{"-i", "good.jpg", "--width=20000", "--height=20000"}, 1, stopped, "too-large"},
      {{"-i", "taken.jpg"}, 1, stopped, "write-failed"},
      {{"-i", "big.jpg"}, 1, stopped, "disk-full", 8192},  // ulimit -f: room for the report, not the texture
#if !defined(__SANITIZE_ADDRESS__)  // its shadow memory does not fit under a limit
      {{"-i", "grey.jpg"}, 1, stopped, "out-of-memory", -1, 200L << 20},
#endif
      {{"--input-folder=tree", "--recursive"}, 1, "Unreadable folder: " + deep, "unreadable-folder"},
      {{"--report=/dev/full", "-i", "good.jpg"}, 1, "", nullptr},  // a report that lost its lines
      {{"-i", "missing.jpg"}, 2, "Error: Invalid input file", nullptr},
      {{"--width=", "-i", "good.jpg"}, 2, "Error: Incorrect number of parameters", nullptr},
      {{"--input-list=missing.txt"}, 2, "Error: Invalid input list", nullptr},
      {{"--report=no/report.jsonl", "-i", "good.jpg"}, 2, "Error: Invalid report file", nullptr},
      {{"--skip-up-to-date", "--filename-mask=%n%.dds", "-i", "good.jpg"}, 2,
       "Error: --skip-up-to-date needs output names and file times known before converting", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    Lines args = {"--exit-code", "-o", out, "-q", "--threads=1"};
    if (c.code) args.push_back("--report=" + report);
    args.insert(args.end(), c.args.begin(), c.args.end());
    const e2e::RunResult result = RunJpg2dds(args, dir.path(), c.fileSizeLimit, {}, c.memoryLimit);
    EXPECT_EQ(result.exitCode, c.status);
    EXPECT_EQ(result.lines.empty() ? "" : result.lines.back(), c.lastLine);
    if (c.code) {
      EXPECT_NE(ReportRows(report)[0].find("\tfailed\t" + std::string(c.code) + "\t"), std::string::npos);
    }
  }
  // Without --exit-code the status is 0 whatever happened, and the lines are
  // the same; read after an option that stops the run, it is never read.
  const std::pair<Lines, std::string> unasked[] = {
      {{"-i", "png.jpg"}, stopped},
      {{"-i", "missing.jpg"}, "Error: Invalid input file"},
      {{"-i", "good.jpg", "--width=", "--exit-code"}, "Error: Incorrect number of parameters"},
  };
  for (const auto& [args, lastLine] : unasked) {
    SCOPED_TRACE(::testing::PrintToString(args));
    Lines all = {"-o", out, "-q"};
    all.insert(all.end(), args.begin(), args.end());
    const e2e::RunResult result = RunJpg2dds(all, dir.path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.lines.empty() ? "" : result.lines.back(), lastLine);
  }
}

// make's rule, to the whole second (an output takes whole seconds from
// --file-timestamp=original): an output not older than its input is up to
// date; an older one, a missing one or a folder is not.
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
    ASSERT_TRUE(std::string(c.output) != "folder" || mkdir(output.c_str(), 0755) == 0);
    if (std::string(c.output) != "none") SetTime(output, c.seconds, c.nanoseconds);
    const e2e::RunResult result =
        RunJpg2dds({"-i", input, "-o", dir.path(), "-q", "--skip-up-to-date", "--report=" + report});
    EXPECT_EQ(ReportRows(report)[0].rfind(input + "\t" + output + "\t" + c.status + "\t", 0), 0u);
    // A run that only skipped is complete: quiet, it prints nothing.
    EXPECT_EQ(result.lines, std::string(c.status) == "failed" ? Lines{"Conversion stopped"} : Lines{});
  }
}

}  // namespace
