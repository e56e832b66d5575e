// Work spread over threads: tasks numbered 0 to count - 1, taken in order by
// whichever thread is free. The caller's thread works too.
#pragma once
#include <functional>

namespace jpg2dds {

// Runs task(i) for every i below count on at most `threads` threads and
// returns when all are done. With threads below 2 everything runs here, in
// order. A `leader`, when given, runs first on the caller's thread while the
// other threads begin the tasks (which may wait for what it makes); the
// caller's thread then joins them.
void ParallelFor(int count, int threads, const std::function<void(int)>& task,
                 const std::function<void()>& leader = nullptr);

}  // namespace jpg2dds
