// The fuzz input, read front to back as the device's answers. Past its end every byte reads as 0,
// and the manager answers as a device that has gone away.
#ifndef SCAN_FS_TESTS_FUZZ_REPLY_STREAM_H
#define SCAN_FS_TESTS_FUZZ_REPLY_STREAM_H

#include <cstddef>
#include <cstdint>
#include <cstring>

class ReplyStream {
 public:
  ReplyStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool exhausted() const { return position_ == size_; }

  uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }

  // Copies up to `count` bytes to `out` and returns how many there were.
  size_t Read(uint8_t* out, size_t count) {
    const size_t available = size_ - position_ < count ? size_ - position_ : count;
    if (available != 0) std::memcpy(out, data_ + position_, available);
    position_ += available;
    return available;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

#endif
