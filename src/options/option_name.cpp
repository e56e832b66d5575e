#include "options/option_name.h"

#include "platform/text_case.h"

namespace jpg2dds {

std::string OptionName(const std::string& argument) {
  size_t first = argument.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  size_t last = argument.find_last_not_of(' ');
  std::string name = argument.substr(first, last - first + 1);
  if (name[0] != '-') return std::string();
  if (name.compare(0, 2, "--") == 0) name = name.substr(0, name.find('='));
  return UpperCase(name);
}

}  // namespace jpg2dds
