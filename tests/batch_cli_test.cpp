// Batch runs as a user makes them: input folders walked in name order, with
// and without their subfolders, lists from files and standard input, inputs
// named twice or meeting at one output name, and the lines of each.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <signal.h>
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
using e2e::RunJpg2ddsWithInput;
using e2e::TempDir;
using e2e::WithoutBanner;
using Lines = std::vector<std::string>;


// The lines that begin with the prefix, in order.
Lines Starting(const Lines& lines, const std::string& prefix) {
  Lines found;
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

// Every file below the folder, as paths relative to it, sorted.
Lines FilesBelow(const std::string& folder) {
  Lines files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && !entry.is_symlink()) {
      files.push_back(std::filesystem::relative(entry.path(), folder).string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

Lines DdsFilesBelow(const std::string& folder) {
  Lines files;
  for (const std::string& file : FilesBelow(folder)) {
    if (file.size() > 4 && file.compare(file.size() - 4, 4, ".dds") == 0) files.push_back(file);
  }
  return files;
}

uint32_t DdsWidth(const std::string& path) {
  const std::string bytes = e2e::ReadBytes(path);
  if (bytes.size() < 20) return 0;
  return static_cast<uint8_t>(bytes[16]) | static_cast<uint8_t>(bytes[17]) << 8;
}

// A photo shoot copied from a camera card: upper-case names with blanks,
// dated subfolders, an empty file, a PNG, a link to a photo kept elsewhere
// and a link back to one of its own folders.
class BatchRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"shoot", "shoot/2019.08 trip", "shoot/day 2", "shoot/day 2/deep", "shoot/photoshoot",
                               "out", "kept"}) {
      ASSERT_EQ(mkdir(dir_.File(folder).c_str(), 0755), 0) << folder;
    }
    e2e::WriteJpeg(dir_.File("shoot/IMG 0001.JPG"), 24, 16);
    e2e::WriteJpeg(dir_.File("shoot/b.jpeg"), 16, 8);
    e2e::WriteBytes(dir_.File("shoot/empty.jpg"), "");
    e2e::WriteBytes(dir_.File("shoot/logo.png"), e2e::PngBytes());
    e2e::WriteJpeg(dir_.File("shoot/2019.08 trip/f.JPG"), 8, 8);
    e2e::WriteJpeg(dir_.File("shoot/day 2/c.jpg"), 8, 8);
    e2e::WriteJpeg(dir_.File("shoot/day 2/deep/d.jpe"), 8, 8);
    e2e::WriteJpeg(dir_.File("shoot/photoshoot/e.jpg"), 8, 8);
    e2e::WriteJpeg(dir_.File("kept/favourite.jpg"), 12, 12);
    ASSERT_EQ(symlink("../kept/favourite.jpg", dir_.File("shoot/alias.jpg").c_str()), 0);
    ASSERT_EQ(symlink("day 2", dir_.File("shoot/link").c_str()), 0);
  }
  // Runs in the temporary folder, so relative inputs are read from there.
  e2e::RunResult Run(const Lines& args, const std::string* input = nullptr) {
    e2e::RunResult result = input ? RunJpg2ddsWithInput(args, *input, dir_.path()) : RunJpg2dds(args, dir_.path());
    EXPECT_EQ(result.exitCode, 0);
    return result;
  }
  TempDir dir_;
  // Byte order: digits, then upper case, then lower case; "link" is not followed.
  const Lines kAll = {"shoot/2019.08 trip/f.JPG", "shoot/IMG 0001.JPG", "shoot/alias.jpg", "shoot/b.jpeg",
                      "shoot/day 2/c.jpg", "shoot/day 2/deep/d.jpe", "shoot/photoshoot/e.jpg"};
  const Lines kTop = {"shoot/IMG 0001.JPG", "shoot/alias.jpg", "shoot/b.jpeg"};
};

Lines Prefixed(const std::string& prefix, const Lines& lines) {
  Lines out;
  for (const std::string& line : lines) out.push_back(prefix + line);
  return out;
}

TEST_F(BatchRun, AFolderIsWalkedInNameOrderAndReported) {
  const std::string out = dir_.File("out");
  Lines lines = WithoutBanner(Run({"--input-folder=shoot", "--recursive", "--threads=3", "-o", out, "-d"}).lines);
  Lines expected = {"Preparing...", "Input: shoot", "Output: " + out, "Conversion: dds", "DDS BPP: 0",
                    "Flip Horizontal: 0", "Flip Vertical: 0", "Greyscale: 0", "Frame: none", "Watermark: none",
                    "Filename Mask: %filename%.%ext%", "File Timestamp: current", "Keep Subfolders: 1",
                    "Recursive Folders: 1", "Threads: 3", "Importing...", "Import complete, new files added: 7",
                    "Converting..."};
  const Lines outputs = {"2019.08 trip/f.dds", "IMG 0001.dds", "alias.dds", "b.dds",
                         "day 2/c.dds",        "day 2/deep/d.dds", "photoshoot/e.dds"};
  for (size_t i = 0; i < kAll.size(); ++i) {
    expected.insert(expected.end(), {"Processing: " + kAll[i], "Saving As: " + out + "/" + outputs[i], "OK"});
  }
  expected.insert(expected.end(), {"Conversion complete", "Files converted: 7 of 7"});
  EXPECT_EQ(lines, expected);
  Lines sorted = outputs;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(FilesBelow(out), sorted);  // the subfolders made, nothing else left behind
}

// Where the files go: below -o with or without their subfolders (made as
// needed), or without -o next to the folder named, again with or without
// the subfolders.
TEST_F(BatchRun, OutputFolderAndKeepSubfolders) {
  const std::string out = dir_.File("out");
  const struct {
    Lines options;
    Lines processed;
    std::string folder;  // where the new files are looked for
    Lines written;
  } cases[] = {
      {{"--recursive", "-o", out}, kAll, "out",
       {"2019.08 trip/f.dds", "IMG 0001.dds", "alias.dds", "b.dds", "day 2/c.dds", "day 2/deep/d.dds",
        "photoshoot/e.dds"}},
      {{"--recursive", "-o", out, "--no-subfolders"}, kAll, "out",
       {"IMG 0001.dds", "alias.dds", "b.dds", "c.dds", "d.dds", "e.dds", "f.dds"}},
      {{"--recursive"}, kAll, "shoot",
       {"2019.08 trip/f.dds", "IMG 0001.dds", "alias.dds", "b.dds", "day 2/c.dds", "day 2/deep/d.dds",
        "photoshoot/e.dds"}},
      {{"--recursive", "--no-subfolders"}, kAll, "shoot",
       {"IMG 0001.dds", "alias.dds", "b.dds", "c.dds", "d.dds", "e.dds", "f.dds"}},
      {{"-o", out}, kTop, "out", {"IMG 0001.dds", "alias.dds", "b.dds"}},
      {{}, kTop, "shoot", {"IMG 0001.dds", "alias.dds", "b.dds"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.options));
    Lines args = {"--input-folder=shoot", "-d", "-q"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    Lines lines = Run(args).lines;
    EXPECT_EQ(Starting(lines, "Processing: "), Prefixed("Processing: ", c.processed));
    EXPECT_EQ(Starting(lines, "OK"), Lines(c.processed.size(), "OK"));
    EXPECT_EQ(DdsFilesBelow(dir_.File(c.folder)), c.written);
    std::filesystem::remove_all(out);
    ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
    for (const std::string& file : DdsFilesBelow(dir_.File("shoot"))) {
      std::filesystem::remove(dir_.File("shoot/" + file));
    }
  }
}

// A list saved by Notepad (byte order mark, CR LF, a comment, a blank line,
// entries that are missing, empty, a PNG or a folder) and one piped in from
// find. Standard input is read once: the second "-" finds it at its end.
TEST_F(BatchRun, ListsFromAFileAndStandardInput) {
  e2e::WriteJpeg(dir_.File("top.jpg"), 8, 8);
  e2e::WriteBytes(dir_.File("album.txt"),
                  "\xEF\xBB\xBF# picked for the album\r\nshoot/b.jpeg\r\n\r\nshoot/gone.jpg\r\nshoot/logo.png\r\n"
                  "shoot/empty.jpg\r\nshoot/day 2\r\ntop.jpg\r\n");
  const std::string piped = "shoot/day 2/c.jpg\nshoot/b.jpeg\n\n";
  Lines lines = WithoutBanner(Run({"--input-list=album.txt", "--input-list=-", "--input-list=-", "-d"}, &piped).lines);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5),
            (Lines{"Preparing...", "Input: album.txt", "Input: -", "Input: -", "Output: "}));
  auto importing = std::find(lines.begin(), lines.end(), "Importing...");
  ASSERT_NE(importing, lines.end());
  EXPECT_EQ(Lines(importing, lines.end()),
            (Lines{"Importing...", "Import complete, new files added: 3", "Converting...",
                   "Processing: shoot/b.jpeg", "Saving As: shoot/b.dds", "OK",
                   "Processing: top.jpg", "Saving As: ./top.dds", "OK",
                   "Processing: shoot/day 2/c.jpg", "Saving As: shoot/day 2/c.dds", "OK",
                   "Conversion complete", "Files converted: 3 of 3"}));
  EXPECT_EQ(DdsFilesBelow(dir_.path()), (Lines{"shoot/b.dds", "shoot/day 2/c.dds", "top.dds"}));
}

// A file named twice, however spelt, is converted once; two different
// inputs that come to one output name: the later one is Not OK and the
// earlier one's file stays. A file from before the run is replaced as always.
TEST_F(BatchRun, DuplicatesAndTwoInputsWithOneOutputName) {
  const std::string out = dir_.File("out");
  ASSERT_EQ(mkdir(dir_.File("other").c_str(), 0755), 0);
  e2e::WriteJpeg(dir_.File("other/b.jpg"), 32, 32);
  e2e::WriteBytes(out + "/b.dds", "from an earlier run");
  const std::string piped = "shoot/b.jpeg\n./shoot/b.jpeg\nother/b.jpg\n";
  Lines lines = Run({"--input-folder=shoot", "-i", "shoot/b.jpeg", "--input-list=-", "-o", out, "-d"}, &piped).lines;
  EXPECT_EQ(Starting(lines, "Import complete"), Lines{"Import complete, new files added: 4"});
  EXPECT_EQ(Starting(lines, "Processing: "),
            (Lines{"Processing: shoot/IMG 0001.JPG", "Processing: shoot/alias.jpg", "Processing: shoot/b.jpeg",
                   "Processing: other/b.jpg"}));
  EXPECT_EQ(Starting(lines, "Saving As: ").back(), "Saving As: " + out + "/b.dds");
  EXPECT_EQ(Starting(lines, "OK"), (Lines{"OK", "OK", "OK"}));
  EXPECT_EQ(Starting(lines, "Not OK"), (Lines{"Not OK"}));
  EXPECT_EQ(lines.back(), "Files converted: 3 of 4");
  EXPECT_EQ(FilesBelow(out), (Lines{"IMG 0001.dds", "alias.dds", "b.dds"}));
  EXPECT_EQ(DdsWidth(out + "/b.dds"), 16u);  // shoot/b.jpeg's, not other/b.jpg's

  // Without -o: three spellings of one file, converted next to it once.
  const std::string spellings = "shoot/b.jpeg\nshoot//b.jpeg\nshoot/../shoot/b.jpeg\n";
  lines = Run({"--input-list=-", "-d", "-q"}, &spellings).lines;
  EXPECT_EQ(Starting(lines, "OK"), Lines{"OK"});
  EXPECT_EQ(Starting(lines, "Not OK"), Lines{});
  EXPECT_EQ(DdsFilesBelow(dir_.File("shoot")), Lines{"b.dds"});
}

TEST_F(BatchRun, MissingOrUnreadableFoldersAndListsEndTheRun) {
  e2e::WriteJpeg(dir_.File("top.jpg"), 8, 8);
  const struct {
    Lines args;
    Lines lines;
  } cases[] = {
      {{"--input-folder=missing"}, {"Error: Invalid input folder"}},
      {{"--input-folder=top.jpg"}, {"Error: Invalid input folder"}},
      {{"--input-list=missing.txt"}, {"Error: Invalid input list"}},
      {{"--input-list=shoot"}, {"Error: Invalid input list"}},
      {{"--input-folder=shoot", "--input-list=missing.txt"}, {"Error: Invalid input list"}},
      {{"--input-list=-", "-i", "missing.jpg"}, {"Error: Invalid input file"}},
      {{"--input-folder=shoot", "-o", dir_.File("gone")}, {"Error: Invalid output folder"}},
      {{"-d", "--input-folder=shoot", "--input-list=missing.txt", "--input-folder=missing"},
       {"Input: shoot", "Input: missing.txt", "Error: Invalid input list"}},
      {{"-d", "--input-list=-", "-i", dir_.File("top.jpg"), "--input-folder=missing"},
       {"Input: -", "Input: " + dir_.File("top.jpg"), "Input: missing", "Error: Invalid input folder"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    Lines args = c.args;
    args.push_back("-q");
    EXPECT_EQ(Run(args).lines, c.lines);
    EXPECT_EQ(DdsFilesBelow(dir_.path()), Lines{});
  }
}

TEST_F(BatchRun, TheSummaryCountsEveryInput) {
  ASSERT_EQ(mkdir(dir_.File("junk").c_str(), 0755), 0);
  e2e::WriteBytes(dir_.File("junk/logo.png"), e2e::PngBytes());
  e2e::WriteBytes(dir_.File("junk/empty.jpg"), "");
  e2e::WriteBytes(dir_.File("junk/notes.txt"), "shoot/b.jpeg\n");
  ASSERT_EQ(symlink("../shoot", dir_.File("junk/shoot").c_str()), 0);
  const Lines nothing = {"Conversion stopped", "No input file(s) found. Please, add valid file(s) and try again!"};
  Lines expected = {"Preparing...", "Importing...", "Import complete, new files added: 0"};
  expected.insert(expected.end(), nothing.begin(), nothing.end());
  EXPECT_EQ(WithoutBanner(Run({"--input-folder=junk", "--recursive"}).lines), expected);
  EXPECT_EQ(Run({"--input-folder=junk", "--recursive", "-q"}).lines, nothing);
  const std::string comments = "# nothing yet\n\n";
  EXPECT_EQ(Run({"--input-list=-", "-q"}, &comments).lines, nothing);

  // A file that is no JPEG is counted in and fails.
  e2e::WriteBytes(dir_.File("shoot/broken.jpg"), "not a picture");
  Lines lines = WithoutBanner(Run({"--input-folder=shoot", "-o", dir_.File("out")}).lines);
  EXPECT_EQ(lines, (Lines{"Preparing...", "Importing...", "Import complete, new files added: 4", "Converting...",
                          "Conversion complete", "Files converted: 3 of 4"}));
}

// One photo named several ways (by another input folder, a hard or a
// symbolic link, a list beside a recursive folder) is taken once, by its
// first naming with its subfolder and output folder: "Files converted: N of N".
TEST(NamedSeveralWays, OnePhotoIsTakenOnce) {
  TempDir dir;
  for (const char* folder : {"p", "p/sub", "q", "out"}) ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0755), 0);
  for (const char* photo : {"p/a0.jpg", "p/a1.jpg", "p/sub/z.jpg"}) e2e::WriteJpeg(dir.File(photo), 8, 8);
  ASSERT_EQ(link(dir.File("p/a0.jpg").c_str(), dir.File("q/hard.jpg").c_str()), 0);
  ASSERT_EQ(symlink("../p/a0.jpg", dir.File("q/soft.jpg").c_str()), 0);
  const struct {
    Lines args;
    std::string list, summary;
    Lines written;  // below the temporary folder
  } cases[] = {
      {{"--input-folder=p", "--input-folder=./p", "-o", "out"}, "", "2 of 2", {"out/a0.dds", "out/a1.dds"}},
      {{"--input-list=-", "-o", "out"}, "q/soft.jpg\nq/hard.jpg\np/a0.jpg\n", "1 of 1", {"out/soft.dds"}},
      {{"--input-list=-"}, "q/hard.jpg\np/a0.jpg\n", "1 of 1", {"q/hard.dds"}},
      {{"--input-folder=p", "--recursive", "--input-list=-", "-o", "out"}, "p/sub/z.jpg\n", "3 of 3",
       {"out/a0.dds", "out/a1.dds", "out/sub/z.dds"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + " " + c.list);
    Lines args = c.args;
    std::replace(args.begin(), args.end(), std::string("out"), dir.File("out"));
    EXPECT_EQ(RunJpg2ddsWithInput(args, c.list, dir.path()).lines.back(), "Files converted: " + c.summary);
    EXPECT_EQ(DdsFilesBelow(dir.path()), c.written);
    for (const std::string& file : c.written) std::filesystem::remove(dir.File(file));
  }
}

// Subfolders an ordinary user cannot list or enter (modes 000, 0744, 0711)
// get a line each, and the run goes on with what it can read.
TEST(UnreadableSubfolders, EachGetsALine) {
  std::vector<std::string> user;
  if (!e2e::OrdinaryUser(user)) GTEST_SKIP() << "no way to run as an ordinary user";
  TempDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  for (const char* folder : {"in", "in/a000", "in/b0744", "in/c0711", "out"}) {
    ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0755), 0) << folder;
  }
  ASSERT_EQ(chmod(dir.File("out").c_str(), 0777), 0);
  for (const char* photo : {"in/a000/x.jpg", "in/b0744/x.jpg", "in/c0711/x.jpg", "in/d.jpg"}) {
    e2e::WriteJpeg(dir.File(photo), 8, 8);
  }
  for (const auto& [folder, mode] : {std::pair{"in/a000", 0}, {"in/b0744", 0744}, {"in/c0711", 0711}}) {
    ASSERT_EQ(chmod(dir.File(folder).c_str(), static_cast<mode_t>(mode)), 0);
  }
  const Lines args = {"--input-folder=in", "--recursive", "-o", dir.File("out")};
  const e2e::RunResult result = e2e::RunJpg2ddsInShell("sh", "true", args, dir.path(), user);
  EXPECT_EQ(Starting(result.lines, "Unreadable folder: "),
            (Lines{"Unreadable folder: in/a000", "Unreadable folder: in/b0744", "Unreadable folder: in/c0711"}));
  EXPECT_EQ(result.lines.back(), "Files converted: 1 of 1");
  EXPECT_EQ(e2e::ListFolder(dir.File("out")), Lines{"d.dds"});
}

// Another user's links in a shared output folder (mode 1777, as /tmp): a
// kept subfolder that is a link fails its photos, nothing is written through
// it; an output name that is a link is replaced, never written through. The
// -o folder itself may be a link: the user chose it. Skipping what is up to
// date looks for the outputs the same way: a newer file behind a link is none.
TEST(SharedOutputFolder, PlantedLinksAreNeverFollowed) {
  TempDir dir;
  for (const char* folder : {"photos", "photos/sub", "photos/new", "shared", "victim"}) {
    ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0755), 0) << folder;
  }
  ASSERT_EQ(chmod(dir.File("shared").c_str(), 01777), 0);
  for (const char* photo : {"photos/a.jpg", "photos/sub/b.jpg", "photos/new/c.jpg"}) {
    e2e::WriteJpeg(dir.File(photo), 8, 8);
  }
  for (const char* name : {"victim/a.dds", "victim/b.dds"}) e2e::WriteBytes(dir.File(name), name);
  ASSERT_EQ(symlink("../victim", dir.File("shared/sub").c_str()), 0);
  ASSERT_EQ(symlink("shared", dir.File("chosen").c_str()), 0);
  for (const Lines& skip : {Lines{"--skip-up-to-date"}, Lines{}}) {
    SCOPED_TRACE(::testing::PrintToString(skip));
    unlink(dir.File("shared/a.dds").c_str());
    ASSERT_EQ(symlink("../victim/a.dds", dir.File("shared/a.dds").c_str()), 0);
    Lines args = {"--input-folder=photos", "--recursive", "-o", dir.File("chosen"), "-d", "-q"};
    args.insert(args.end(), skip.begin(), skip.end());
    const Lines lines = RunJpg2dds(args, dir.path()).lines;
    EXPECT_EQ(Starting(lines, "Processing: ").back(), "Processing: photos/sub/b.jpg");
    EXPECT_EQ(Starting(lines, "OK").size(), 2u);
    EXPECT_EQ(lines.back(), "Not OK");
    EXPECT_EQ(e2e::ListFolder(dir.File("victim")), (Lines{"a.dds", "b.dds"}));
    EXPECT_EQ(e2e::ReadBytes(dir.File("victim/a.dds")) + e2e::ReadBytes(dir.File("victim/b.dds")),
              "victim/a.ddsvictim/b.dds");
    struct stat st {};
    EXPECT_TRUE(lstat(dir.File("shared/a.dds").c_str(), &st) == 0 && S_ISREG(st.st_mode));
    EXPECT_EQ(e2e::ReadBytes(dir.File("shared/new/c.dds")).substr(0, 4), "DDS ");
  }
}

}  // namespace

namespace {

// Everything a run writes on a terminal (a pseudo-terminal, as a shell in a
// terminal window gives it), with no line feeds translated.
std::string RunOnTerminal(const Lines& args, const std::string& workDir, int columns = 0) {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return "(no terminal)";
  const std::string slaveName = ptsname(master);
  pid_t pid = fork();
  if (pid == 0) {
    setsid();
    int slave = open(slaveName.c_str(), O_RDWR);
    termios mode{};
    tcgetattr(slave, &mode);
    cfmakeraw(&mode);
    tcsetattr(slave, TCSANOW, &mode);
    const winsize size{24, static_cast<unsigned short>(columns), 0, 0};
    ioctl(slave, TIOCSWINSZ, &size);
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(slave, 1);
    dup2(devnull, 2);
    if (chdir(workDir.c_str()) != 0) _exit(127);
    std::vector<std::string> copy = args;
    std::vector<char*> argv{const_cast<char*>(JPG2DDS_BINARY)};
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(JPG2DDS_BINARY, argv.data());
    _exit(127);
  }
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = read(master, buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(n));
  waitpid(pid, nullptr, 0);
  close(master);
  return out;
}

// The run does not depend on the number of threads: the same files byte for
// byte, the same names (the counter of the mask and of a text watermark
// advances in input order, past a file that fails), the same lines.
TEST_F(BatchRun, SameFilesNamesAndLinesWhateverTheThreadCount) {
  e2e::WriteBytes(dir_.File("shoot/broken.jpg"), "not a picture");
  // The last file is large enough to be cut into pieces.
  e2e::WriteJpeg(dir_.File("shoot/photoshoot/z.jpg"), 321, 233);
  for (const std::string compression : {"auto", "dxt1"}) {
    for (const std::string watermark : {"", "--wm-text=%n%"}) {
      SCOPED_TRACE(compression + " " + watermark);
      Lines firstLines;
      std::vector<std::string> firstFiles;
      for (const char* threads : {"--threads=1", "--threads=4"}) {
        std::filesystem::remove_all(dir_.File("out"));
        std::filesystem::create_directory(dir_.File("out"));
        Lines args = {"--input-folder=shoot", "--recursive", "-o", dir_.File("out"), "-d", threads,
                      "--filename-mask=%n%_%filename%.%ext%", "--dds-compression=" + compression};
        if (!watermark.empty()) args.push_back(watermark);
        Lines lines = WithoutBanner(Run(args).lines);
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const std::string& line) { return line.rfind("Threads: ", 0) == 0; }),
                    lines.end());
        std::vector<std::string> files;
        for (const std::string& file : FilesBelow(dir_.File("out"))) {
          files.push_back(file + ":" + e2e::ReadBytes(dir_.File("out/" + file)));
        }
        EXPECT_EQ(Starting(lines, "Files converted").size(), 1u);
        if (firstLines.empty()) {
          firstLines = lines;
          firstFiles = files;
          EXPECT_EQ(Starting(lines, "Not OK").size(), 1u);
        }
        EXPECT_EQ(lines, firstLines) << threads;
        EXPECT_TRUE(files == firstFiles) << threads;
      }
    }
  }
}

// The line rewritten in place is for a terminal, never for a file or pipe.
TEST_F(BatchRun, StatusLineOnlyOnATerminal) {
  const Lines args = {"--input-folder=shoot", "-o", dir_.File("out")};
  const std::string piped = Run(args).out;
  EXPECT_EQ(piped.find('\r'), std::string::npos);
  EXPECT_EQ(piped.find("[1/3]"), std::string::npos);
  const std::string shown = RunOnTerminal(args, dir_.path());
  EXPECT_NE(shown.find("\r[1/3] IMG 0001.JPG\x1B[K"), std::string::npos) << shown;
  EXPECT_NE(shown.find("\r[3/3] b.jpeg\x1B[K"), std::string::npos);
  // Erased before the summary, which starts a clean line.
  EXPECT_NE(shown.find("\r\x1B[KConversion complete"), std::string::npos);
  // Quiet and debug runs print no such line.
  EXPECT_EQ(RunOnTerminal({"--input-folder=shoot", "-o", dir_.File("out"), "-d"}, dir_.path()).find("[1/3]"),
            std::string::npos);
}

// A long name is cut to fit the terminal's width (how names are escaped and
// cut is StatusLineText's test).
TEST_F(BatchRun, StatusLineFitsTheTerminal) {
  ASSERT_EQ(mkdir(dir_.File("long").c_str(), 0755), 0);
  for (const std::string& name : {std::string("a"), std::string(60, 'n')}) {
    e2e::WriteJpeg(dir_.File("long/" + name + ".jpg"), 8, 8);
  }
  const std::string shown = RunOnTerminal({"--input-folder=long", "-o", dir_.File("out")}, dir_.path(), 30);
  EXPECT_NE(shown.find("\r[2/2] nnnnnnnnnn...nnnnnn.jpg\x1B[K"), std::string::npos) << shown;
}

// The processes jpg2dds has started (its helpers), found through /proc.
std::vector<int> ChildrenOf(int parent) {
  std::vector<int> children;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string stat = e2e::ReadBytes(entry.path().string() + "/stat");
    const size_t close = stat.rfind(')');  // the command name may hold blanks
    int parentOf = 0;
    char state = 0;
    if (close != std::string::npos && std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parentOf) == 2 &&
        parentOf == parent) {
      children.push_back(std::stoi(name));
    }
  }
  return children;
}

// Whether the process has ended (gone, or a zombie not yet reaped by its
// new parent).
bool HasEndedProcess(int pid) {
  const std::string stat = e2e::ReadBytes("/proc/" + std::to_string(pid) + "/stat");
  const size_t close = stat.rfind(')');
  return close == std::string::npos || stat.compare(close, 3, ") Z") == 0;
}

// A signal that ends a batch on several threads ends its helpers too, and
// leaves none of the temporary files being written. (Every ending signal
// shares one handler, see ShellSignals; kill -9 ends the helpers as their
// socket closes, see HelperProcess.)
TEST(BatchHelpers, EndWithTheConverter) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File("out").c_str(), 0755), 0);
  for (int i = 0; i < 8; ++i) e2e::WriteJpeg(dir.File("p" + std::to_string(i) + ".jpg"), 1200, 900);
  e2e::Running run = e2e::StartJpg2dds({"--input-folder=" + dir.path(), "-o", dir.File("out"), "-d", "--threads=2"});
  std::vector<int> helpers;
  for (int waited = 0; helpers.empty() && waited < 20000; ++waited) {
    helpers = ChildrenOf(run.pid);
    if (helpers.empty()) usleep(1000);
  }
  ASSERT_FALSE(helpers.empty()) << "no helper seen";
  kill(run.pid, SIGTERM);
  e2e::FinishJpg2dds(run);
  for (int helper : helpers) {
    for (int waited = 0; !HasEndedProcess(helper) && waited < 2000; ++waited) usleep(1000);
    EXPECT_TRUE(HasEndedProcess(helper)) << helper;
  }
  EXPECT_EQ(FilesBelow(dir.File("out")), DdsFilesBelow(dir.File("out")));
}

}  // namespace
