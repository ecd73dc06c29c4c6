#include "base/pagebuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <new>
#include <utility>

namespace korvane {

namespace {

constexpr size_t kHugeBlock = size_t{4} << 20;

size_t PageSize() {
  static const size_t size = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  return size;
}

// `bytes` rounded up to whole pages; 0 when that overflows.
size_t WholePages(size_t bytes) {
  const size_t page = PageSize();
  if (bytes > static_cast<size_t>(-1) - page) return 0;
  return (bytes + page - 1) / page * page;
}

// A block of `bytes` (whole pages), the old contents moved into it; null
// when the system refuses.
char* Remap(char* old, size_t oldBytes, size_t bytes) {
  void* p = old == nullptr
                ? ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                : ::mremap(old, oldBytes, bytes, MREMAP_MAYMOVE);
  if (p == MAP_FAILED) return nullptr;
  // Large blocks take huge pages where the system offers them on request:
  // a first touch then costs one fault per 2 MiB instead of one per page,
  // for at most one partly used huge page more in memory.
  if (bytes >= kHugeBlock) ::madvise(p, bytes, MADV_HUGEPAGE);
  return static_cast<char*>(p);
}

}  // namespace

PageBuffer::PageBuffer(PageBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}

PageBuffer& PageBuffer::operator=(PageBuffer&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

PageBuffer::~PageBuffer() { release(); }

void PageBuffer::grow(size_t bytes, size_t preferred) {
  if (bytes <= capacity_) return;
  // The larger size is only address space until written; when the system
  // will not reserve that much, the size asked for may still fit.
  for (size_t want : {preferred, bytes}) {
    if (want < bytes) continue;
    const size_t rounded = WholePages(want);
    if (rounded == 0) continue;
    if (char* p = Remap(data_, capacity_, rounded)) {
      data_ = p;
      capacity_ = rounded;
      return;
    }
  }
  throw std::bad_alloc();
}

void PageBuffer::release() {
  if (data_ != nullptr) ::munmap(data_, capacity_);
  data_ = nullptr;
  capacity_ = 0;
}

}  // namespace korvane
