#pragma once
// The simulation move list: the builder's second output beside the NC
// program, in a fixed text form that the graphic view replays. This file owns
// the form in both directions: the writer functions give the exact lines the
// builder appends, GetPos reads one line back, and MoveList keeps the lines as
// parsed records so that a drawing pass never parses text.
//
//   "8;0;" R ";" Z   header line (R and Z exactly as typed)
//   "0;" X ";" Y     rapid line: the first point of a path
//   "1;" X ";" Y     feed line: the end point of a segment
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/linestore.h"

namespace korvane {

constexpr char kHeaderKind = '8';
constexpr char kRapidKind = '0';
constexpr char kFeedKind = '1';

// Writer. X and Y in fixed notation with three decimals.
std::string HeaderLine(std::string_view retractText, std::string_view depthText);
std::string RapidLine(long double x, long double y);
std::string FeedLine(long double x, long double y);

// The fields of one line as read: field 1 and 2 always, field 3 only when its
// text is not empty. `error` is set (the conversion error text of the first
// field that is not a number) when the reading stopped.
struct LineFields {
  long double f1 = 0, f2 = 0;
  std::optional<long double> f3;
  std::string error;
  bool ok() const { return error.empty(); }
};

// Splits a line after its first two characters into up to three ";"
// separated fields and reads them as numbers.
LineFields GetPos(std::string_view line);

enum class MoveKind : uint8_t { Header, Rapid, Feed, Other, Unreadable };

// One parsed line. Header: a = P, b = R, the Z of the line (when it has one)
// in the list's side table. Rapid and feed: a = X, b = Y. `source` is the
// line's index in the list; a later mapping turns it into an NC line.
struct MoveRecord {
  long double a = 0, b = 0;
  int32_t source = 0;
  uint32_t extra = 0;  // header: index of its Z; unreadable: index of its error
  MoveKind kind = MoveKind::Other;
  bool hasZ = false;
};

class MoveList {
 public:
  MoveList() = default;
  explicit MoveList(const LineStore& lines) { assign(lines); }

  void assign(const LineStore& lines);
  void clear();
  void append(std::string_view line);
  void reserve(size_t lines) { records_.reserve(lines); }

  const std::vector<MoveRecord>& records() const { return records_; }
  size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  long double headerZ(const MoveRecord& r) const { return headerZ_[r.extra]; }
  const std::string& error(const MoveRecord& r) const { return errors_[r.extra]; }
  // Memory held by the parsed form (records and side tables), in bytes.
  size_t memoryBytes() const;

 private:
  std::vector<MoveRecord> records_;
  std::vector<long double> headerZ_;
  std::vector<std::string> errors_;
};

}  // namespace korvane
