#include "platform/threads.h"

#include <algorithm>
#include <atomic>
#include <system_error>

namespace jpg2dds {
namespace {

std::atomic<int> gStartsAllowed{-1};  // negative: as many as the system gives

bool MayStartAnother() {
  for (int allowed = gStartsAllowed.load(); allowed >= 0;) {
    if (allowed == 0) return false;
    if (gStartsAllowed.compare_exchange_weak(allowed, allowed - 1)) return true;
  }
  return true;
}

}  // namespace

int StartThreads(StartedThreads& threads, int count, const std::function<void()>& body) {
  try {
    threads.running.reserve(threads.running.size() + static_cast<size_t>(std::max(count, 0)));
  } catch (const std::bad_alloc&) {
    return static_cast<int>(threads.running.size());
  }
  for (int i = 0; i < count && MayStartAnother(); ++i) {
    try {
      threads.running.emplace_back(body);
    } catch (const std::system_error&) {
      break;  // EAGAIN: the process or thread limit, or no memory for a stack
    } catch (const std::bad_alloc&) {
      break;
    }
  }
  return static_cast<int>(threads.running.size());
}

void JoinThreads(StartedThreads& threads) {
  for (std::thread& thread : threads.running) thread.join();
  threads.running.clear();
}

void RunOnOwnThread(const std::function<void()>& body) {
  StartedThreads thread;
  if (StartThreads(thread, 1, body) == 0) body();
  JoinThreads(thread);
}

void RefuseThreadsAfter(int allowed) { gStartsAllowed.store(allowed < 0 ? -1 : allowed); }

}  // namespace jpg2dds
