// Large blocks of memory (whole pictures and their encoded levels) taken
// straight from the kernel: zero-filled as they are first touched, in huge
// pages where the system allows, so that filling hundreds of megabytes costs
// few page faults and no separate pass to clear them.
#pragma once
#include <cstddef>
#include <cstdint>

namespace jpg2dds {

class LargeBuffer {
 public:
  LargeBuffer() = default;
  // Zero bytes of `size`; data() is null when they cannot be had.
  explicit LargeBuffer(size_t size);
  ~LargeBuffer();
  LargeBuffer(LargeBuffer&& other) noexcept;
  LargeBuffer& operator=(LargeBuffer&& other) noexcept;
  LargeBuffer(const LargeBuffer&) = delete;
  LargeBuffer& operator=(const LargeBuffer&) = delete;

  uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace jpg2dds
