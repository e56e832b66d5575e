// Per-run values of a command-line conversion that are not settings.
#pragma once
#include <cstddef>
#include <string>

namespace jpg2dds {

struct RunOptions {
  std::string inputPath;
  std::string outputFolder;  // as typed; resolved later
  std::string outputType;    // as typed; empty means the first output type
  bool consoleRun = false;   // an input option was given
  size_t inputPosition = 0;  // batch inputs named before the last -i: the -i file's place among them
  bool debug = false;
  bool quiet = false;
  bool pause = false;
};

}  // namespace jpg2dds
