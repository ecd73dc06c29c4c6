#pragma once
// A drawing surface that keeps every move and pen operation it receives.
#include <string>
#include <vector>

#include "sim/interpreter.h"
#include "sim/stock.h"

namespace korvane::testing {

struct Move {
  char type;  // 'P' placement, 'R' rapid, 'F' feed
  Point3 from, to;
  bool operator==(const Move&) const = default;
};

class RecordingSink : public MoveSink {
 public:
  void placement(const Point3& at) override { moves.push_back({'P', at, at}); }
  void rapid(const Point3& a, const Point3& b) override { moves.push_back({'R', a, b}); }
  void feed(const Point3& a, const Point3& b) override { moves.push_back({'F', a, b}); }
  std::vector<Move> moves;
};

struct PenOp {
  bool line;  // LineTo3D, else MoveTo3D
  Point3 at;
  bool operator==(const PenOp&) const = default;
};

class RecordingPen : public PenSurface3D {
 public:
  void MoveTo3D(long double x, long double y, long double z) override {
    ops.push_back({false, {x, y, z}});
  }
  void LineTo3D(long double x, long double y, long double z) override {
    ops.push_back({true, {x, y, z}});
  }
  std::vector<PenOp> ops;
};

}  // namespace korvane::testing
