#include "platform/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>

namespace jpg2dds {
namespace {

TEST(StartThreads, GoesOnWithTheThreadsTheSystemGives) {
  for (const auto& c : {std::pair{-1, 5}, {0, 0}, {2, 2}, {7, 5}}) {
    SCOPED_TRACE("given " + std::to_string(c.first));
    RefuseThreadsAfter(c.first);
    std::atomic<int> ran{0};
    StartedThreads threads;
    EXPECT_EQ(StartThreads(threads, 5, [&] { ++ran; }), c.second);
    JoinThreads(threads);
    RefuseThreadsAfter(-1);
    EXPECT_EQ(ran, c.second);
  }
}

TEST(RunOnOwnThread, RunsOnTheCallingThreadWhenNoneIsGiven) {
  for (int given : {-1, 0}) {
    RefuseThreadsAfter(given);
    std::thread::id ranOn;
    RunOnOwnThread([&] { ranOn = std::this_thread::get_id(); });
    RefuseThreadsAfter(-1);
    EXPECT_EQ(ranOn == std::this_thread::get_id(), given == 0);
  }
}

}  // namespace
}  // namespace jpg2dds
