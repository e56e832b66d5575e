// Program entry: start-up, single-instance lock and mode dispatch.
#pragma once
#include <string>
#include <vector>

namespace jpg2dds {

// Runs the whole program on the arguments after the program name; always
// returns exit code 0.
int RunProgram(const std::vector<std::string>& args);

}  // namespace jpg2dds
