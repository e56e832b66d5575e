#include "platform/console.h"

#include <cstdio>

namespace jpg2dds {

void PrintLine(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void SetConsoleTitle(const std::string&) {}

void WaitForKey() {}

}  // namespace jpg2dds
