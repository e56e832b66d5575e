#include "platform/signals.h"

#include <csignal>
#include <mutex>

#include "platform/console.h"
#include "platform/temporary_files.h"

namespace jpg2dds {
namespace {

const int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void Ignore(int signal) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(signal, &ignore, nullptr);
}

// Only async-signal-safe work: what must not outlive the process is undone,
// then the signal comes again with its default action, so the process ends
// the way the sender asked (status, core dump) and a shell sees that.
void EndBySignal(int signal) {
  RestoreTerminalOfKeyWait();
  RemoveTemporaryFilesNow();
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(signal, &byDefault, nullptr);
  // Blocked until this handler returns, then delivered.
  raise(signal);
}

}  // namespace

void InstallProcessSignals() {
  Ignore(SIGPIPE);
  KeepFileSizeLimitFromEndingProcess();
  struct sigaction ending {};
  ending.sa_handler = EndBySignal;
  // One at a time on a thread: a second ending signal waits for the first.
  sigemptyset(&ending.sa_mask);
  for (int signal : kEndingSignals) sigaddset(&ending.sa_mask, signal);
  for (int signal : kEndingSignals) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    sigaction(signal, &ending, nullptr);
  }
}

void KeepFileSizeLimitFromEndingProcess() {
  static std::once_flag once;
  std::call_once(once, [] { Ignore(SIGXFSZ); });
}

}  // namespace jpg2dds
