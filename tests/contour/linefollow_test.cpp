#include "contour/linefollow.h"
#include "core/postprocess.h"
#include "contour/pathopt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/interaction.h"
#include "core/job.h"

namespace korvane {
namespace {

struct Seg {
  long double x1, y1, x2, y2;
};

SegmentList MakeList(const std::vector<Seg>& segs) {
  SegmentList list;
  for (const Seg& s : segs) list.append(s.x1, s.y1, s.x2, s.y2);
  return list;
}

std::vector<Seg> Records(const SegmentList& list) {
  std::vector<Seg> out;
  for (int32_t i = 0; i < list.count(); ++i)
    out.push_back({list[i].x1, list[i].y1, list[i].x2, list[i].y2});
  return out;
}

void ExpectSame(const std::vector<Seg>& got, const std::vector<Seg>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].x1, want[i].x1) << "record " << i;
    EXPECT_EQ(got[i].y1, want[i].y1) << "record " << i;
    EXPECT_EQ(got[i].x2, want[i].x2) << "record " << i;
    EXPECT_EQ(got[i].y2, want[i].y2) << "record " << i;
  }
}

// `n` unit segments along one row: (0,0)-(1,0), (1,0)-(2,0), ...
std::vector<Seg> Row(int n) {
  std::vector<Seg> v;
  for (int i = 0; i < n; ++i) v.push_back({(long double)i, 0, (long double)i + 1, 0});
  return v;
}

// Unit staircase (0,0)-(1,0), (1,0)-(1,1), (1,1)-(2,1), ... with `n` steps.
std::vector<Seg> Stairs(int n) {
  std::vector<Seg> v;
  long double x = 0, y = 0;
  for (int i = 0; i < n; ++i) {
    if (i % 2 == 0) {
      v.push_back({x, y, x + 1, y});
      x += 1;
    } else {
      v.push_back({x, y, x, y + 1});
      y += 1;
    }
  }
  return v;
}

std::vector<Seg> Concat(std::vector<Seg> a, const std::vector<Seg>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Segments far from each other and from everything else: they neither touch
// nor start a run.
const std::vector<Seg> kFar = {{100, 0, 101, 0}, {200, 0, 201, 0}, {300, 0, 301, 0}};

struct MergeCase {
  const char* name;
  std::vector<Seg> in;
  std::vector<Seg> want;
};

class MergeLinesTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeLinesTest, GivesTheExpectedList) {
  const MergeCase& c = GetParam();
  SegmentList list = MakeList(c.in);
  NullProgress progress;
  MergeLines(list, progress);
  ExpectSame(Records(list), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeLinesTest,
    ::testing::Values(
        MergeCase{"FourInARowUntouched", Row(4), Row(4)},
        MergeCase{"FiveInARowUntouched", Row(5), Row(5)},
        MergeCase{"SixInARowMerged", Row(6), {{0, 0, 6, 0}}},
        MergeCase{"NineInARowMerged", Row(9), {{0, 0, 9, 0}}},
        MergeCase{"StaircaseMergedToDiagonal", Stairs(8), {{0, 0, 4, 4}}},
        // Directions are taken between midpoints and against the first record:
        // the first level step after the stairs still lies at 90, the next one
        // at 103, where the stairs end and the level run starts anew.
        MergeCase{"CornerStopsTheRun",
                  Concat(Stairs(8), {{4, 4, 5, 4},
                                     {5, 4, 6, 4},
                                     {6, 4, 7, 4},
                                     {7, 4, 8, 4},
                                     {8, 4, 9, 4},
                                     {9, 4, 10, 4},
                                     {10, 4, 11, 4},
                                     {11, 4, 12, 4}}),
                  {{0, 0, 5, 4}, {5, 4, 12, 4}}},
        // Runs start only up to count - 5; the touching tail here starts later.
        MergeCase{"LateRunNotStarted", Concat({{50, 50, 51, 50}, {60, 50, 61, 50}}, Row(5)),
                  Concat({{50, 50, 51, 50}, {60, 50, 61, 50}}, Row(5))},
        // Length ratio: direction 3 against 0 passes with a ratio near 1 only.
        MergeCase{"SlightBendShortMerged",
                  Concat({{0, 0, 0, 1}, {0, 1, 0, 2}, {0, 2, 0.1L, 3}}, kFar),
                  Concat({{0, 0, 0.1L, 3}}, kFar)},
        MergeCase{"SlightBendLongKept", Concat({{0, 0, 0, 1}, {0, 1, 0, 2}, {0, 2, 1, 40}}, kFar),
                  Concat({{0, 0, 0, 1}, {0, 1, 0, 2}, {0, 2, 1, 40}}, kFar)},
        MergeCase{"StraightLongMerged", Concat({{0, 0, 0, 1}, {0, 1, 0, 2}, {0, 2, 0, 40}}, kFar),
                  Concat({{0, 0, 0, 40}}, kFar)},
        MergeCase{"GapOfTwoBreaksTouch", Concat({{0, 0, 1, 0}, {1, 0, 2, 0}, {4, 0, 5, 0}}, kFar),
                  Concat({{0, 0, 1, 0}, {1, 0, 2, 0}, {4, 0, 5, 0}}, kFar)},
        MergeCase{"DiagonalGapTouches",
                  Concat({{0, 0, 0, 100}, {0, 100, 0, 200}, {1, 201, 1, 301}}, kFar),
                  Concat({{0, 0, 1, 301}}, kFar)},
        // Zero-length records: 0/0 allows nothing, x/0 only equal directions.
        MergeCase{"ZeroLengthOnesNeverMerge", std::vector<Seg>(6, Seg{5, 5, 5, 5}),
                  std::vector<Seg>(6, Seg{5, 5, 5, 5})},
        MergeCase{
            "ZeroLengthThenEqualDirections",
            {{0, 0, 0, 0}, {0, 0, 1, 1}, {1, 1, 2, 2}, {2, 2, 3, 3}, {3, 3, 4, 4}, {4, 4, 5, 5}},
            {{0, 0, 5, 5}}},
        MergeCase{"ZeroLengthThenNearlyEqualDirections",
                  Concat({{0, 0, 0, 0}, {0, 0, 1, 1}, {1, 1, 2, 2.1L}}, kFar),
                  Concat({{0, 0, 0, 0}, {0, 0, 1, 1}, {1, 1, 2, 2.1L}}, kFar)}),
    [](const ::testing::TestParamInfo<MergeCase>& info) { return std::string(info.param.name); });

Segment S(long double x1, long double y1, long double x2, long double y2) {
  Segment s;
  s.x1 = x1;
  s.y1 = y1;
  s.x2 = x2;
  s.y2 = y2;
  return s;
}

TEST(LineFollowHelpers, DirectionAndTouchValues) {
  // Midpoints level, above each other, diagonal, and nearly level.
  EXPECT_EQ(DirectionValue(S(0, 5, 2, 5), S(10, 5, 20, 5)), 0);
  EXPECT_EQ(DirectionValue(S(0, 0, 0, 1), S(0, 3, 0, 9)), 0);
  EXPECT_EQ(DirectionValue(S(0, 0, 1, 0), S(2, 2, 3, 2)), 90);
  EXPECT_EQ(DirectionValue(S(0, 0, 0, 0), S(1000, 1, 1000, 1)), 180);
  // Touching: rounded end-to-start distance 0 or 1; 1.5 rounds to 2.
  EXPECT_TRUE(Touches(S(9, 9, 0, 0), S(1, 1, 5, 5)));
  EXPECT_FALSE(Touches(S(9, 9, 0, 0), S(1.5L, 0, 5, 5)));
  EXPECT_TRUE(Touches(S(9, 9, 0, 0), S(1.49L, 0, 5, 5)));
}

// Literal merge pass: the tail is moved forward after every merged run.
void ReferenceMerge(std::vector<Segment>& r, int32_t& count) {
  auto R = [&](int32_t i) -> Segment& { return r[static_cast<size_t>(i - 1)]; };
  if (count <= 3) return;
  int32_t i = 1, j = 2;
  while (j < count - 3) {
    const long double a1 = DirectionValue(R(i), R(j));
    ++j;
    long double a2 = DirectionValue(R(i), R(j));
    long double q = LengthRatio(R(i), R(j));
    if (!(5 / q >= std::fabs(a1 - a2) && Touches(R(i), R(j - 1)) && Touches(R(j - 1), R(j)))) {
      ++i;
      j = i + 1;
      continue;
    }
    while (j < count) {
      ++j;
      a2 = DirectionValue(R(i), R(j));
      q = LengthRatio(R(i), R(j));
      if (5 / q >= std::fabs(a1 - a2) && Touches(R(j - 1), R(j))) continue;
      --j;
      break;
    }
    R(i).x2 = R(j).x2;
    R(i).y2 = R(j).y2;
    const int32_t n = j - i;
    for (int32_t k = i + 1; k <= count - n; ++k) R(k) = R(k + n);
    count -= n;
    ++i;
    j = i + 1;
  }
}

// Traced-like lists: walks of unit and diagonal steps with straight stretches,
// jumps, zero-length records and an occasional long or fractional segment.
std::vector<Segment> RandomWalk(std::mt19937& rng, int n) {
  std::vector<Segment> v;
  std::uniform_int_distribution<int> pick(0, 99);
  long double x = 50, y = 50;
  int dir = 0;
  static const int kDx[] = {1, 1, 0, -1, -1, -1, 0, 1};
  static const int kDy[] = {0, 1, 1, 1, 0, -1, -1, -1};
  for (int i = 0; i < n; ++i) {
    const int p = pick(rng);
    long double nx, ny;
    if (p < 4) {  // jump to a new path
      x = pick(rng);
      y = pick(rng);
      --i;
      continue;
    } else if (p < 8) {  // zero length
      nx = x;
      ny = y;
    } else if (p < 11) {  // long or fractional
      nx = x + (pick(rng) - 50) / 4.0L;
      ny = y + (pick(rng) - 50) / 7.0L;
    } else {
      if (p < 30) dir = (dir + (pick(rng) % 3) - 1 + 8) % 8;  // bend
      if (p < 20) dir = (dir + 2) % 8;                        // corner
      nx = x + kDx[dir];
      ny = y + kDy[dir];
    }
    Segment s;
    s.x1 = x;
    s.y1 = y;
    s.x2 = nx;
    s.y2 = ny;
    s.done = pick(rng) < 30;
    v.push_back(s);
    // Small gaps between records, as traced paths show them.
    x = nx + (p % 17 == 0 ? 1 : 0);
    y = ny + (p % 23 == 0 ? 2 : 0);
  }
  return v;
}

TEST(MergeLines, MatchesTheLiteralPassOnRandomLists) {
  std::mt19937 rng(12345);
  int merged = 0;
  for (int round = 0; round < 400; ++round) {
    const int n = round < 12 ? round : static_cast<int>(rng() % 300);
    std::vector<Segment> want = RandomWalk(rng, n);
    SegmentList list;
    for (const Segment& s : want) list.append(s);
    int32_t wantCount = static_cast<int32_t>(want.size());
    ReferenceMerge(want, wantCount);
    NullProgress progress;
    MergeLines(list, progress);
    ASSERT_EQ(list.count(), wantCount) << "round " << round;
    for (int32_t i = 0; i < wantCount; ++i) {
      const Segment& g = list[i];
      const Segment& w = want[static_cast<size_t>(i)];
      ASSERT_TRUE(g.x1 == w.x1 && g.y1 == w.y1 && g.x2 == w.x2 && g.y2 == w.y2 && g.done == w.done)
          << "round " << round << " record " << i;
    }
    if (wantCount < n) ++merged;
  }
  // The comparison only means something if the lists do merge.
  EXPECT_GT(merged, 300);
}

TEST(FindLines, AsksWithCountsAndRestoresTheExactListOnNo) {
  for (bool answer : {true, false}) {
    SCOPED_TRACE(answer ? "Yes" : "No");
    Job job;
    job.segments = MakeList(Concat(Row(6), kFar));
    job.segments[2].done = true;
    const std::vector<Seg> before = Records(job.segments);
    FixedAnswers ui;
    ui.answer = answer;
    NullProgress progress;
    int builds = 0;
    const LineFollowResult r = FindLines(job, ui, progress, [&] { ++builds; });

    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0], "Einzelwege\r\n\r\nVorher: 9\r\nJetzt : 4\r\n\r\nÜbernehmen?");
    EXPECT_EQ(r.countBefore, 9);
    EXPECT_EQ(r.countAfter, 4);
    EXPECT_TRUE(r.ncRebuild);
    EXPECT_EQ(r.kept, answer);
    EXPECT_EQ(builds, answer ? 1 : 2);
    if (answer) {
      ExpectSame(Records(job.segments), Concat({{0, 0, 6, 0}}, kFar));
    } else {
      ExpectSame(Records(job.segments), before);
      EXPECT_TRUE(job.segments[2].done);
    }
    // Once decided, the copy's memory is given back; the next list command
    // takes its own and still restores the exact list.
    EXPECT_TRUE(job.segments.undoBank().empty());
    EXPECT_EQ(job.segments.savedCount(), 9);
    std::swap(job.segments[1], job.segments[job.segments.count() - 1]);  // out of order
    const std::vector<Seg> beforeSecond = Records(job.segments);
    ui.answer = false;
    const WayOptimizeResult w = WayOptimizer(job, true, false, ui, progress, [&] { ++builds; });
    ASSERT_TRUE(w.asked);
    EXPECT_FALSE(w.kept);
    ExpectSame(Records(job.segments), beforeSecond);
  }
}

TEST(FindLines, NothingMergedEndsSilently) {
  Job job;
  job.segments = MakeList(Concat(kFar, {{400, 0, 401, 0}, {500, 0, 501, 0}, {600, 0, 601, 0}}));
  FixedAnswers ui;
  NullProgress progress;
  int builds = 0;
  const LineFollowResult r = FindLines(job, ui, progress, [&] { ++builds; });
  EXPECT_TRUE(ui.asked.empty());
  EXPECT_FALSE(r.ncRebuild);
  EXPECT_EQ(builds, 0);
  EXPECT_EQ(job.segments.count(), 6);
}

}  // namespace
}  // namespace korvane
