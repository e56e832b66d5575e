// Work spread over threads: tasks numbered 0 to count - 1, taken in order by
// whichever thread is free. The caller's thread works too.
#pragma once
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace jpg2dds {

struct PostedTasks;

// The threads of a run that may lend a hand. While a thread is given them
// (UseTaskHelpers), its ParallelFor calls post their tasks here instead of
// starting threads of their own, and threads that wait in WaitHelping run
// them: a run then works on no more threads than it started.
struct TaskHelpers {
  std::mutex mutex;
  std::condition_variable changed;     // notified when tasks are posted or done, and by waiters' wakers
  std::vector<PostedTasks*> posted;   // guarded by mutex
};

// Gives the calling thread these helpers (null: none) for its ParallelFor calls.
void UseTaskHelpers(TaskHelpers* helpers);

// Waits until `ready` holds, running posted tasks meanwhile. `ready` is
// called with the helpers' mutex held; whoever makes it true must change its
// state under that mutex and notify `changed`.
void WaitHelping(TaskHelpers& helpers, const std::function<bool()>& ready);

// Runs task(i) for every i below count on at most `threads` threads and
// returns when all are done. With threads below 2 everything runs here, in
// order; threads the system refuses are done without. A `leader`, when
// given, runs first on the caller's thread while the other threads begin the
// tasks (which may wait for what it makes); the caller's thread then joins
// them. When a task or the leader throws (memory that runs out), the tasks
// not yet begun are given up and the first exception is thrown here once the
// running ones have ended.
void ParallelFor(int count, int threads, const std::function<void(int)>& task,
                 const std::function<void()>& leader = nullptr);

}  // namespace jpg2dds
