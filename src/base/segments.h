#pragma once
// The segment list: the live list of straight segments a contour method
// produces, plus an undo copy for operations the user may refuse.
//
// The list keeps the observable behaviour of a three-bank store (live, builder
// snapshot, undo) without paying for whole-bank copies: copies move only the
// valid records, and storage grows past the classic 100,000 records instead of
// overrunning. Storage costs memory only where records have been written.
#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "base/interaction.h"
#include "base/pagebuffer.h"

namespace korvane {

struct Segment {
  long double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  bool done = false;
};
// The list's storage hands out zero pages as records never written: that is
// a Segment as value-initialised, and records are copied as bytes.
static_assert(std::is_trivially_copyable_v<Segment>);

class SegmentList {
 public:
  static constexpr int32_t kBankSize = 100000;

  SegmentList() { reserve(kBankSize); }
  SegmentList(const SegmentList& other);
  SegmentList& operator=(const SegmentList& other);
  SegmentList(SegmentList&&) noexcept = default;
  SegmentList& operator=(SegmentList&&) noexcept = default;

  int32_t count() const { return count_; }
  bool empty() const { return count_ == 0; }
  Segment& operator[](int32_t i) { return data()[static_cast<size_t>(i)]; }
  const Segment& operator[](int32_t i) const { return data()[static_cast<size_t>(i)]; }
  Segment* data() { return reinterpret_cast<Segment*>(store_.data()); }
  const Segment* data() const { return reinterpret_cast<const Segment*>(store_.data()); }

  void clear() { count_ = 0; }
  // Append a record at index count and grow the count (done is false).
  void append(long double x1, long double y1, long double x2, long double y2) {
    if (count_ == capacity()) Grow(count_ + 1);
    Segment& s = data()[static_cast<size_t>(count_++)];
    if (count_ > used_) used_ = count_;
    s.x1 = x1;
    s.y1 = y1;
    s.x2 = x2;
    s.y2 = y2;
    s.done = false;
  }
  void append(const Segment& s) {
    append(s.x1, s.y1, s.x2, s.y2);
    data()[static_cast<size_t>(count_ - 1)].done = s.done;
  }
  // Set the count directly (dropping records, or re-exposing leftovers that a
  // caller has just written). Storage grows when needed; records past the
  // count keep their values, and records never written are zero.
  void setCount(int32_t n) {
    reserve(n);
    count_ = n;
    if (n > used_) used_ = n;
  }
  // Room for n records. Capacity that no record has reached costs address
  // space only, so growing (by doubling) neither writes nor copies records.
  void reserve(int32_t n) {
    if (n > capacity()) Grow(n);
  }

  // Undo bank: a copy of the valid records and the count at that moment.
  // With `progress`, a copy of millions of records goes in pieces, each
  // followed by a report of `text` at 0 %, so the window keeps answering.
  void saveUndo(ProgressSink* progress = nullptr, const std::string& text = std::string()) {
    if (undoKept_) {
      undo_.clear();
      undo_.reserve(static_cast<size_t>(count_));
      constexpr int32_t kPiece = 1 << 18;
      for (int32_t i = 0; i < count_; i += kPiece) {
        const int32_t end = count_ - i > kPiece ? i + kPiece : count_;
        undo_.insert(undo_.end(), data() + i, data() + end);
        if (progress) progress->report(text, 0);
      }
      ++undoSerial_;
    }
    saved_ = count_;
  }
  // Counts the undo copies taken, so that a caller can tell whether an
  // operation that failed half-way had taken its copy (and may restore it).
  uint64_t undoSerial() const { return undoSerial_; }
  // A run that never restores (korvane-cli's tracing: its answers are fixed)
  // switches the copies off; saveUndo then records only the count, and a
  // million-record list is not held twice. Either switch drops the copy held.
  void setUndoKept(bool kept) {
    undoKept_ = kept;
    std::vector<Segment>().swap(undo_);
    saved_ = 0;
  }
  // Gives the copy's memory back once the operation that took it has been
  // decided; the saved count stays. The next saveUndo takes a fresh copy.
  void releaseUndoCopy() { std::vector<Segment>().swap(undo_); }
  void restoreUndo() {
    if (!undoKept_) throw std::logic_error("the segment list keeps no undo copy");
    if (undo_.size() < static_cast<size_t>(saved_))
      throw std::logic_error("the undo copy has been released");
    reserve(saved_);
    std::copy(undo_.begin(), undo_.begin() + saved_, data());
    setCount(saved_);
  }
  int32_t savedCount() const { return saved_; }
  const std::vector<Segment>& undoBank() const { return undo_; }

 private:
  int32_t capacity() const;
  void Grow(int32_t n);

  PageBuffer store_;
  std::vector<Segment> undo_;
  int32_t count_ = 0;
  int32_t used_ = 0;  // the highest count held: records from here on were never exposed
  int32_t saved_ = 0;
  uint64_t undoSerial_ = 0;
  bool undoKept_ = true;
};

struct BoundingRect {
  long double minX = 999999999999.0L, maxX = -999999999999.0L;
  long double minY = 999999999999.0L, maxY = -999999999999.0L;
};

// Bounding rectangle over the valid records; an empty list keeps the start values.
BoundingRect FindWayRect(const SegmentList& list);

}  // namespace korvane
