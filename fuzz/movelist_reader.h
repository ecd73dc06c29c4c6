#pragma once
// A small reader of the simulation move list for fuzzing only, written to
// the move-list rules (split a line into fields, replay it into moves),
// until the simulation's own reader is in the Qt-free code.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/numtext.h"

namespace korvane::fuzz {

struct Point3 {
  long double x = 0, y = 0, z = 0;
};

enum class MoveKind { Placement, Rapid, Feed };

struct Move {
  MoveKind kind;
  Point3 from, to;
};

class MoveListReader {
 public:
  // Replays one line; false when a field is no number (the pass stops).
  bool line(std::string_view l) {
    if (l.empty()) return true;
    const char kind = l[0];
    if (kind != '8' && kind != '0' && kind != '1') return true;
    std::string_view rest = l.size() >= 2 ? l.substr(2) : std::string_view{};
    std::string_view f1, f2, f3;
    const size_t a = rest.find(';');
    f1 = rest.substr(0, a);
    rest = a == std::string_view::npos ? std::string_view{} : rest.substr(a + 1);
    const size_t b = rest.find(';');
    if (b != std::string_view::npos) {
      f2 = rest.substr(0, b);
      f3 = rest.substr(b + 1);
    } else {
      f2 = rest;
    }
    const auto v1 = ParseNumber(f1), v2 = ParseNumber(f2);
    if (!v1 || !v2) return false;
    std::optional<long double> v3;
    if (!f3.empty()) {
      v3 = ParseNumber(f3);
      if (!v3) return false;
    }
    if (kind == '8') {
      p_ = *v1;
      r_ = *v2;
      if (!f3.empty()) z_ = *v3;
      vertical(false, p_);
    } else if (kind == '0') {
      if (plunged_) vertical(false, r_);
      horizontal(MoveKind::Rapid, *v1, *v2);
    } else {
      if (!plunged_) {
        if (height_ == p_) vertical(false, r_);
        vertical(true, z_);
      }
      horizontal(MoveKind::Feed, *v1, *v2);
    }
    return true;
  }
  const std::vector<Move>& moves() const { return moves_; }

 private:
  void vertical(bool feed, long double h) {
    const Point3 from{x_, y_, height_}, to{x_, y_, h};
    if (first_) {
      moves_.push_back({MoveKind::Placement, to, to});
      first_ = false;
    } else if (!feed) {
      moves_.push_back({MoveKind::Rapid, from, to});
    } else if (height_ != h) {
      moves_.push_back({MoveKind::Feed, from, to});
    }
    height_ = h;
    plunged_ = feed;
  }
  void horizontal(MoveKind kind, long double x, long double y) {
    moves_.push_back({kind, {x_, y_, height_}, {x, y, height_}});
    x_ = x;
    y_ = y;
  }

  long double x_ = 0, y_ = 0, height_ = 0, p_ = 0, r_ = 0, z_ = 0;
  bool plunged_ = false, first_ = true;
  std::vector<Move> moves_;
};

}  // namespace korvane::fuzz
