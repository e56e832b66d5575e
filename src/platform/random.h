// The process's one random source.
#pragma once
#include <cstdint>

namespace jpg2dds {

// Uniform over [low, high], inclusive.
int32_t RandomInRange(int32_t low, int32_t high);

}  // namespace jpg2dds
