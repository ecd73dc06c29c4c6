#pragma once
// Many text lines in one piece: the characters of every line, each followed
// by a line break, in one contiguous buffer, and where each line ends. Millions
// of NC or move-list lines then cost their characters and one offset each
// instead of a string object (and mostly a heap block) apiece, and the buffer
// already is the file text as written. clear() keeps the storage, so a rebuild
// fills the pages of the previous build instead of taking fresh ones.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <type_traits>

#include "base/pagebuffer.h"

namespace korvane {

class LineStore {
 public:
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    const_iterator() = default;
    std::string_view operator*() const { return (*store_)[index_]; }
    std::string_view operator[](difference_type n) const {
      return (*store_)[index_ + static_cast<size_t>(n)];
    }
    const_iterator& operator++() { return ++index_, *this; }
    const_iterator operator++(int) { const_iterator t = *this; ++index_; return t; }
    const_iterator& operator--() { return --index_, *this; }
    const_iterator operator--(int) { const_iterator t = *this; --index_; return t; }
    const_iterator& operator+=(difference_type n) {
      index_ += static_cast<size_t>(n);
      return *this;
    }
    const_iterator& operator-=(difference_type n) { return *this += -n; }
    friend const_iterator operator+(const_iterator i, difference_type n) { return i += n; }
    friend const_iterator operator+(difference_type n, const_iterator i) { return i += n; }
    friend const_iterator operator-(const_iterator i, difference_type n) { return i -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.index_ == b.index_;
    }
    friend auto operator<=>(const const_iterator& a, const const_iterator& b) {
      return a.index_ <=> b.index_;
    }

   private:
    friend class LineStore;
    const_iterator(const LineStore* store, size_t index) : store_(store), index_(index) {}
    const LineStore* store_ = nullptr;
    size_t index_ = 0;
  };
  using iterator = const_iterator;
  using value_type = std::string_view;
  using size_type = size_t;

  LineStore() = default;
  LineStore(std::initializer_list<std::string_view> lines);
  // A copy of any list of lines (strings, views).
  template <class Lines>
    requires(!std::is_same_v<Lines, LineStore>)
  explicit LineStore(const Lines& lines) {
    for (const auto& line : lines) push_back(line);
  }
  LineStore(const LineStore& other);
  LineStore& operator=(const LineStore& other);
  LineStore(LineStore&& other) noexcept;
  LineStore& operator=(LineStore&& other) noexcept;

  size_t size() const { return lines_; }
  bool empty() const { return lines_ == 0; }
  // Line i without its line break.
  std::string_view operator[](size_t i) const {
    const size_t begin = i == 0 ? 0 : ends()[i - 1];
    return {text_.data() + begin, ends()[i] - begin - 1};
  }
  std::string_view front() const { return (*this)[0]; }
  std::string_view back() const { return (*this)[lines_ - 1]; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, lines_}; }

  void push_back(std::string_view line);
  // Drops every line; the storage stays for the next fill.
  void clear() {
    lines_ = 0;
    chars_ = 0;
  }
  // Room for `lines` lines of `chars` characters in all (line breaks included).
  void reserve(size_t lines, size_t chars);

  // Every line followed by "\n": the text of the file these lines make.
  std::string_view text() const { return {text_.data(), chars_}; }

  friend bool operator==(const LineStore& a, const LineStore& b);

 private:
  const size_t* ends() const { return reinterpret_cast<const size_t*>(ends_.data()); }
  size_t* ends() { return reinterpret_cast<size_t*>(ends_.data()); }

  PageBuffer text_;  // chars_ bytes used
  PageBuffer ends_;  // lines_ offsets used: the end of each line, after its break
  size_t chars_ = 0;
  size_t lines_ = 0;
};

}  // namespace korvane
