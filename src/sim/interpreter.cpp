#include "sim/interpreter.h"

namespace korvane {

void MoveInterpreter::reset() {
  toolX = toolY = height = 0;
  P = R = Z = 0;
  plunged = false;
  firstMove = true;
}

void MoveInterpreter::PaintZLinie(VerticalKind kind, long double h) {
  const Point3 from{toolX, toolY, height};
  const Point3 to{toolX, toolY, h};
  if (firstMove) {
    sink_->placement(to);
    firstMove = false;
  } else if (kind == VerticalKind::Rapid) {
    sink_->rapid(from, to);  // also when the heights are equal
  } else if (height != h) {
    sink_->feed(from, to);
  }
  height = h;
  plunged = kind == VerticalKind::Feed;
}

void MoveInterpreter::PaintLinie(long double x, long double y, bool feed) {
  if (!feed) {
    if (plunged) PaintZLinie(VerticalKind::Rapid, R);
    sink_->rapid({toolX, toolY, height}, {x, y, height});
  } else {
    if (!plunged) {
      // Only the very first approach still stands at the start height.
      if (height == P) PaintZLinie(VerticalKind::Rapid, R);
      PaintZLinie(VerticalKind::Feed, Z);
    }
    sink_->feed({toolX, toolY, height}, {x, y, height});
  }
  toolX = x;
  toolY = y;
}

void MoveInterpreter::header(long double p, long double r, const long double* z) {
  P = p;
  R = r;
  if (z) Z = *z;
  PaintZLinie(VerticalKind::Rapid, P);
}

bool MoveInterpreter::Paintway(std::string_view line, std::string* error) {
  if (line.empty()) return true;
  const char kind = line.front();
  if (kind != kHeaderKind && kind != kRapidKind && kind != kFeedKind) return true;
  const LineFields f = GetPos(line);
  if (!f.ok()) {
    if (error) *error = f.error;
    return false;
  }
  if (kind == kHeaderKind) {
    header(f.f1, f.f2, f.f3 ? &*f.f3 : nullptr);
  } else {
    PaintLinie(f.f1, f.f2, kind == kFeedKind);
  }
  return true;
}

bool MoveInterpreter::Paintway(const MoveRecord& r, const MoveList& list, std::string* error) {
  switch (r.kind) {
    case MoveKind::Header: {
      const long double z = r.hasZ ? list.headerZ(r) : 0;
      header(r.a, r.b, r.hasZ ? &z : nullptr);
      return true;
    }
    case MoveKind::Rapid:
    case MoveKind::Feed:
      PaintLinie(r.a, r.b, r.kind == MoveKind::Feed);
      return true;
    case MoveKind::Unreadable:
      if (error) *error = list.error(r);
      return false;
    case MoveKind::Other:
      return true;
  }
  return true;
}

ReplayResult ReplayMoveList(const MoveList& list, MoveInterpreter& interp, PassHooks& hooks) {
  ReplayResult result;
  const auto& records = list.records();
  for (size_t i = 0; i < records.size(); ++i) {
    if (!interp.Paintway(records[i], list, &result.error)) {
      result.ok = false;
      result.failedLine = static_cast<int64_t>(i);
      return result;
    }
    hooks.lineDone(records[i]);
    if (hooks.slowMode()) hooks.delay(hooks.pausePerLine());
    if (i % 1000 == 0) hooks.processEvents();
  }
  return result;
}

}  // namespace korvane
