#pragma once
// Raw storage for large lists that grows without touching what it has not
// used: capacity comes from the system as zero pages that cost no memory
// until written, and growing remaps the pages instead of copying them, so a
// doubling neither holds the old and the new block at once nor writes the
// new half. The segment list and the line store keep their records here.
#include <cstddef>

namespace korvane {

class PageBuffer {
 public:
  PageBuffer() = default;
  PageBuffer(const PageBuffer&) = delete;
  PageBuffer& operator=(const PageBuffer&) = delete;
  PageBuffer(PageBuffer&& other) noexcept;
  PageBuffer& operator=(PageBuffer&& other) noexcept;
  ~PageBuffer();

  char* data() { return data_; }
  const char* data() const { return data_; }
  size_t capacity() const { return capacity_; }

  // Makes room for at least `bytes`, preferring `preferred` when the system
  // gives that much. Contents stay; bytes never written read as zero. The
  // block may move. Throws std::bad_alloc when even `bytes` cannot be had.
  void grow(size_t bytes, size_t preferred);
  // Gives the pages back; capacity 0.
  void release();

 private:
  char* data_ = nullptr;
  size_t capacity_ = 0;
};

}  // namespace korvane
