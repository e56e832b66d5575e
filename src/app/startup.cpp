#include "app/startup.h"

namespace jpg2dds {

int RunProgram(const std::vector<std::string>&) { return 0; }

}  // namespace jpg2dds
