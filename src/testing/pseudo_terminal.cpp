#include "testing/pseudo_terminal.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace jpg2dds::testing {

bool StartOnTerminal(PseudoTerminal& terminal, const std::function<void()>& body, int columns) {
  winsize size{};
  size.ws_row = 24;
  size.ws_col = static_cast<unsigned short>(columns);
  terminal.child = forkpty(&terminal.master, nullptr, nullptr, columns > 0 ? &size : nullptr);
  if (terminal.child == 0) {
    body();
    _exit(0);
  }
  return terminal.child > 0;
}

bool ReadUntil(PseudoTerminal& terminal, const std::string& text, int milliseconds) {
  for (;;) {
    const size_t found = terminal.output.find(text);
    if (found != std::string::npos) {
      terminal.output.erase(0, found + text.size());
      return true;
    }
    pollfd pfd{terminal.master, POLLIN, 0};
    if (poll(&pfd, 1, milliseconds) <= 0) return false;
    char buffer[4096];
    const ssize_t n = read(terminal.master, buffer, sizeof buffer);
    if (n <= 0) return false;
    terminal.output.append(buffer, static_cast<size_t>(n));
  }
}

bool Type(PseudoTerminal& terminal, const std::string& keys) {
  return write(terminal.master, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
}

void Stop(PseudoTerminal& terminal) {
  if (terminal.child > 0) {
    kill(terminal.child, SIGKILL);
    waitpid(terminal.child, nullptr, 0);
    terminal.child = -1;
  }
  if (terminal.master >= 0) close(terminal.master);
  terminal.master = -1;
}

}  // namespace jpg2dds::testing
