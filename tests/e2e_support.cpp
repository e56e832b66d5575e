#include "e2e_support.h"

#include <FreeImage.h>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e {

Running StartJpg2dds(const std::vector<std::string>& args, const std::string& workDir, long fileSizeLimit,
                     const std::vector<int>& closedFds, long addressSpaceLimit, int standardInput,
                     const std::vector<std::string>& launcher) {
  Running run;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    ADD_FAILURE() << "pipe failed";
    return run;
  }
  // A file rather than a pipe: nobody needs to drain it while the process runs.
  char errName[] = "/tmp/jpg2dds-e2e-stderr-XXXXXX";
  run.err = mkstemp(errName);
  if (run.err >= 0) unlink(errName);
  run.pid = fork();
  if (run.pid == 0) {
    setsid();  // no controlling terminal: a key wait returns at once
    dup2(pipeFds[1], 1);
    int devnull = open("/dev/null", O_RDWR);
    dup2(standardInput >= 0 ? standardInput : devnull, 0);
    dup2(run.err >= 0 ? run.err : devnull, 2);
    if (run.err >= 0) close(run.err);
    close(pipeFds[0]);
    close(pipeFds[1]);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(127);
    // What the test runner ignores or blocks must not shelter the program.
    for (int number = 1; number < NSIG; ++number) std::signal(number, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (fileSizeLimit > 0) {
      rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (addressSpaceLimit > 0) {
      rlimit limit{static_cast<rlim_t>(addressSpaceLimit), static_cast<rlim_t>(addressSpaceLimit)};
      setrlimit(RLIMIT_AS, &limit);
    }
    for (int fd : closedFds) close(fd);
    std::vector<std::string> copy = launcher;
    copy.push_back(JPG2DDS_BINARY);
    copy.insert(copy.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  run.out = pipeFds[0];
  return run;
}

bool ReadOutputFor(Running& run, int milliseconds) {
  pollfd pfd{run.out, POLLIN, 0};
  if (poll(&pfd, 1, milliseconds) <= 0) return true;
  char buffer[4096];
  ssize_t n = read(run.out, buffer, sizeof buffer);
  if (n <= 0) return false;
  run.text.append(buffer, static_cast<size_t>(n));
  return true;
}

int FinishJpg2dds(Running& run) {
  if (run.pid <= 0) return -1;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  bool open = run.out >= 0;
  while (open && std::chrono::steady_clock::now() < deadline) open = ReadOutputFor(run, 100);
  if (run.out >= 0) close(run.out);
  run.out = -1;
  pid_t ended = 0;
  while ((ended = waitpid(run.pid, &run.status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
    usleep(1000);
  }
  if (ended == 0) {
    kill(run.pid, SIGKILL);
    waitpid(run.pid, &run.status, 0);
    ADD_FAILURE() << "jpg2dds did not end within 60 s";
  }
  if (run.err >= 0) {
    char buffer[4096];
    ssize_t n = 0;
    for (off_t at = 0; (n = pread(run.err, buffer, sizeof buffer, at)) > 0; at += n) {
      run.errText.append(buffer, static_cast<size_t>(n));
    }
    close(run.err);
    run.err = -1;
  }
  return WIFEXITED(run.status) ? WEXITSTATUS(run.status) : 128 + WTERMSIG(run.status);
}

namespace {

RunResult Finish(Running& run) {
  RunResult result;
  result.exitCode = FinishJpg2dds(run);
  result.out = run.text;
  result.err = run.errText;
  std::istringstream in(result.out);
  for (std::string line; std::getline(in, line);) result.lines.push_back(line);
  return result;
}

}  // namespace

RunResult RunJpg2dds(const std::vector<std::string>& args, const std::string& workDir, long fileSizeLimit,
                     const std::vector<int>& closedFds, long addressSpaceLimit) {
  Running run = StartJpg2dds(args, workDir, fileSizeLimit, closedFds, addressSpaceLimit);
  return Finish(run);
}

RunResult RunJpg2ddsWithInput(const std::vector<std::string>& args, const std::string& input,
                              const std::string& workDir) {
  int fds[2];
  if (input.size() > 65536) {
    ADD_FAILURE() << "more than a pipe holds before it is read";
    return RunResult{};
  }
  // Close-on-exec: only the copy made standard input reaches jpg2dds.
  if (pipe2(fds, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe failed";
    return RunResult{};
  }
  EXPECT_EQ(write(fds[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
  close(fds[1]);
  Running run = StartJpg2dds(args, workDir, -1, {}, -1, fds[0]);
  close(fds[0]);
  return Finish(run);
}

RunResult RunJpg2ddsInShell(const std::string& shell, const std::string& setup, const std::vector<std::string>& args,
                            const std::string& workDir, const std::vector<std::string>& prefix) {
  std::vector<std::string> launcher = prefix;
  launcher.insert(launcher.end(), {shell, "-c", setup + "; exec \"$0\" \"$@\""});
  Running run = StartJpg2dds(args, workDir, -1, {}, -1, -1, launcher);
  return Finish(run);
}

bool OrdinaryUser(std::vector<std::string>& prefix) {
  prefix.clear();
  if (geteuid() != 0) return true;
  if (access("/usr/bin/setpriv", X_OK) != 0) return false;
  // The lock then lives in /tmp under nobody's user id.
  prefix = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "env", "-u", "XDG_RUNTIME_DIR"};
  return true;
}

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/jpg2dds-e2e-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) ADD_FAILURE() << "mkdtemp failed";
  path_ = buffer.data();
}

TempDir::~TempDir() {
  // Restore write permission first so read-only test folders go too.
  std::string command = "chmod -R u+w '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'";
  if (std::system(command.c_str()) != 0) {
  }
}

void WriteJpeg(const std::string& path, int width, int height, uint32_t rgb, bool grey) {
  FIBITMAP* bitmap = FreeImage_Allocate(width, height, grey ? 8 : 24);
  ASSERT_NE(bitmap, nullptr);
  if (grey) {
    RGBQUAD* palette = FreeImage_GetPalette(bitmap);
    for (int i = 0; i < 256; ++i) {
      palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
    }
  }
  for (int y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(bitmap, y);
    for (int x = 0; x < width; ++x) {
      if (grey) {
        row[x] = static_cast<BYTE>(rgb & 0xFF);
      } else {
        row[x * 3 + FI_RGBA_RED] = static_cast<BYTE>(rgb >> 16);
        row[x * 3 + FI_RGBA_GREEN] = static_cast<BYTE>(rgb >> 8);
        row[x * 3 + FI_RGBA_BLUE] = static_cast<BYTE>(rgb);
      }
    }
  }
  bool saved = FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), 100 | JPEG_SUBSAMPLING_444);
  FreeImage_Unload(bitmap);
  ASSERT_TRUE(saved) << path;
}

const std::vector<std::string> kBanner = {"Brightmill JPG to DDS 2.8", "(c) 2019-2026 Brightmill",
                                          "https://www.brightmill.example/", " "};

std::vector<std::string> WithoutBanner(const std::vector<std::string>& lines) {
  if (lines.size() < 4 || !std::equal(kBanner.begin(), kBanner.end(), lines.begin())) return lines;
  return std::vector<std::string>(lines.begin() + 4, lines.end());
}

std::string PngBytes() {
  static const char kPng[] =
      "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1f\x15\xc4\x89"
      "\0\0\0\x0aIDATx\x9c\x63\0\x01\0\0\x05\0\x01\x0d\x0a\x2d\xb4\0\0\0\0IEND\xae\x42\x60\x82";
  return std::string(kPng, sizeof kPng - 1);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(path.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool HasTemporaryFile(const std::string& folder) {
  const std::vector<std::string> names = ListFolder(folder);
  return std::any_of(names.begin(), names.end(), [](const std::string& n) { return n.find("tessel") != n.npos; });
}

}  // namespace e2e
