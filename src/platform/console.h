// Console operations: lines to standard output, the title, a key wait.
#pragma once
#include <string>

namespace jpg2dds {

// Writes the text and "\n" to standard output at once, unbuffered. A line
// that cannot be written (a closed pipe, a full disk) is lost, nothing more.
void PrintLine(const std::string& text);

// Sets the terminal title, only when standard output is a terminal.
void SetConsoleTitle(const std::string& title);

// Waits for one key that produces a character, from the controlling
// terminal; returns at once when there is none.
void WaitForKey();

}  // namespace jpg2dds
