#include "contour/pathopt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "base/percent.h"
#include "base/numtext.h"

namespace korvane {

namespace {

// Start value of the search: a gap must be smaller to be taken at all.
constexpr long double kSearchStart = 999999999999999.0L;

void Reverse(Segment& s) {
  std::swap(s.x1, s.x2);
  std::swap(s.y1, s.y2);
}

// The winner so far: smallest gap, then earliest list position, then forward
// before reversed, packed as key = position * 2 + reversed.
struct Best {
  long double dist = kSearchStart;
  uint64_t key = UINT64_MAX;
  uint32_t tag = 0;  // record * 2 + reversed
  bool found = false;

  bool offer(long double d, uint64_t k, uint32_t t) {
    if (d < dist || (found && d == dist && k < key)) {
      dist = d;
      key = k;
      tag = t;
      found = true;
      return true;
    }
    return false;
  }
};

// Static k-d tree over the start points (and, with reversal, the end points)
// of the records. Every node keeps a lower bound of the list positions of its
// live points (kNone when it has none), so that empty regions cost nothing
// however the remaining records are spread, and so that a region whose points
// could at best tie with the winner, but all lie later in the list, is skipped
// too. The bound is the smallest record number: a waiting record is only ever
// moved to a later position (to where the chosen one stood), so its position
// never falls below its number.
//
// Coordinates in the tree are doubles used to prune with a margin `tol_` far
// above the double rounding; every gap that can win is computed exactly from
// the 80-bit record, so the winner is the one the plain search finds. When all
// coordinates are exact doubles (pixel coordinates are), the box bounds are
// exact as well and give a lower bound of the exact gap, which is what the
// tie test needs.
class EndpointTree {
 public:
  // `alive` hears of the work while the tree of a large list is built.
  EndpointTree(const Segment* recs, int32_t n, bool withEnds, double maxAbs, bool exactDoubles,
               KeepAlive& alive)
      : recs_(recs), withEnds_(withEnds), exact_(exactDoubles), tol_(1e-9 * (1.0 + maxAbs)),
        alive_(alive) {
    const size_t tags = static_cast<size_t>(n) * 2;
    leafOfTag_.assign(tags, -1);
    pts_.reserve(withEnds ? tags : static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
      alive_.add(1, 0);
      const Segment& s = recs[i];
      const uint32_t t = static_cast<uint32_t>(i) * 2;
      pts_.push_back({static_cast<double>(s.x1), static_cast<double>(s.y1), t, i});
      if (withEnds) {
        pts_.push_back({static_cast<double>(s.x2), static_cast<double>(s.y2), t + 1, i});
      }
    }
    if (pts_.empty()) return;
    // Leaves hold at least kLeafSize / 2 points, and a binary tree has one node
    // fewer than twice its leaves.
    nodes_.reserve(2 * (pts_.size() / (kLeafSize / 2) + 1));
    nodes_.emplace_back();
    Build(0, 0, static_cast<int32_t>(pts_.size()));
  }

  // The record leaves the candidates.
  void Remove(int32_t id) {
    for (uint32_t r = 0; r < (withEnds_ ? 2u : 1u); ++r) {
      const uint32_t tag = static_cast<uint32_t>(id) * 2 + r;
      const int32_t leaf = leafOfTag_[tag];
      if (leaf < 0) continue;
      leafOfTag_[tag] = -1;
      Node& ln = nodes_[static_cast<size_t>(leaf)];
      int32_t m = kNone;
      for (int32_t p = ln.lo; p < ln.hi; ++p) {
        Point& pt = pts_[static_cast<size_t>(p)];
        if (pt.tag == tag) pt.id = kNone;
        m = std::min(m, pt.id);
      }
      ln.minPos = m;
      for (int32_t nd = ln.parent; nd >= 0; nd = nodes_[static_cast<size_t>(nd)].parent) {
        Node& up = nodes_[static_cast<size_t>(nd)];
        const int32_t v = std::min(nodes_[static_cast<size_t>(up.left)].minPos,
                                   nodes_[static_cast<size_t>(up.left) + 1].minPos);
        if (v == up.minPos) break;
        up.minPos = v;
      }
    }
  }

  void Search(long double qx, long double qy, const std::vector<int32_t>& pos, Best& best) const {
    if (nodes_.empty()) return;
    Query q{qx, qy, static_cast<double>(qx), static_cast<double>(qy), &pos, &best, 0};
    q.limit2 = Limit2(best);
    Visit(0, q);
  }

 private:
  static constexpr int32_t kLeafSize = 8;
  static constexpr int32_t kNone = INT32_MAX;

  struct Point {
    double x, y;
    uint32_t tag;
    int32_t id;  // the record, kNone once it has left
  };
  struct Node {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    int32_t lo = 0, hi = 0;
    int32_t left = -1;  // children are left and left + 1; -1 for a leaf
    int32_t parent = -1;
    int32_t minPos = kNone;  // never above the list position of a live point
  };
  struct Query {
    long double x, y;  // exact query point
    double dx, dy;     // its double for pruning
    const std::vector<int32_t>* pos;
    Best* best;
    double limit2;  // squared pruning radius: best gap plus margin
  };

  double Limit2(const Best& best) const {
    const double l = static_cast<double>(best.dist) + tol_;
    return l * l;
  }

  static double BoxDist2(const Node& nd, double x, double y) {
    const double dx = x < nd.minX ? nd.minX - x : (x > nd.maxX ? x - nd.maxX : 0.0);
    const double dy = y < nd.minY ? nd.minY - y : (y > nd.maxY ? y - nd.maxY : 0.0);
    return dx * dx + dy * dy;
  }

  // Gap from the query to the box, computed like PointDistance from exact
  // bounds: rounding is monotonic, so it is never above the gap of a point in
  // the box.
  static long double ExactBoxDist(const Node& nd, long double x, long double y) {
    long double dx = 0, dy = 0;
    if (x < nd.minX) dx = static_cast<long double>(nd.minX) - x;
    if (x > nd.maxX) dx = x - static_cast<long double>(nd.maxX);
    if (y < nd.minY) dy = static_cast<long double>(nd.minY) - y;
    if (y > nd.maxY) dy = y - static_cast<long double>(nd.maxY);
    if (dx == 0) return dy;
    if (dy == 0) return dx;
    return std::sqrt(dx * dx + dy * dy);
  }

  // Whether a point of the box might still win.
  bool MayWin(const Node& nd, const Query& q) const {
    if (nd.minPos == kNone) return false;
    const double lb2 = BoxDist2(nd, q.dx, q.dy);
    if (lb2 > q.limit2) return false;
    const Best& b = *q.best;
    if (exact_ && b.found && static_cast<uint64_t>(nd.minPos) * 2 > b.key) {
      // Every point here comes later in the list: only a strictly smaller gap
      // wins. Clearly nearer boxes need no exact test.
      const double sure = static_cast<double>(b.dist) - tol_;
      if (sure > 0 && lb2 < sure * sure) return true;
      return ExactBoxDist(nd, q.x, q.y) < b.dist;
    }
    return true;
  }

  void Build(int32_t idx, int32_t lo, int32_t hi) {
    alive_.add(hi - lo, 0);
    double minX = pts_[static_cast<size_t>(lo)].x, maxX = minX;
    double minY = pts_[static_cast<size_t>(lo)].y, maxY = minY;
    int32_t minPos = kNone;
    for (int32_t p = lo; p < hi; ++p) {
      const Point& pt = pts_[static_cast<size_t>(p)];
      minX = std::min(minX, pt.x);
      maxX = std::max(maxX, pt.x);
      minY = std::min(minY, pt.y);
      maxY = std::max(maxY, pt.y);
      minPos = std::min(minPos, pt.id);
    }
    {
      Node& nd = nodes_[static_cast<size_t>(idx)];
      nd.minX = minX;
      nd.maxX = maxX;
      nd.minY = minY;
      nd.maxY = maxY;
      nd.lo = lo;
      nd.hi = hi;
      nd.minPos = minPos;
    }
    if (hi - lo <= kLeafSize) {
      for (int32_t p = lo; p < hi; ++p) leafOfTag_[pts_[static_cast<size_t>(p)].tag] = idx;
      return;
    }
    const int32_t mid = lo + (hi - lo) / 2;
    auto first = pts_.begin() + lo, nth = pts_.begin() + mid, last = pts_.begin() + hi;
    if (maxX - minX >= maxY - minY) {
      std::nth_element(first, nth, last, [](const Point& a, const Point& b) { return a.x < b.x; });
    } else {
      std::nth_element(first, nth, last, [](const Point& a, const Point& b) { return a.y < b.y; });
    }
    const int32_t left = static_cast<int32_t>(nodes_.size());
    nodes_.emplace_back();
    nodes_.emplace_back();
    nodes_[static_cast<size_t>(idx)].left = left;
    nodes_[static_cast<size_t>(left)].parent = idx;
    nodes_[static_cast<size_t>(left) + 1].parent = idx;
    Build(left, lo, mid);
    Build(left + 1, mid, hi);
  }

  void Visit(int32_t idx, Query& q) const {
    const Node& nd = nodes_[static_cast<size_t>(idx)];
    if (nd.left < 0) {
      for (int32_t p = nd.lo; p < nd.hi; ++p) {
        const Point& pt = pts_[static_cast<size_t>(p)];
        if (pt.id == kNone) continue;
        const double ex = pt.x - q.dx, ey = pt.y - q.dy;
        if (ex * ex + ey * ey > q.limit2) continue;
        const Segment& s = recs_[pt.tag >> 1];
        const bool rev = (pt.tag & 1) != 0;
        const long double d =
            rev ? PointDistance(q.x, q.y, s.x2, s.y2) : PointDistance(q.x, q.y, s.x1, s.y1);
        if (d > q.best->dist) continue;
        const uint64_t key =
            static_cast<uint64_t>((*q.pos)[static_cast<size_t>(pt.id)]) * 2 + (rev ? 1 : 0);
        if (q.best->offer(d, key, pt.tag)) q.limit2 = Limit2(*q.best);
      }
      return;
    }
    const int32_t a = nd.left, b = nd.left + 1;
    const double da = BoxDist2(nodes_[static_cast<size_t>(a)], q.dx, q.dy);
    const double db = BoxDist2(nodes_[static_cast<size_t>(b)], q.dx, q.dy);
    const int32_t near = db < da ? b : a, far = db < da ? a : b;
    // The winner may improve in the near child, so the far one is tested after.
    if (MayWin(nodes_[static_cast<size_t>(near)], q)) Visit(near, q);
    if (MayWin(nodes_[static_cast<size_t>(far)], q)) Visit(far, q);
  }

  const Segment* recs_;
  bool withEnds_;
  bool exact_;
  double tol_;
  std::vector<Point> pts_;
  std::vector<Node> nodes_;
  std::vector<int32_t> leafOfTag_;
  KeepAlive& alive_;
};

// The search as stated, scanning every remaining record; used for lists with
// non-finite or astronomically large coordinates, where the tree's double
// pruning would not be exact.
void OptimizePlain(Segment* d, int32_t n, bool allowSwap, PercentReporter& progress) {
  for (int32_t k = 0; k + 1 < n; ++k) {
    progress.report(k + 1, n);
    if (d[k].done) continue;
    d[k].done = true;
    long double best = kSearchStart;
    int32_t m = -1;
    bool reversed = false;
    for (int32_t t = k + 1; t < n; ++t) {
      if (d[t].done) continue;
      const long double g = PointDistance(d[k].x2, d[k].y2, d[t].x1, d[t].y1);
      if (g < best) {
        best = g;
        m = t;
        reversed = false;
        if (best == 0) break;
      }
      if (allowSwap) {
        const long double r = PointDistance(d[k].x2, d[k].y2, d[t].x2, d[t].y2);
        if (r < best) {
          best = r;
          m = t;
          reversed = true;
          if (best == 0) break;
        }
      }
    }
    if (m < 0) continue;
    if (reversed) Reverse(d[m]);
    if (k + 1 < m) std::swap(d[m], d[k + 1]);
  }
}

void OptimizeWithTree(Segment* d, int32_t n, bool allowSwap, double maxAbs, bool exactDoubles,
                      PercentReporter& progress, KeepAlive& alive) {
  // Building the tree and moving the records take seconds on a list of
  // millions, before the first and after the last percent.
  EndpointTree tree(d, n, allowSwap, maxAbs, exactDoubles, alive);
  // The records stay where they are while the order is found: perm[p] is the
  // record now at position p, pos its inverse; reversed marks records to flip.
  std::vector<int32_t> perm(static_cast<size_t>(n)), pos(static_cast<size_t>(n));
  std::iota(perm.begin(), perm.end(), 0);
  std::iota(pos.begin(), pos.end(), 0);
  std::vector<uint8_t> reversed(static_cast<size_t>(n), 0);

  for (int32_t k = 0; k + 1 < n; ++k) {
    progress.report(k + 1, n);
    const int32_t cur = perm[static_cast<size_t>(k)];
    tree.Remove(cur);
    const Segment& c = d[cur];
    const bool cr = reversed[static_cast<size_t>(cur)] != 0;
    const long double ex = cr ? c.x1 : c.x2, ey = cr ? c.y1 : c.y2;

    // The record right after the current one is the earliest candidate: its
    // forward gap bounds the search, and a gap of 0 settles it at once.
    Best best;
    const int32_t next = perm[static_cast<size_t>(k) + 1];
    best.offer(PointDistance(ex, ey, d[next].x1, d[next].y1), static_cast<uint64_t>(k + 1) * 2,
               static_cast<uint32_t>(next) * 2);
    if (!(best.found && best.dist == 0)) tree.Search(ex, ey, pos, best);
    if (!best.found) continue;

    // The winner is the next current record; the one it displaces moves back to
    // the winner's former position.
    const int32_t m = static_cast<int32_t>(best.tag >> 1);
    tree.Remove(m);
    if (best.tag & 1) reversed[static_cast<size_t>(m)] = 1;
    const int32_t p = pos[static_cast<size_t>(m)];
    if (k + 1 < p) {
      const int32_t displaced = perm[static_cast<size_t>(k) + 1];
      perm[static_cast<size_t>(k) + 1] = m;
      perm[static_cast<size_t>(p)] = displaced;
      pos[static_cast<size_t>(m)] = k + 1;
      pos[static_cast<size_t>(displaced)] = p;
    }
  }

  // Flip by record, then move each record to its place along the permutation's
  // cycles (new[p] = old[perm[p]]).
  for (int32_t i = 0; i < n; ++i) {
    if (reversed[static_cast<size_t>(i)]) Reverse(d[i]);
  }
  for (int32_t start = 0; start < n; ++start) {
    alive.add(1, 100);
    if (perm[static_cast<size_t>(start)] == start) continue;
    const Segment first = d[start];
    int32_t q = start;
    while (true) {
      const int32_t src = perm[static_cast<size_t>(q)];
      perm[static_cast<size_t>(q)] = q;
      if (src == start) {
        d[q] = first;
        break;
      }
      d[q] = d[src];
      q = src;
      alive.add(1, 100);
    }
  }
}

}  // namespace

long double PointDistance(long double ax, long double ay, long double bx, long double by) {
  if (ax == bx) return std::fabs(by - ay);
  if (ay == by) return std::fabs(bx - ax);
  const long double dx = bx - ax, dy = by - ay;
  return std::sqrt(dx * dx + dy * dy);
}

long double TotalPath(const SegmentList& list) {
  const int32_t n = list.count();
  if (n <= 1) return 0;
  long double total = 0;
  for (int32_t k = 0; k < n; ++k) {
    const Segment& s = list[k];
    total += PointDistance(s.x1, s.y1, s.x2, s.y2);
    if (k + 1 < n) total += PointDistance(s.x2, s.y2, list[k + 1].x1, list[k + 1].y1);
  }
  return total;
}

void OptimizeOrder(SegmentList& list, bool allowSwap, ProgressSink& progress) {
  const int32_t n = list.count();
  Segment* d = list.data();
  PercentReporter reporter(progress, kWayOptimizeStatusText);
  KeepAlive alive(progress, kWayOptimizeStatusText);
  long double maxAbs = 0;
  bool finite = true, exactDoubles = true;
  for (int32_t i = 0; i < n; ++i) {
    alive.add(1, 0);
    d[i].done = false;
    for (long double v : {d[i].x1, d[i].y1, d[i].x2, d[i].y2}) {
      if (!std::isfinite(v)) finite = false;
      if (static_cast<long double>(static_cast<double>(v)) != v) exactDoubles = false;
      maxAbs = std::max(maxAbs, std::fabs(v));
    }
  }
  if (finite && maxAbs < 1e150L) {
    OptimizeWithTree(d, n, allowSwap, static_cast<double>(maxAbs), exactDoubles, reporter, alive);
  } else {
    OptimizePlain(d, n, allowSwap, reporter);
  }
  for (int32_t i = 0; i < n; ++i) d[i].done = true;
}

std::string WayOptimizeQuestion(long double before, long double after) {
  return "Gesamte Wegstrecke\r\n\r\nVorher: " + FormatFixed(before, 3) + "\r\n" +
         "Jetzt : " + FormatFixed(after, 3) + "\r\n\r\n" + "Übernehmen?";
}

WayOptimizeResult OptimizeWay(SegmentList& list, bool allowSwap, ProgressSink& progress) {
  // The undo copy, the total and the search tree of a list of millions take
  // seconds: the status line names the command from its start.
  progress.report(kWayOptimizeStatusText, 0);
  list.saveUndo(&progress, kWayOptimizeStatusText);
  WayOptimizeResult r;
  r.totalBefore = TotalPath(list);
  progress.report(kWayOptimizeStatusText, 0);
  OptimizeOrder(list, allowSwap, progress);
  r.totalAfter = TotalPath(list);

  if (r.totalAfter == r.totalBefore) {
    // A different order with the very same total is possible; the NC program is
    // not rebuilt in this case, so the list goes back to the order it was built
    // from, or program, export and list would disagree.
    list.restoreUndo();
    for (int32_t i = 0; i < list.count(); ++i) list[i].done = true;
    progress.report(kNoNewWayText, 100);
    return r;
  }

  r.ncRebuild = true;
  return r;
}

}  // namespace korvane
