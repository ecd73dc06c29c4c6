#include "base/linestore.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace korvane {

namespace {

// Doubling, from a start worth a page or two; the part not written is only
// address space.
constexpr size_t kFirstBytes = 64 * 1024;

void GrowTo(PageBuffer& buffer, size_t bytes) {
  if (bytes > buffer.capacity())
    buffer.grow(bytes, std::max({bytes, 2 * buffer.capacity(), kFirstBytes}));
}

}  // namespace

LineStore::LineStore(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) push_back(line);
}

LineStore::LineStore(const LineStore& other) { *this = other; }

LineStore& LineStore::operator=(const LineStore& other) {
  if (this == &other) return *this;
  clear();
  reserve(other.lines_, other.chars_);
  if (other.chars_ > 0) std::memcpy(text_.data(), other.text_.data(), other.chars_);
  if (other.lines_ > 0) std::memcpy(ends(), other.ends(), other.lines_ * sizeof(size_t));
  chars_ = other.chars_;
  lines_ = other.lines_;
  return *this;
}

LineStore::LineStore(LineStore&& other) noexcept
    : text_(std::move(other.text_)),
      ends_(std::move(other.ends_)),
      chars_(std::exchange(other.chars_, 0)),
      lines_(std::exchange(other.lines_, 0)) {}

LineStore& LineStore::operator=(LineStore&& other) noexcept {
  if (this != &other) {
    text_ = std::move(other.text_);
    ends_ = std::move(other.ends_);
    chars_ = std::exchange(other.chars_, 0);
    lines_ = std::exchange(other.lines_, 0);
  }
  return *this;
}

void LineStore::reserve(size_t lines, size_t chars) {
  GrowTo(text_, chars);
  GrowTo(ends_, lines * sizeof(size_t));
}

void LineStore::push_back(std::string_view line) {
  const size_t end = chars_ + line.size() + 1;
  GrowTo(text_, end);
  GrowTo(ends_, (lines_ + 1) * sizeof(size_t));
  char* at = text_.data() + chars_;
  if (!line.empty()) std::memcpy(at, line.data(), line.size());
  at[line.size()] = '\n';
  chars_ = end;
  ends()[lines_++] = end;
}

bool operator==(const LineStore& a, const LineStore& b) {
  return a.lines_ == b.lines_ && a.text() == b.text() &&
         std::equal(a.ends(), a.ends() + a.lines_, b.ends());
}

}  // namespace korvane
