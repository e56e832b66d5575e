// Signals that concern the whole process.
#pragma once

namespace jpg2dds {

// Once at start-up. A pipe whose reader has gone makes a write fail (EPIPE)
// instead of ending the process.
void InstallProcessSignals();

}  // namespace jpg2dds
