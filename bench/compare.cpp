// Runs commands side by side: each round runs every command once, in turn,
// so a machine that gets slower or faster during the run slows all of them
// alike. Prints, per command, the median and fastest wall time, the ratio of
// its median to the first command's, and the peak resident memory of its
// process tree (the largest over the rounds).
//
// Usage: jpg2dds_compare ROUNDS LABEL CMD ARGS... [::: LABEL CMD ARGS...]...
// Output lines: "LABEL median_ms fastest_ms ratio peak_MiB" (one per command).

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Command {
  std::string label;
  std::vector<std::string> argv;
  std::vector<double> wallMs;
  long peakKiB = 0;
};

// One run with standard output and error thrown away; false when the
// command could not start or failed.
bool RunOnce(Command& command) {
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    if (FILE* null = std::freopen("/dev/null", "w", stdout)) (void)null;
    if (FILE* null = std::freopen("/dev/null", "w", stderr)) (void)null;
    std::vector<char*> argv;
    for (std::string& a : command.argv) argv.push_back(a.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return false;
  command.wallMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  command.peakKiB = std::max(command.peakKiB, usage.ru_maxrss);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: jpg2dds_compare ROUNDS LABEL CMD ARGS... [::: LABEL CMD ARGS...]...\n");
    return 2;
  }
  const int rounds = std::max(1, std::atoi(argv[1]));
  std::vector<Command> commands(1);
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == ":::") {
      commands.emplace_back();
    } else if (commands.back().label.empty()) {
      commands.back().label = arg;
    } else {
      commands.back().argv.push_back(arg);
    }
  }
  for (Command& command : commands) {
    if (command.argv.empty()) {
      std::fprintf(stderr, "jpg2dds_compare: %s has no command\n", command.label.c_str());
      return 2;
    }
  }
  bool allOk = true;
  for (int round = 0; round < rounds; ++round) {
    for (Command& command : commands) {
      if (!RunOnce(command)) {
        std::fprintf(stderr, "jpg2dds_compare: %s failed\n", command.label.c_str());
        allOk = false;
      }
    }
  }
  const double base = commands[0].wallMs.empty() ? 0 : Median(commands[0].wallMs);
  for (const Command& command : commands) {
    if (command.wallMs.empty()) continue;
    const double median = Median(command.wallMs);
    std::printf("%s %.1f %.1f %.2f %.1f\n", command.label.c_str(), median,
                *std::min_element(command.wallMs.begin(), command.wallMs.end()), base > 0 ? median / base : 0.0,
                command.peakKiB / 1024.0);
  }
  return allOk ? 0 : 1;
}
