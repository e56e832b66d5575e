#include "platform/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <new>
#include <vector>

#include "platform/threads.h"

namespace jpg2dds {
namespace {

constexpr int kTasks = 200;

// Every task runs once on the threads there are, the calling one alone if
// need be, before and after a leader that the first tasks wait for; run by
// the threads of a batch (helpers) or by threads of its own.
TEST(ParallelFor, EveryTaskOnceWhateverThreadsTheSystemGives) {
  for (bool withHelpers : {false, true}) {
    for (int given : {-1, 0, 1, 2}) {
      SCOPED_TRACE(std::string(withHelpers ? "helpers, given " : "given ") + std::to_string(given));
      std::vector<std::atomic<int>> runs(kTasks);
      std::atomic<bool> led{false};
      TaskHelpers helpers;
      UseTaskHelpers(withHelpers ? &helpers : nullptr);
      RefuseThreadsAfter(given);
      ParallelFor(
          kTasks, 8,
          [&](int i) {
            while (i < 8 && !led) std::this_thread::yield();
            ++runs[i];
          },
          [&] { led = true; });
      RefuseThreadsAfter(-1);
      UseTaskHelpers(nullptr);
      for (int i = 0; i < kTasks; ++i) EXPECT_EQ(runs[i], 1) << i;
    }
  }
}

// Memory that runs out in a task or in the leader reaches the caller once
// the running tasks have ended; the tasks not begun are given up.
TEST(ParallelFor, MemoryThatRunsOutReachesTheCaller) {
  for (bool withHelpers : {false, true}) {
    for (int threads : {1, 4}) {
      for (int thrower : {-1, 0, 57, kTasks - 1}) {  // -1: the leader
        SCOPED_TRACE(std::to_string(threads) + " threads, thrower " + std::to_string(thrower));
        std::atomic<int> running{0}, ranAfterwards{0};
        std::atomic<bool> thrown{false};
        TaskHelpers helpers;
        UseTaskHelpers(withHelpers ? &helpers : nullptr);
        const auto call = [&] {
          ParallelFor(
              kTasks, threads,
              [&](int i) {
                ++running;
                if (thrown) ++ranAfterwards;
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                if (i == thrower) {
                  thrown = true;
                  --running;
                  throw std::bad_alloc();
                }
                --running;
              },
              [&] {
                if (thrower < 0) throw std::bad_alloc();
              });
        };
        EXPECT_THROW(call(), std::bad_alloc);
        UseTaskHelpers(nullptr);
        EXPECT_EQ(running, 0);
        // Those that were taking their next task as it threw, no more.
        EXPECT_LE(ranAfterwards, 2 * threads);
      }
    }
  }
}

}  // namespace
}  // namespace jpg2dds
