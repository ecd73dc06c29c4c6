#include "contour/linefollow.h"

#include <cmath>
#include <string>

#include "contour/pathopt.h"
#include "base/percent.h"

namespace korvane {

namespace {

constexpr long double kTolerance = 5.0L;

long double Length(const Segment& s) { return PointDistance(s.x1, s.y1, s.x2, s.y2); }

bool CanMerge(long double a1, long double a2, long double q) {
  // NaN in any operand (0/0 ratio of two zero-length segments) compares false.
  return kTolerance / q >= std::fabs(a1 - a2);
}

}  // namespace

long double DirectionValue(const Segment& a, const Segment& b) {
  const long double ax = (a.x1 + a.x2) / 2, ay = (a.y1 + a.y2) / 2;
  const long double bx = (b.x1 + b.x2) / 2, by = (b.y1 + b.y2) / 2;
  const long double dx = std::fabs(ax - bx), dy = std::fabs(ay - by);
  if (dy == 0) return 0;
  return std::rint(std::atan(dx / dy) / 3.14159265L * 360.0L);  // ties to even
}

long double LengthRatio(const Segment& a, const Segment& b) {
  const long double la = Length(a), lb = Length(b);
  return la > lb ? la / lb : lb / la;
}

bool Touches(const Segment& a, const Segment& b) {
  const long double dx = std::fabs(a.x2) - std::fabs(b.x1);
  const long double dy = std::fabs(a.y2) - std::fabs(b.y1);
  return std::rint(std::sqrt(dx * dx + dy * dy)) <= 1.42L;
}

void MergeLines(SegmentList& list, ProgressSink& progress) {
  int32_t count = list.count();
  if (count <= 3) return;
  Segment* d = list.data();
  PercentReporter reporter(progress, kLineFollowStatusText);

  // Positions are 1-based. Instead of moving the whole tail forward after each
  // merge, records after the current start `i` are read `shift` places further
  // on, and each record is moved once, when it becomes the start.
  int32_t i = 1, j = 2;
  int32_t shift = 0;
  auto at = [&](int32_t pos) -> Segment& { return pos <= i ? d[pos - 1] : d[pos - 1 + shift]; };
  auto nextStart = [&] {
    ++i;
    if (shift != 0) d[i - 1] = d[i - 1 + shift];
    j = i + 1;
  };

  while (j < count - 3) {
    reporter.report(j, count);
    const long double a1 = DirectionValue(at(i), at(j));
    ++j;
    long double a2 = DirectionValue(at(i), at(j));
    long double q = LengthRatio(at(i), at(j));
    if (!(CanMerge(a1, a2, q) && Touches(at(i), at(j - 1)) && Touches(at(j - 1), at(j)))) {
      nextStart();
      continue;
    }
    while (j < count) {
      ++j;
      a2 = DirectionValue(at(i), at(j));
      q = LengthRatio(at(i), at(j));
      if (CanMerge(a1, a2, q) && Touches(at(j - 1), at(j))) continue;
      --j;
      break;
    }
    Segment& first = at(i);
    const Segment& last = at(j);
    first.x2 = last.x2;
    first.y2 = last.y2;
    shift += j - i;
    count -= j - i;
    nextStart();
  }
  if (shift != 0) {
    for (int32_t pos = i + 1; pos <= count; ++pos) d[pos - 1] = d[pos - 1 + shift];
  }
  list.setCount(count);
}

std::string LineFollowQuestion(int32_t before, int32_t after) {
  return "Einzelwege\r\n\r\nVorher: " + std::to_string(before) + "\r\n" +
         "Jetzt : " + std::to_string(after) + "\r\n\r\n" + "Übernehmen?";
}

LineFollowResult FollowLines(SegmentList& list, ProgressSink& progress) {
  // The undo copy of a list of millions takes a second: the status line
  // names the command from its start.
  progress.report(kLineFollowStatusText, 0);
  list.saveUndo(&progress, kLineFollowStatusText);
  LineFollowResult r;
  r.countBefore = list.savedCount();
  MergeLines(list, progress);
  r.countAfter = list.count();
  r.ncRebuild = r.countAfter < r.countBefore;
  return r;
}

}  // namespace korvane
