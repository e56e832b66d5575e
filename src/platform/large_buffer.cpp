#include "platform/large_buffer.h"

#include <sys/mman.h>

#include <utility>

namespace jpg2dds {

LargeBuffer::LargeBuffer(size_t size) {
  if (size == 0) return;
  void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) return;
  // Only a hint: without huge pages the buffer works all the same.
  madvise(block, size, MADV_HUGEPAGE);
  data_ = static_cast<uint8_t*>(block);
  size_ = size;
}

LargeBuffer::~LargeBuffer() {
  if (data_) munmap(data_, size_);
}

LargeBuffer::LargeBuffer(LargeBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

LargeBuffer& LargeBuffer::operator=(LargeBuffer&& other) noexcept {
  if (this != &other) {
    if (data_) munmap(data_, size_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

}  // namespace jpg2dds
