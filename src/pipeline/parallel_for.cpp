#include "pipeline/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace jpg2dds {

void ParallelFor(int count, int threads, const std::function<void(int)>& task) {
  const int workers = std::min(count, threads);
  if (workers < 2) {
    for (int i = 0; i < count; ++i) task(i);
    return;
  }
  std::atomic<int> next{0};
  auto work = [&] {
    for (int i; (i = next.fetch_add(1)) < count;) task(i);
  };
  std::vector<std::thread> helpers;
  helpers.reserve(static_cast<size_t>(workers - 1));
  for (int t = 1; t < workers; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();
}

}  // namespace jpg2dds
