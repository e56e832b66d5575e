// Descriptors 0, 1 and 2 of the process.
#pragma once

namespace jpg2dds {

// Opens /dev/null onto each of standard input, output and error that the
// process was started without. Call before anything else opens a file: the
// lowest free descriptor would otherwise go to that file, and console lines
// or a library's messages would be written into it.
void EnsureStandardStreamsOpen();

}  // namespace jpg2dds
