// Console operations: lines to standard output, the title, a key wait.
#pragma once
#include <string>

namespace jpg2dds {

// Writes the text and "\n" to standard output at once, unbuffered. A line
// that cannot be written (a closed pipe, a full disk) is lost, nothing more.
void PrintLine(const std::string& text);

// Whether standard output is a terminal (not a file or a pipe).
bool StandardOutputIsTerminal();

// The width of the terminal on standard output in columns, asked anew at
// each call (the user may resize it); 0 when it is no terminal or does not
// say.
int TerminalColumns();

// Shows the text as the one line that is rewritten in place (no line
// feed), or erases that line when the text is empty.
void ShowStatusLine(const std::string& text);

// Sets the terminal title, only when standard output is a terminal.
void SetConsoleTitle(const std::string& title);

// Waits for one key that produces a character, from the controlling
// terminal; returns at once when there is none. The terminal is in
// non-canonical, no-echo mode meanwhile; a signal that ends the process
// puts it back through RestoreTerminalOfKeyWait (see platform/signals.h).
void WaitForKey();

// Puts the terminal of a key wait in progress back into the mode it had
// before; nothing when no wait is in progress. Async-signal-safe.
void RestoreTerminalOfKeyWait();

}  // namespace jpg2dds
