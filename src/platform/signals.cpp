#include "platform/signals.h"

#include <csignal>

namespace jpg2dds {

void InstallProcessSignals() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
}

}  // namespace jpg2dds
