#include "platform/random.h"

#include <mutex>
#include <random>

namespace jpg2dds {

int32_t RandomInRange(int32_t low, int32_t high) {
  static std::mt19937 engine{std::random_device{}()};
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  return std::uniform_int_distribution<int32_t>(low, high)(engine);
}

}  // namespace jpg2dds
