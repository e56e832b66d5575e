// Signals that concern the whole process.
#pragma once

namespace jpg2dds {

// Once at start-up, before anything is written. A pipe whose reader has gone
// and the file size limit make a write fail (EPIPE, EFBIG) instead of ending
// the process. SIGINT, SIGTERM, SIGHUP and SIGQUIT first remove the
// temporary files that exist and put back a terminal left in a key wait,
// then end the process as the signal asks; one that the process was started
// with ignored (nohup) stays ignored.
void InstallProcessSignals();

// Makes a write beyond the file size limit (`ulimit -f`) fail with EFBIG,
// as on a full disk, instead of ending the process with SIGXFSZ. For every
// function that writes files; does its work once per process.
void KeepFileSizeLimitFromEndingProcess();

}  // namespace jpg2dds
