#include "platform/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace jpg2dds {

// Tasks of one ParallelFor call, as helpers see them.
struct PostedTasks {
  const std::function<void(int)>* task;
  int count;
  int helpersLeft;  // how many more helpers may join
  int next = 0;     // the next task to take (guarded by the helpers' mutex)
  int done = 0;     // tasks finished (guarded too)
};

namespace {

thread_local TaskHelpers* gHelpers = nullptr;

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
  (*tasks->task)(i);
  lock.lock();
  if (++tasks->done == tasks->count) helpers.changed.notify_all();
  return true;
}

void ParallelForWithHelpers(TaskHelpers& helpers, int count, int threads, const std::function<void(int)>& task,
                            const std::function<void()>& leader) {
  PostedTasks posted{&task, count, threads - 1};
  {
    std::lock_guard<std::mutex> lock(helpers.mutex);
    helpers.posted.push_back(&posted);
  }
  helpers.changed.notify_all();
  if (leader) leader();
  std::unique_lock<std::mutex> lock(helpers.mutex);
  while (RunOnePosted(helpers, lock, &posted)) {
  }
  // Others still run the last tasks; help elsewhere meanwhile.
  while (posted.done < count) {
    if (!RunOnePosted(helpers, lock, nullptr)) helpers.changed.wait(lock);
  }
  helpers.posted.erase(std::find(helpers.posted.begin(), helpers.posted.end(), &posted));
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
  auto work = [&] {
    for (int i; (i = next.fetch_add(1)) < count;) task(i);
  };
  std::vector<std::thread> helpers;
  helpers.reserve(static_cast<size_t>(helpersWanted));
  for (int t = 0; t < helpersWanted; ++t) helpers.emplace_back(work);
  if (leader) leader();
  work();
  for (std::thread& helper : helpers) helper.join();
}

}  // namespace jpg2dds
