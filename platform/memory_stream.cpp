#include "platform/memory_stream.h"

#include <cstdlib>
#include <cstring>
#include <limits>

MemoryStream::MemoryStream(int32_t initialCapacity)
    : initialCapacity_(initialCapacity > 0 ? initialCapacity : 1024) {}

MemoryStream::~MemoryStream() { std::free(buffer_); }

bool MemoryStream::Grow() {
  int64_t wanted = buffer_ ? int64_t{capacity_} * 2 : initialCapacity_;
  if (wanted > std::numeric_limits<int32_t>::max()) return false;
  if (wanted <= capacity_) return false;
  void* grown = std::realloc(buffer_, static_cast<size_t>(wanted));
  if (!grown) return false;
  buffer_ = static_cast<uint8_t*>(grown);
  capacity_ = static_cast<int32_t>(wanted);
  return true;
}

bool MemoryStream::Write(int32_t length, const void* data) {
  if (length <= 0 || !data) return false;
  int64_t end = int64_t{position_} + length;
  if (end > std::numeric_limits<int32_t>::max()) return false;
  while (!buffer_ || end > capacity_) {
    if (!Grow()) return false;
  }
  std::memcpy(buffer_ + position_, data, static_cast<size_t>(length));
  position_ = static_cast<int32_t>(end);
  if (position_ > size_) size_ = position_;
  return true;
}

int32_t MemoryStream::Read(void* buffer, int32_t length) {
  if (length <= 0 || !buffer || position_ >= size_) return 0;
  int32_t count = size_ - position_ < length ? size_ - position_ : length;
  std::memcpy(buffer, buffer_ + position_, static_cast<size_t>(count));
  position_ += count;
  return count;
}

void MemoryStream::Seek(int32_t position) {
  if (position < 0) position = 0;
  if (position > size_) position = size_;
  position_ = position;
}
