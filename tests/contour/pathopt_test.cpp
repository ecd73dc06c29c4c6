#include "contour/pathopt.h"
#include "core/postprocess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "contour/pathopt_reference.h"
#include "base/interaction.h"
#include "core/job.h"
#include "support/recording_progress.h"

namespace korvane {
namespace {

struct Seg {
  long double x1, y1, x2, y2;
};

Segment S(const Seg& s) {
  Segment r;
  r.x1 = s.x1;
  r.y1 = s.y1;
  r.x2 = s.x2;
  r.y2 = s.y2;
  return r;
}

SegmentList MakeList(const std::vector<Seg>& segs) {
  SegmentList list;
  for (const Seg& s : segs) list.append(s.x1, s.y1, s.x2, s.y2);
  return list;
}

void ExpectRecords(const SegmentList& list, const std::vector<Seg>& want) {
  ASSERT_EQ(list.count(), static_cast<int32_t>(want.size()));
  for (int32_t i = 0; i < list.count(); ++i) {
    const Seg& w = want[static_cast<size_t>(i)];
    EXPECT_TRUE(list[i].x1 == w.x1 && list[i].y1 == w.y1 && list[i].x2 == w.x2 &&
                list[i].y2 == w.y2)
        << "record " << i << ": (" << (double)list[i].x1 << "," << (double)list[i].y1 << ")-("
        << (double)list[i].x2 << "," << (double)list[i].y2 << ")";
  }
}

using testing::RecordingProgress;

TEST(PointDistance, ExactWhereItCan) {
  struct Case {
    long double ax, ay, bx, by, want;
  };
  const long double third = 1.0L / 3;
  for (const Case& c : std::vector<Case>{{0, 0, 3, 4, 5},
                                         {7, 2, 7, -5, 7},
                                         {third, 0.1L, 2 * third, 0.1L, 2 * third - third},
                                         {0.1L, 0.2L, 0.1L, 0.2L, 0},
                                         {1, 1, 2, 2, std::sqrt(2.0L)}}) {
    EXPECT_EQ(PointDistance(c.ax, c.ay, c.bx, c.by), c.want);
    EXPECT_EQ(PointDistance(c.bx, c.by, c.ax, c.ay), c.want);
  }
  EXPECT_FALSE(std::signbit(PointDistance(-0.0L, 1, 0.0L, 1)));
}

// P (0,0)-(10,0), S (20,0)-(30,0), Q (10,0)-(20,0).
const std::vector<Seg> kPSQ = {{0, 0, 10, 0}, {20, 0, 30, 0}, {10, 0, 20, 0}};
const std::vector<Seg> kPQS = {{0, 0, 10, 0}, {10, 0, 20, 0}, {20, 0, 30, 0}};

TEST(WayOptimizer, ShortensPSQToPQSAndRestoresExactlyOnNo) {
  for (bool answer : {true, false}) {
    SCOPED_TRACE(answer ? "Yes" : "No");
    Job job;
    job.segments = MakeList(kPSQ);
    FixedAnswers ui;
    ui.answer = answer;
    NullProgress progress;
    int builds = 0;
    const WayOptimizeResult r = WayOptimizer(job, true, false, ui, progress, [&] { ++builds; });
    EXPECT_EQ(r.totalBefore, 60);
    EXPECT_EQ(r.totalAfter, 30);
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0],
              "Gesamte Wegstrecke\r\n\r\nVorher: 60.000\r\nJetzt : 30.000\r\n\r\nÜbernehmen?");
    EXPECT_TRUE(r.ncRebuild);
    EXPECT_EQ(r.kept, answer);
    EXPECT_EQ(builds, answer ? 1 : 2);
    ExpectRecords(job.segments, answer ? kPQS : kPSQ);
    for (int32_t i = 0; i < job.segments.count(); ++i) EXPECT_EQ(job.segments[i].done, answer);
  }
}

TEST(WayOptimizer, SilentKeepsTheNewOrderWithoutAsking) {
  Job job;
  job.segments = MakeList(kPSQ);
  FixedAnswers ui;
  NullProgress progress;
  int builds = 0;
  const WayOptimizeResult r = WayOptimizer(job, true, true, ui, progress, [&] { ++builds; });
  EXPECT_TRUE(ui.asked.empty());
  EXPECT_TRUE(r.kept);
  EXPECT_EQ(builds, 1);
  ExpectRecords(job.segments, kPQS);
}

TEST(WayOptimizer, LongerTotalIsStillOffered) {
  // The nearest start D leads far away, the way back is long: 1039 -> 2027.
  Job job;
  job.segments = MakeList({{-1, 0, 0, 0}, {2, 0, 10, 0}, {10, 0, 20, 0}, {1, 0, 1000, 0}});
  FixedAnswers ui;
  ui.answer = false;
  NullProgress progress;
  const WayOptimizeResult r = WayOptimizer(job, false, false, ui, progress);
  ASSERT_EQ(ui.asked.size(), 1u);
  EXPECT_EQ(ui.asked[0],
            "Gesamte Wegstrecke\r\n\r\nVorher: 1039.000\r\nJetzt : 2027.000\r\n\r\nÜbernehmen?");
  EXPECT_TRUE(r.ncRebuild);
  ExpectRecords(job.segments, {{-1, 0, 0, 0}, {2, 0, 10, 0}, {10, 0, 20, 0}, {1, 0, 1000, 0}});
}

TEST(WayOptimizer, ReversesOnlyWhenAllowed) {
  // A ends at (10,0); B ends there too; C is far off.
  const std::vector<Seg> in = {{0, 0, 10, 0}, {50, 0, 60, 0}, {20, 5, 10, 0}};
  struct Case {
    bool allowSwap;
    std::vector<Seg> want;
  };
  for (const Case& c : {Case{true, {{0, 0, 10, 0}, {10, 0, 20, 5}, {50, 0, 60, 0}}},
                        Case{false, {{0, 0, 10, 0}, {20, 5, 10, 0}, {50, 0, 60, 0}}}}) {
    SCOPED_TRACE(c.allowSwap);
    Job job;
    job.segments = MakeList(in);
    FixedAnswers ui;
    NullProgress progress;
    WayOptimizer(job, c.allowSwap, false, ui, progress);
    ExpectRecords(job.segments, c.want);
  }
}

TEST(WayOptimizer, UnchangedTotalLeavesTheListAndSaysSo) {
  struct Case {
    const char* name;
    std::vector<Seg> in;
  };
  const std::vector<Case> cases = {
      {"Empty", {}},
      {"One", {{3, 4, 8, 9}}},
      {"Chained", {{0, 0, 5, 0}, {5, 0, 5, 7}, {5, 7, 1, 2}, {1, 2, 0, 0}}},
      // Greedy takes C (gap 3) before B (gap 5), but the total stays 39:
      // lengths 10 + 6 + 8, gaps 5 + 10 before and 3 + 12 after.
      {"ReorderedWithEqualTotal", {{0, 0, 10, 0}, {13, 4, 13, 10}, {13, 0, 13, -8}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Job job;
    job.segments = MakeList(c.in);
    FixedAnswers ui;
    RecordingProgress progress;
    int builds = 0;
    const WayOptimizeResult r = WayOptimizer(job, true, false, ui, progress, [&] { ++builds; });
    EXPECT_EQ(r.totalAfter, r.totalBefore);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_FALSE(r.ncRebuild);
    EXPECT_EQ(builds, 0);
    ASSERT_FALSE(progress.calls.empty());
    EXPECT_EQ(progress.calls.back(), std::make_pair(std::string(kNoNewWayText), 100));
    ExpectRecords(job.segments, c.in);
    for (int32_t i = 0; i < job.segments.count(); ++i) EXPECT_TRUE(job.segments[i].done);
  }
}

// Random lists of several kinds, built to hit ties: tiny integer grids (equal
// gaps, duplicate points, zero gaps, zero lengths), points on circles where
// root and direct differences give the same value, chained closed paths in
// scrambled order, inexact decimal coordinates, scan lines, and wide spreads.
std::vector<Segment> RandomList(std::mt19937& rng, int kind, int n) {
  std::vector<Segment> v;
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto add = [&](long double x1, long double y1, long double x2, long double y2) {
    Segment s;
    s.x1 = x1;
    s.y1 = y1;
    s.x2 = x2;
    s.y2 = y2;
    s.done = uni(0, 1) == 1;
    v.push_back(s);
  };
  switch (kind) {
    case 0:  // tiny grid
      for (int i = 0; i < n; ++i) add(uni(0, 4), uni(0, 4), uni(0, 4), uni(0, 4));
      break;
    case 1: {  // circle of radius 5 around (10,10): 12 lattice points
      static const int kP[][2] = {{5, 0},  {4, 3},   {3, 4},   {0, 5},  {-3, 4}, {-4, 3},
                                  {-5, 0}, {-4, -3}, {-3, -4}, {0, -5}, {3, -4}, {4, -3}};
      for (int i = 0; i < n; ++i) {
        const int a = uni(0, 12), b = uni(0, 11);
        const long double x1 = a == 12 ? 10 : 10 + kP[a][0], y1 = a == 12 ? 10 : 10 + kP[a][1];
        add(x1, y1, 10 + kP[b][0], 10 + kP[b][1]);
      }
      break;
    }
    case 2: {  // closed paths, scrambled, some reversed
      std::vector<std::vector<Segment>> paths;
      int left = n;
      while (left > 0) {
        const int m = std::min(left, uni(1, 12));
        const long double cx = uni(0, 60), cy = uni(0, 60);
        std::vector<long double> xs, ys;
        for (int k = 0; k < m; ++k) {
          xs.push_back(cx + uni(-4, 4));
          ys.push_back(cy + uni(-4, 4));
        }
        std::vector<Segment> p;
        for (int k = 0; k < m; ++k) {
          Segment s;
          s.x1 = xs[k];
          s.y1 = ys[k];
          s.x2 = xs[(k + 1) % m];
          s.y2 = ys[(k + 1) % m];
          if (uni(0, 3) == 0) {
            std::swap(s.x1, s.x2);
            std::swap(s.y1, s.y2);
          }
          p.push_back(s);
        }
        paths.push_back(p);
        left -= m;
      }
      std::shuffle(paths.begin(), paths.end(), rng);
      for (const auto& p : paths) v.insert(v.end(), p.begin(), p.end());
      break;
    }
    case 3:  // inexact decimals
      for (int i = 0; i < n; ++i) {
        add(uni(0, 30) / 10.0L, uni(0, 30) / 10.0L, uni(0, 30) / 10.0L, uni(0, 30) / 10.0L);
      }
      break;
    case 4:  // scan lines at 2.5-pixel spacing, alternating direction
      for (int i = 0; i < n; ++i) {
        const long double y = uni(0, 12) * 2.5L;
        const int a = uni(0, 40), b = uni(0, 40);
        if (uni(0, 1)) {
          add(std::min(a, b), y, std::max(a, b), y);
        } else {
          add(std::max(a, b), y, std::min(a, b), y);
        }
      }
      break;
    default: {  // wide spread
      std::uniform_real_distribution<double> c(0, 4096);
      for (int i = 0; i < n; ++i) add(c(rng), c(rng), c(rng), c(rng));
      break;
    }
  }
  return v;
}

TEST(OptimizeOrder, MatchesThePlainSearchOnRandomLists) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 720; ++round) {
    const int kind = round % 6;
    const bool allowSwap = (round / 6) % 2 == 0;
    const int n = round < 48 ? round / 12 : static_cast<int>(rng() % (kind == 5 ? 600 : 250));
    std::vector<Segment> want = RandomList(rng, kind, n);
    SegmentList list;
    for (const Segment& s : want) list.append(s);
    reference::OptimizeOrder(want, allowSwap);
    NullProgress progress;
    OptimizeOrder(list, allowSwap, progress);
    ASSERT_EQ(list.count(), static_cast<int32_t>(want.size()));
    for (int32_t i = 0; i < list.count(); ++i) {
      const Segment& g = list[i];
      const Segment& w = want[static_cast<size_t>(i)];
      ASSERT_TRUE(g.x1 == w.x1 && g.y1 == w.y1 && g.x2 == w.x2 && g.y2 == w.y2 && g.done == w.done)
          << "round " << round << " kind " << kind << " swap " << allowSwap << " record " << i;
    }
  }
}

TEST(OptimizeOrder, NonFiniteAndFarCoordinatesFollowThePlainSearch) {
  const long double inf = std::numeric_limits<long double>::infinity();
  const std::vector<std::vector<Seg>> lists = {
      {{0, 0, 1, 0}, {inf, 0, inf, 5}, {1, 0, 2, 0}, {inf, 2, 3, 3}},
      {{0, 0, inf, 0}, {inf, 4, 5, 5}, {1, 1, 2, 2}, {inf, 0, 7, 7}},
      {{0, 0, 1, 0}, {2e15L, 0, 3e15L, 0}, {5, 5, 6, 6}, {1e200L, 0, 1, 1}},
      {{0, 0, 1, 0}, {2e15L, 0, 3e15L, 0}, {5e15L, 1, 6e15L, 1}, {2, 0, 3, 0}},
  };
  for (bool allowSwap : {true, false}) {
    for (const auto& in : lists) {
      std::vector<Segment> want;
      for (const Seg& s : in) want.push_back(S(s));
      SegmentList list = MakeList(in);
      reference::OptimizeOrder(want, allowSwap);
      NullProgress progress;
      OptimizeOrder(list, allowSwap, progress);
      std::vector<Seg> w;
      for (const Segment& s : want) w.push_back({s.x1, s.y1, s.x2, s.y2});
      ExpectRecords(list, w);
    }
  }
}

}  // namespace
}  // namespace korvane
