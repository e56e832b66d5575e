// Threads of our own. The system may refuse a thread (a process limit as
// `ulimit -u` sets, no memory for its stack): a run then goes on with the
// threads it got, down to the calling thread alone, and does the same work.
#pragma once
#include <functional>
#include <thread>
#include <vector>

namespace jpg2dds {

struct StartedThreads {
  std::vector<std::thread> running;
};

// Starts up to `count` threads, each running `body`; stops at the first the
// system refuses. Returns how many run now (also in `threads`).
int StartThreads(StartedThreads& threads, int count, const std::function<void()>& body);

// Waits for every started thread to end.
void JoinThreads(StartedThreads& threads);

// Runs `body` on a thread of its own and waits for it; on the calling thread
// when no thread can be had.
void RunOnOwnThread(const std::function<void()>& body);

// For tests: from now on the system is taken to refuse every thread after
// the next `allowed` ones; a negative value lifts that.
void RefuseThreadsAfter(int allowed);

}  // namespace jpg2dds
