#include "pipeline/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace jpg2dds {

void ParallelFor(int count, int threads, const std::function<void(int)>& task,
                 const std::function<void()>& leader) {
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
