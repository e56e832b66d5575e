#include "platform/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <exception>

#include "platform/threads.h"

namespace jpg2dds {

// Tasks of one ParallelFor call, as helpers see them.
struct PostedTasks {
  const std::function<void(int)>* task;
  int count;
  int helpersLeft;  // how many more helpers may join
  int next = 0;     // the next task to take (guarded by the helpers' mutex)
  int done = 0;     // tasks finished or given up (guarded too)
  std::exception_ptr failure;  // the first a task threw (guarded too)
};

namespace {

thread_local TaskHelpers* gHelpers = nullptr;

// After a task has thrown, the tasks not yet begun are given up; the call
// ends as soon as those running have finished, and throws that exception.
// The helpers' mutex is held.
void GiveUp(TaskHelpers& helpers, PostedTasks& tasks, std::exception_ptr failure) {
  if (!tasks.failure) tasks.failure = failure;
  tasks.done += tasks.count - tasks.next;
  tasks.next = tasks.count;
  if (tasks.done == tasks.count) helpers.changed.notify_all();
}

// Runs the posted tasks' next task, with the mutex held on entry and exit.
// False when there is none.
bool RunOnePosted(TaskHelpers& helpers, std::unique_lock<std::mutex>& lock, PostedTasks* only) {
  PostedTasks* tasks = only;
  if (!tasks) {
    for (PostedTasks* p : helpers.posted) {
      if (p->next < p->count && p->helpersLeft > 0) {
        tasks = p;
        break;
      }
    }
  }
  if (!tasks || tasks->next >= tasks->count) return false;
  const int i = tasks->next++;
  lock.unlock();
  std::exception_ptr failure;
  try {
    (*tasks->task)(i);
  } catch (...) {
    failure = std::current_exception();
  }
  lock.lock();
  if (++tasks->done == tasks->count) helpers.changed.notify_all();
  if (failure) GiveUp(helpers, *tasks, failure);
  return true;
}

void ParallelForWithHelpers(TaskHelpers& helpers, int count, int threads, const std::function<void(int)>& task,
                            const std::function<void()>& leader) {
  PostedTasks posted{&task, count, threads - 1, 0, 0, nullptr};
  {
    std::lock_guard<std::mutex> lock(helpers.mutex);
    helpers.posted.push_back(&posted);
  }
  helpers.changed.notify_all();
  std::exception_ptr leaderFailure;
  if (leader) {
    try {
      leader();
    } catch (...) {
      leaderFailure = std::current_exception();
    }
  }
  std::unique_lock<std::mutex> lock(helpers.mutex);
  if (leaderFailure) GiveUp(helpers, posted, leaderFailure);
  while (RunOnePosted(helpers, lock, &posted)) {
  }
  // Others still run the last tasks; help elsewhere meanwhile.
  while (posted.done < count) {
    if (!RunOnePosted(helpers, lock, nullptr)) helpers.changed.wait(lock);
  }
  helpers.posted.erase(std::find(helpers.posted.begin(), helpers.posted.end(), &posted));
  if (posted.failure) std::rethrow_exception(posted.failure);
}

}  // namespace

void UseTaskHelpers(TaskHelpers* helpers) { gHelpers = helpers; }

void WaitHelping(TaskHelpers& helpers, const std::function<bool()>& ready) {
  std::unique_lock<std::mutex> lock(helpers.mutex);
  while (!ready()) {
    bool helped = false;
    for (PostedTasks* p : helpers.posted) {
      if (p->next < p->count && p->helpersLeft > 0) {
        // Back to the caller as soon as it may go on.
        --p->helpersLeft;
        while (!ready() && RunOnePosted(helpers, lock, p)) {
        }
        ++p->helpersLeft;
        helped = true;
        break;
      }
    }
    if (!helped) helpers.changed.wait(lock);
  }
}

void ParallelFor(int count, int threads, const std::function<void(int)>& task,
                 const std::function<void()>& leader) {
  if (gHelpers && threads > 1 && count > 0) {
    ParallelForWithHelpers(*gHelpers, count, threads, task, leader);
    return;
  }
  // Threads besides the caller's: as many as there are tasks for them.
  const int helpersWanted = std::min(leader ? count : count - 1, threads - 1);
  if (helpersWanted < 1) {
    if (leader) leader();
    for (int i = 0; i < count; ++i) task(i);
    return;
  }
  std::atomic<int> next{0};
  std::mutex failureMutex;
  std::exception_ptr failure;
  const auto fail = [&](std::exception_ptr thrown) {
    std::lock_guard<std::mutex> lock(failureMutex);
    if (!failure) failure = thrown;
    next.store(count);  // the tasks not yet begun are given up
  };
  auto work = [&] {
    for (int i; (i = next.fetch_add(1)) < count;) {
      try {
        task(i);
      } catch (...) {
        fail(std::current_exception());
      }
    }
  };
  // Whatever threads the system gives; the caller's thread alone does all
  // the tasks if need be.
  StartedThreads helpers;
  StartThreads(helpers, helpersWanted, work);
  if (leader) {
    try {
      leader();
    } catch (...) {
      fail(std::current_exception());
    }
  }
  work();
  JoinThreads(helpers);
  if (failure) std::rethrow_exception(failure);
}

}  // namespace jpg2dds
