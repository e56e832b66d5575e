// A child process on a pseudo-terminal of its own, as a terminal emulator
// starts a shell: the test types into the master side and reads what the
// child writes to its terminal.
#pragma once
#include <sys/types.h>

#include <functional>
#include <string>

namespace jpg2dds::testing {

struct PseudoTerminal {
  int master = -1;
  pid_t child = -1;
  std::string output;  // what the child wrote and ReadUntil has not yet passed
};

// Forks a child whose controlling terminal is a new pseudo-terminal of
// `columns` columns (0: as the system makes it) and runs `body` there; the
// child ends with _exit(0) if `body` returns. False when no terminal can be
// made.
bool StartOnTerminal(PseudoTerminal& terminal, const std::function<void()>& body, int columns = 0);

// Reads until the output holds `text`, then drops the output up to its end;
// false when the child ends or the time is up first.
bool ReadUntil(PseudoTerminal& terminal, const std::string& text, int milliseconds = 10000);

bool Type(PseudoTerminal& terminal, const std::string& keys);

// Kills the child if it still runs, waits for it and closes the terminal.
void Stop(PseudoTerminal& terminal);

}  // namespace jpg2dds::testing
