#pragma once
// Growable byte buffer: storage is allocated on the first write and doubles from the initial
// capacity whenever a write does not fit.
#include <cstdint>

class MemoryStream {
 public:
  explicit MemoryStream(int32_t initialCapacity = 1024);
  virtual ~MemoryStream();
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  // Stores length bytes at the position; false (nothing stored) when length <= 0 or the
  // buffer cannot grow far enough.
  bool Write(int32_t length, const void* data);
  // Copies up to length bytes from the position; the count copied, 0 when nothing is left.
  int32_t Read(void* buffer, int32_t length);
  // Doubles the capacity (or allocates the initial capacity); false keeps the old buffer.
  bool Grow();

  void Seek(int32_t position);
  const uint8_t* Data() const { return buffer_; }
  int32_t Size() const { return size_; }
  int32_t Position() const { return position_; }
  int32_t Capacity() const { return capacity_; }

 private:
  uint8_t* buffer_ = nullptr;
  int32_t size_ = 0;
  int32_t position_ = 0;
  int32_t capacity_ = 0;
  int32_t initialCapacity_;
};
