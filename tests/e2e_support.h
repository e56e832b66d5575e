// Shared helpers of the end-to-end tests: a temporary folder, running the
// built jpg2dds, and making small pictures.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct RunResult {
  std::string out;             // standard output
  std::string err;             // standard error
  std::vector<std::string> lines;  // out split at "\n"
  int exitCode = -1;
};

// A jpg2dds process running in the background, its output read on demand.
struct Running {
  int pid = -1;
  int out = -1;         // read end of its standard output; the test may close it early (-1)
  int err = -1;         // a nameless file that receives its standard error
  std::string text;     // what has been read so far
  std::string errText;  // its standard error, once it has ended
  int status = 0;       // as waitpid() reports it, once FinishJpg2dds has run
};

// Starts jpg2dds as RunJpg2dds does, without waiting for it. A
// `standardInput` of 0 or more is its standard input instead of /dev/null.
// A `launcher` (a command and its arguments) is run instead, with the
// jpg2dds binary and `args` after it.
Running StartJpg2dds(const std::vector<std::string>& args, const std::string& workDir = "",
                     long fileSizeLimit = -1, const std::vector<int>& closedFds = {}, long addressSpaceLimit = -1,
                     int standardInput = -1, const std::vector<std::string>& launcher = {});

// Reads what arrives within the time; false at the end of the output.
bool ReadOutputFor(Running& run, int milliseconds);

// Reads to the end of the output (unless `out` was closed) and returns the
// exit code, 128 + the signal's number for a process that a signal ended
// (standard error is then in errText); a process that has not ended within
// 60 s is killed and the test fails.
int FinishJpg2dds(Running& run);

// Runs the jpg2dds binary with the arguments, standard input from /dev/null
// and no controlling terminal, in `workDir` when given, every signal at its
// default disposition and none blocked, as a shell starts a command. A
// positive `fileSizeLimit` caps the size of every file it writes
// (RLIMIT_FSIZE, as `ulimit -f` does). The descriptors in `closedFds` (of 0,
// 1 and 2) are closed when it starts. A positive `addressSpaceLimit` caps its
// memory in bytes (RLIMIT_AS), as `ulimit -v` does. Fails the test on a hang
// (60 s).
RunResult RunJpg2dds(const std::vector<std::string>& args, const std::string& workDir = "",
                     long fileSizeLimit = -1, const std::vector<int>& closedFds = {}, long addressSpaceLimit = -1);

// RunJpg2dds with standard input read from a pipe that holds `input` and
// is closed after it, as in `printf ... | jpg2dds ...`. The input must fit
// into the pipe (at most 64 KiB).
RunResult RunJpg2ddsWithInput(const std::vector<std::string>& args, const std::string& input,
                              const std::string& workDir = "");

// Runs jpg2dds as a shell line does: `SHELL -c 'SETUP; exec "$0" "$@"'
// jpg2dds ARGS...`, e.g. "sh" with "ulimit -v 61440", or "bash" with
// "ulimit -u 3" (dash has no -u). `prefix`, when given, runs the shell (see
// OrdinaryUser).
RunResult RunJpg2ddsInShell(const std::string& shell, const std::string& setup, const std::vector<std::string>& args,
                            const std::string& workDir = "", const std::vector<std::string>& prefix = {});

// The command prefix that runs a command as an ordinary user: nothing when
// the tests run as one; as root, nobody by setpriv, without root's lock
// folder. False when root has no way to become one.
bool OrdinaryUser(std::vector<std::string>& prefix);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes a JPEG (quality 100) of the given size. The pixel at (x, y) from
// the top is the colour `pixel(x, y)` returns as 0xRRGGBB; by default a flat
// mid grey. `grey` writes an 8-bit greyscale JPEG.
void WriteJpeg(const std::string& path, int width, int height, uint32_t rgb = 0x808080, bool grey = false);

// The four lines of the banner, and the lines after them when they start with it.
extern const std::vector<std::string> kBanner;
std::vector<std::string> WithoutBanner(const std::vector<std::string>& lines);

// A 1 x 1 RGBA picture as PNG encoders write it.
std::string PngBytes();

// Writes the bytes to a file.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// Names in a folder, sorted, without "." and "..".
std::vector<std::string> ListFolder(const std::string& path);

// Whether a conversion's temporary file is in the folder.
bool HasTemporaryFile(const std::string& folder);

}  // namespace e2e
