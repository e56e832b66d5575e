#include "platform/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <new>
#include <thread>
#include <vector>

#include "platform/threads.h"

namespace jpg2dds {
namespace {

// Every task runs once on the threads the system gives (-1: all, down to the
// calling one alone), by a batch's threads (helpers) or by threads of its
// own; memory that runs out in a task or the leader reaches the caller once
// the running tasks end, and the tasks not begun are given up.
TEST(ParallelFor, EveryTaskOnceOrTheFirstExceptionOnTheThreadsGiven) {
  constexpr int kTasks = 100;
  for (bool withHelpers : {false, true}) {
    for (int given : {-1, 0, 1}) {
      for (int thrower : {kTasks, -1, 0, kTasks - 1}) {  // -1: the leader; kTasks: none
        SCOPED_TRACE(std::to_string(withHelpers) + " " + std::to_string(given) + " " + std::to_string(thrower));
        std::vector<std::atomic<int>> runs(kTasks);
        std::atomic<bool> led{false}, thrown{false};
        std::atomic<int> afterwards{0};
        TaskHelpers helpers;
        UseTaskHelpers(withHelpers ? &helpers : nullptr);
        RefuseThreadsAfter(given);
        const auto task = [&](int i) {
          while (i < 4 && !led) std::this_thread::yield();  // waits for what the leader makes
          afterwards += thrown;
          std::this_thread::sleep_for(std::chrono::microseconds(100));
          ++runs[i];
          if (i == thrower) {
            thrown = true;
            throw std::bad_alloc();
          }
        };
        const auto leader = [&] {
          led = true;
          if (thrower < 0) throw std::bad_alloc();
        };
        if (thrower == kTasks) {
          ParallelFor(kTasks, 4, task, leader);
          for (int i = 0; i < kTasks; ++i) EXPECT_EQ(runs[i], 1) << i;
        } else {
          EXPECT_THROW(ParallelFor(kTasks, 4, task, leader), std::bad_alloc);
          EXPECT_LE(afterwards, 8);  // those taking their next task as it threw, no more
        }
        RefuseThreadsAfter(-1);
        UseTaskHelpers(nullptr);
      }
    }
  }
}

}  // namespace
}  // namespace jpg2dds
