#include "core/job.h"
#include "contour/outline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "contour/tracemap.h"

#include "contour/segs.h"

namespace korvane {
namespace {

// ---------------------------------------------------------------------------
// Plain reference: the outline method written the slow, literal way, with a
// whole scratch picture per trace, whole copies back and forth and the undo
// bank saved and restored around every path. The fast tracer must match it
// record for record and pixel for pixel.
class ReferenceOutline {
 public:
  ReferenceOutline(Picture& img, Job& job, ProgressSink& progress)
      : img_(img), job_(job), progress_(progress) {}

  void Run() {
    const int32_t w = img_.width;
    const int32_t h = img_.height;
    for (int32_t y = 0; y <= h; ++y) {
      for (int32_t x = 0; x <= w - 2; ++x) {
        if (Get(img_, x, y) == kBlack && Get(img_, x + 1, y) != kBlack) Set(img_, x + 1, y, kRed);
        if (Get(img_, x, y) != kBlack && Get(img_, x + 1, y) == kBlack) Set(img_, x, y, kRed);
        if (Get(img_, x, y - 1) == kBlack && Get(img_, x, y) != kBlack) Set(img_, x, y, kRed);
        if (Get(img_, x, y - 1) != kBlack && Get(img_, x, y) == kBlack) Set(img_, x, y - 1, kRed);
        if (job_.cancelRequested) return;
      }
      progress_.report("Umrisse suchen ...", Percent(y, h));
    }
    for (int32_t y = 0; y <= h - 2; ++y) {
      for (int32_t x = 0; x <= w - 1; ++x) {
        if (Get(img_, x, y) == kBlack) Set(img_, x, y, kWhite);
        if (job_.cancelRequested) return;
      }
      progress_.report("Objekte entfernen ...", Percent(y, h));
    }
    for (int32_t y = 0; y <= h - 2; ++y) {
      for (int32_t x = 0; x <= w - 2; ++x) {
        if (Get(img_, x, y) == kRed) ScanWurm(x, y);
        if (job_.cancelRequested) return;
      }
      progress_.report("Strecken bilden ... ", Percent(y, h));
    }
  }

  void ScanWurm(int32_t x, int32_t y) {
    scratch_ = img_;
    job_.segments.saveUndo();
    const long double l1 = Trace(x, y);
    int32_t xe = x;
    while (Get(img_, xe, y) == kRed) ++xe;
    --xe;
    if (xe > x) {
      job_.segments.restoreUndo();
      scratch_ = img_;
      const long double l2 = Trace(xe, y);
      if (l2 < l1) {
        job_.segments.restoreUndo();
        scratch_ = img_;
        Trace(x, y);
      }
    }
    img_ = scratch_;
  }

 private:
  static int Percent(int32_t row, int32_t h) {
    return static_cast<int>(rintl(static_cast<long double>(row) / h * 100.0L));
  }
  static uint32_t Get(const Picture& p, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return 0x12345678u;
    return p.at(x, y);
  }
  static void Set(Picture& p, int32_t x, int32_t y, uint32_t c) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
    p.at(x, y) = c;
  }
  static long double Length(const Segment& s) {
    const long double dx = fabsl(s.x1) - fabsl(s.x2);
    const long double dy = fabsl(s.y1) - fabsl(s.y2);
    return rintl(sqrtl(dx * dx + dy * dy));
  }

  bool Step(int d, int32_t& x, int32_t& y) {
    static const int32_t dx[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
    static const int32_t dy[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
    Set(scratch_, x, y, kDarkGreen);
    if (d % 2 == 0 && (Get(scratch_, x + 1, y) == kRed || Get(scratch_, x, y + 1) == kRed ||
                       Get(scratch_, x - 1, y) == kRed || Get(scratch_, x, y - 1) == kRed)) {
      return false;
    }
    if (Get(scratch_, x + dx[d], y + dy[d]) != kRed) return false;
    x += dx[d];
    y += dy[d];
    Set(scratch_, x, y, kDarkGreen);
    return true;
  }

  long double Trace(int32_t sx, int32_t sy) {
    SegmentList& list = job_.segments;
    int32_t x = sx, y = sy, rx = sx, ry = sy;
    long double length = 0;
    int dir = 0;    // 0 unset, -1 finished
    int state = 0;  // 0 first, 1 started, 2 isolated
    Set(scratch_, x, y, kDarkGreen);
    do {
      if (dir == 0) {
        dir = -1;
        for (int d : {1, 3, 5, 7, 8, 6, 4, 2}) {
          if (Step(d, x, y)) {
            dir = d;
            break;
          }
        }
      } else if (!Step(dir, x, y)) {
        Segment& last = list[list.count() - 1];
        last.x2 = x;
        last.y2 = y;
        length += Length(last);
        list.append(x, y, -7, -7);
        dir = 0;
        rx = x;
        ry = y;
      }
      if (state == 0) {
        list.append(rx, ry, -7, -7);
        state = dir == -1 ? 2 : 1;
      }
    } while (!job_.cancelRequested && dir != -1);
    if (state == 2) {
      list.setCount(list.count() - 1);
    } else {
      list.setCount(list.count() - 1);
      if (std::abs(x - sx) <= 1 && std::abs(y - sy) <= 1) {
        list.append(x, y, sx, sy);
        length += Length(list[list.count() - 1]);
      }
    }
    return length;
  }

  Picture& img_;
  Picture scratch_;
  Job& job_;
  ProgressSink& progress_;
};

// ---------------------------------------------------------------------------
// Helpers.

struct Report {
  std::string text;
  int percent;
  bool operator==(const Report&) const = default;
};

// Records every report; sets the cancel flag on report number `cancelAt`
// (counting from 1), as a cancel click processed inside a report would.
class RecordingProgress : public ProgressSink {
 public:
  RecordingProgress(Job& job, int cancelAt = 0) : job_(job), cancelAt_(cancelAt) {}
  void report(const std::string& text, int percent) override {
    reports.push_back({text, percent});
    if (static_cast<int>(reports.size()) == cancelAt_) job_.cancelRequested = true;
  }
  std::vector<Report> reports;

 private:
  Job& job_;
  int cancelAt_;
};

using testing::Seg;
using testing::Segs;

std::vector<Seg> UndoSegs(const SegmentList& list) {
  std::vector<Seg> out;
  for (int32_t i = 0; i < list.savedCount(); ++i) {
    const Segment& s = list.undoBank()[static_cast<size_t>(i)];
    out.push_back({s.x1, s.y1, s.x2, s.y2});
  }
  return out;
}

// '#' black, '.' white, 'g' grey, 'r' red, 'd' dark green.
Picture Draw(const std::vector<std::string>& rows) {
  Picture p;
  p.resize(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()), kWhite);
  for (int32_t y = 0; y < p.height; ++y) {
    for (int32_t x = 0; x < p.width; ++x) {
      const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      p.at(x, y) = c == '#'   ? kBlack
                   : c == 'g' ? 0xFF808080u
                   : c == 'r' ? kRed
                   : c == 'd' ? kDarkGreen
                              : kWhite;
    }
  }
  return p;
}

// The conversion run's result image: the picture inside a one-pixel white frame.
Picture Framed(const Picture& p) {
  Picture r;
  r.resize(p.width + 2, p.height + 2, kWhite);
  for (int32_t y = 0; y < p.height; ++y)
    for (int32_t x = 0; x < p.width; ++x) r.at(x + 1, y + 1) = p.at(x, y);
  return r;
}

std::vector<Seg> TraceFramed(const Picture& picture, Picture* marked = nullptr) {
  Job job;
  NullProgress progress;
  Picture result = Framed(picture);
  ScanOutLine(result, job.segments, job.cancelRequested, progress);
  if (marked != nullptr) *marked = result;
  return Segs(job.segments);
}

bool AnyPixel(const Picture& p, uint32_t colour) {
  for (uint32_t v : p.px)
    if (v == colour) return true;
  return false;
}

// ---------------------------------------------------------------------------
// Traces given in full.

TEST(OutlineTest, SinglePixelGivesFourDiagonalsRoundIt) {
  // The pixel sits at (1, 1) of the framed image.
  Picture marked;
  const std::vector<Seg> expected = {{1, 0, 0, 1}, {0, 1, 1, 2}, {1, 2, 2, 1}, {2, 1, 1, 0}};
  EXPECT_EQ(TraceFramed(Draw({"#"}), &marked), expected);
  EXPECT_EQ(marked, Draw({".d.", "d.d", ".d."}));
}

struct RectCase {
  int32_t pw, ph;      // picture size
  int32_t a, b, c, d;  // columns a..b, rows c..d of the framed image
};
std::ostream& operator<<(std::ostream& os, const RectCase& k) {
  return os << k.pw << "x" << k.ph << " cols " << k.a << ".." << k.b << " rows " << k.c << ".."
            << k.d;
}

class RectangleTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(RectangleTest, ClosedPathOnePixelOutsideStartingAtTheTopRightEnd) {
  const RectCase& k = GetParam();
  Picture pic;
  pic.resize(k.pw, k.ph, kWhite);
  for (int32_t y = k.c; y <= k.d; ++y)
    for (int32_t x = k.a; x <= k.b; ++x) pic.at(x - 1, y - 1) = kBlack;
  const long double a = k.a, b = k.b, c = k.c, d = k.d;
  const std::vector<Seg> expected = {
      {b, c - 1, a, c - 1}, {a, c - 1, a - 1, c}, {a - 1, c, a - 1, d}, {a - 1, d, a, d + 1},
      {a, d + 1, b, d + 1}, {b, d + 1, b + 1, d}, {b + 1, d, b + 1, c}, {b + 1, c, b, c - 1},
  };
  Picture marked;
  const std::vector<Seg> got = TraceFramed(pic, &marked);
  ASSERT_EQ(got, expected);
  int64_t total = 0;
  for (const Seg& s : got)
    total += SegmentLength(static_cast<int32_t>(s.x1), static_cast<int32_t>(s.y1),
                           static_cast<int32_t>(s.x2), static_cast<int32_t>(s.y2));
  EXPECT_EQ(total, 2 * (k.b - k.a) + 2 * (k.d - k.c) + 4);
  // Objects removed, every border pixel traced.
  EXPECT_FALSE(AnyPixel(marked, kBlack));
  EXPECT_FALSE(AnyPixel(marked, kRed));
}

INSTANTIATE_TEST_SUITE_P(Shapes, RectangleTest,
                         ::testing::Values(RectCase{6, 5, 2, 4, 2, 3},    // inside
                                           RectCase{2, 2, 1, 2, 1, 2},    // fills the picture
                                           RectCase{9, 4, 1, 9, 2, 4},    // touches three edges
                                           RectCase{12, 9, 3, 11, 4, 7},  // wide
                                           RectCase{4, 14, 2, 3, 1, 13})  // tall
);

TEST(OutlineTest, OnePixelHighLineHasRunsOfLengthNMinusOne) {
  for (int32_t n : {2, 3, 7}) {
    Picture pic;
    pic.resize(n + 2, 3, kWhite);
    for (int32_t x = 1; x <= n; ++x) pic.at(x, 1) = kBlack;
    // Framed: the line covers columns 2..n+1 of row 2.
    const long double a = 2, b = n + 1, r = 2;
    const std::vector<Seg> expected = {
        {b, r - 1, a, r - 1}, {a, r - 1, a - 1, r}, {a - 1, r, a, r + 1},
        {a, r + 1, b, r + 1}, {b, r + 1, b + 1, r}, {b + 1, r, b, r - 1},
    };
    EXPECT_EQ(TraceFramed(pic), expected) << "n=" << n;
  }
}

TEST(OutlineTest, OnePixelHoleIsLeftAsAnIsolatedGreenPixel) {
  Picture marked;
  const std::vector<Seg> got = TraceFramed(Draw({"###", "#.#", "###"}), &marked);
  // Only the outer path: the hole's single red pixel yields no segment.
  const std::vector<Seg> outer = TraceFramed(Draw({"###", "###", "###"}));
  EXPECT_EQ(got, outer);
  EXPECT_EQ(marked.at(2, 2), kDarkGreen);
}

TEST(OutlineTest, LargerHoleGetsItsOwnClosedPathInsideIt) {
  const Picture pic = Draw({"#######", "#.....#", "#.....#", "#.....#", "#######"});
  const std::vector<Seg> got = TraceFramed(pic);
  // Split into paths at the jumps; each must be closed.
  std::vector<std::vector<Seg>> paths;
  for (size_t i = 0; i < got.size(); ++i) {
    if (i == 0 || got[i].x1 != got[i - 1].x2 || got[i].y1 != got[i - 1].y2) paths.emplace_back();
    paths.back().push_back(got[i]);
  }
  ASSERT_EQ(paths.size(), 2u);
  for (const auto& path : paths) {
    EXPECT_EQ(path.back().x2, path.front().x1);
    EXPECT_EQ(path.back().y2, path.front().y1);
  }
  // The inner path runs on the hole's border pixels: columns 2..6, rows 2..4.
  for (const Seg& s : paths[1]) {
    for (auto [x, y] : {std::pair{s.x1, s.y1}, std::pair{s.x2, s.y2}}) {
      EXPECT_TRUE(x >= 2 && x <= 6 && y >= 2 && y <= 4) << s;
    }
  }
}

TEST(OutlineTest, DiagonalRunStopsWhereAnOrthogonalNeighbourIsRed) {
  // Red pixels placed directly: a diagonal from (1,1) that could go on to
  // (4,4), but (3,3) has a red neighbour to its right, which is taken first.
  TraceMap map;
  map.resize(6, 6, kMapWhite);
  for (auto [x, y] : {std::pair{1, 1}, {2, 2}, {3, 3}, {4, 4}, {4, 3}}) map.at(x, y) = kMapRed;
  Job job;
  {
    WormTracer tracer(map, job.segments, job.cancelRequested);
    tracer.ScanWurm(1, 1);
  }
  const std::vector<Seg> expected = {{1, 1, 3, 3}, {3, 3, 4, 3}, {4, 3, 4, 4}};
  EXPECT_EQ(Segs(job.segments), expected);
  for (auto [x, y] : {std::pair{1, 1}, {2, 2}, {3, 3}, {4, 4}, {4, 3}})
    EXPECT_EQ(map.at(x, y), kMapGreen);
}

TEST(OutlineTest, IsolatedRedPixelAddsNothingAndTurnsGreen) {
  TraceMap map;
  map.resize(3, 3, kMapWhite);
  map.at(1, 1) = kMapRed;
  Job job;
  job.segments.append(5, 5, 6, 6);  // an earlier path stays untouched
  {
    WormTracer tracer(map, job.segments, job.cancelRequested);
    tracer.ScanWurm(1, 1);
  }
  EXPECT_EQ(Segs(job.segments), (std::vector<Seg>{{5, 5, 6, 6}}));
  EXPECT_EQ(map.at(1, 1), kMapGreen);
  EXPECT_EQ(job.segments.savedCount(), 1);
}

TEST(OutlineTest, SegmentLengthIsTheRoundedDistance) {
  struct Case {
    int32_t x1, y1, x2, y2;
    int64_t length;
  };
  for (const Case& c :
       {Case{0, 0, 0, 0, 0}, Case{3, 4, 7, 4, 4}, Case{2, 9, 2, 1, 8}, Case{1, 1, 2, 2, 1},
        Case{5, 5, 3, 3, 3}, Case{0, 0, 3, 3, 4}, Case{0, 0, 7, 7, 10}, Case{0, 0, 3, 4, 5}}) {
    EXPECT_EQ(SegmentLength(c.x1, c.y1, c.x2, c.y2), c.length)
        << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
  }
}

TEST(OutlineTest, EmptyPictureGivesNoSegments) {
  Picture marked;
  EXPECT_TRUE(TraceFramed(Draw({"....", "...."}), &marked).empty());
  EXPECT_EQ(marked, Framed(Draw({"....", "...."})));
}

TEST(OutlineTest, OtherColoursAreNeverBlackAndKeepTheirValue) {
  // A grey pixel beside an object is a border pixel like white; one away
  // from any object keeps its colour.
  Picture marked;
  const std::vector<Seg> got = TraceFramed(Draw({"g#..g"}), &marked);
  EXPECT_EQ(got, TraceFramed(Draw({".#..."})));
  EXPECT_EQ(marked.at(1, 1), kDarkGreen);
  EXPECT_EQ(marked.at(5, 1), 0xFF808080u);
}

// ---------------------------------------------------------------------------
// Progress and cancel.

TEST(OutlineTest, ReportsEveryRowOfEachPassRoundingTiesToEven) {
  Job job;
  RecordingProgress progress(job);
  Picture result = Framed(Draw({"...", ".#.", "...", "...", "...", "..."}));  // height 8
  ScanOutLine(result, job.segments, job.cancelRequested, progress);
  std::vector<Report> expected;
  // row / 8 * 100: 12.5 -> 12, 37.5 -> 38, 62.5 -> 62, 87.5 -> 88.
  const int pct[] = {0, 12, 25, 38, 50, 62, 75, 88, 100};
  for (int y = 0; y <= 8; ++y) expected.push_back({"Umrisse suchen ...", pct[y]});
  for (int y = 0; y <= 6; ++y) expected.push_back({"Objekte entfernen ...", pct[y]});
  for (int y = 0; y <= 6; ++y) expected.push_back({"Strecken bilden ... ", pct[y]});
  EXPECT_EQ(progress.reports, expected);
}

TEST(OutlineTest, CancelStopsAtTheNextRow) {
  struct Case {
    int cancelAt;  // report number that sets the flag
    bool listEmpty;
  };
  // Framed height 12: pass 1 reports rows 0..12 (reports 1..13), pass 2 rows
  // 0..10 (14..24), pass 3 rows 0..10 (25..35); the first object is traced in
  // row 1 of pass 3.
  for (const Case& c : {Case{1, true}, Case{7, true}, Case{13, true}, Case{20, true},
                        Case{25, true}, Case{26, false}, Case{30, false}}) {
    Job job;
    RecordingProgress progress(job, c.cancelAt);
    Picture result =
        Framed(Draw({"..........", ".####.....", ".####.....", "..........", "..........",
                     "..........", "..........", "......##..", "......##..", ".........."}));
    ScanOutLine(result, job.segments, job.cancelRequested, progress);
    EXPECT_EQ(progress.reports.size(), static_cast<size_t>(c.cancelAt))
        << "cancel at " << c.cancelAt;
    EXPECT_EQ(job.segments.empty(), c.listEmpty) << "cancel at " << c.cancelAt;
  }
}

// ---------------------------------------------------------------------------
// The fast tracer against the literal reference.

struct Outcome {
  std::vector<Seg> segs;
  std::vector<Seg> undo;
  Picture marked;
  std::vector<Report> reports;
};

Outcome RunReference(const Picture& input, int cancelAt) {
  Job job;
  RecordingProgress progress(job, cancelAt);
  Outcome o;
  o.marked = input;
  ReferenceOutline(o.marked, job, progress).Run();
  o.segs = Segs(job.segments);
  o.undo = UndoSegs(job.segments);
  o.reports = progress.reports;
  return o;
}

Outcome RunFast(const Picture& input, int cancelAt) {
  Job job;
  RecordingProgress progress(job, cancelAt);
  Outcome o;
  o.marked = input;
  ScanOutLine(o.marked, job.segments, job.cancelRequested, progress);
  o.segs = Segs(job.segments);
  o.undo = UndoSegs(job.segments);
  o.reports = progress.reports;
  return o;
}

// Fills a picture from the decoder's side: rows bottom-up into the framed sink.
Outcome RunFromSink(const Picture& picture, int cancelAt) {
  TraceMap map;
  FramedTraceMapSink sink(map);
  EXPECT_TRUE(sink.begin(picture.width, picture.height));
  for (int32_t y = picture.height - 1; y >= 0; --y) sink.row(y, &picture.px[y * picture.width]);
  Job job;
  RecordingProgress progress(job, cancelAt);
  ScanOutLine(map, job.segments, job.cancelRequested, progress);
  Outcome o;
  o.marked = Framed(picture);
  StoreTraceMap(map, o.marked);
  o.segs = Segs(job.segments);
  o.undo = UndoSegs(job.segments);
  o.reports = progress.reports;
  return o;
}

void ExpectSame(const Outcome& want, const Outcome& got, const std::string& what) {
  EXPECT_EQ(got.segs, want.segs) << what;
  EXPECT_EQ(got.undo, want.undo) << what;
  EXPECT_TRUE(got.marked == want.marked) << what;
  EXPECT_EQ(got.reports, want.reports) << what;
}

// Random pictures: blobs of black on white at several densities, some with
// stray grey, red or dark green pixels, some with objects on the outer edge
// (no frame) so that the clipped reads at the border are exercised too.
Picture RandomPicture(std::mt19937& rng, bool framed) {
  // Mostly tiny; now and then wide enough for the sixteen-pixel row steps.
  std::uniform_int_distribution<int> size(1, 18);
  std::uniform_int_distribution<int> wide(17, 70);
  Picture p;
  const bool big = std::uniform_int_distribution<int>(0, 4)(rng) == 0;
  p.resize(big ? wide(rng) : size(rng), size(rng), kWhite);
  const int mode = std::uniform_int_distribution<int>(0, 3)(rng);
  std::uniform_real_distribution<double> u(0, 1);
  if (mode == 0) {  // noise
    const double density = u(rng);
    for (uint32_t& v : p.px) v = u(rng) < density ? kBlack : kWhite;
  } else {  // a few filled discs and boxes
    const int n = std::uniform_int_distribution<int>(1, 5)(rng);
    for (int i = 0; i < n; ++i) {
      const double cx = u(rng) * p.width, cy = u(rng) * p.height, r = 0.4 + u(rng) * 8;
      const bool box = mode == 2;
      for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x) {
          const double dx = x - cx, dy = y - cy;
          if (box ? (std::abs(dx) <= r && std::abs(dy) <= r * 0.6) : dx * dx + dy * dy <= r * r)
            p.at(x, y) = kBlack;
        }
    }
    if (mode == 3) {  // punch holes
      for (uint32_t& v : p.px)
        if (u(rng) < 0.1) v = kWhite;
    }
  }
  if (u(rng) < 0.25) {
    const uint32_t stray[] = {0xFF808080u, kRed, kDarkGreen, 0x00000000u};
    for (uint32_t& v : p.px)
      if (u(rng) < 0.08) v = stray[std::uniform_int_distribution<int>(0, 3)(rng)];
  }
  return framed ? Framed(p) : p;
}

TEST(OutlineTest, FastTracerMatchesTheLiteralReference) {
  std::mt19937 rng(20261210);
  for (int i = 0; i < 400; ++i) {
    const bool framed = i % 4 != 3;
    const Picture pic = RandomPicture(rng, framed);
    const Outcome want = RunReference(pic, 0);
    ExpectSame(want, RunFast(pic, 0), "picture " + std::to_string(i));
    if (HasFailure()) return;
  }
}

TEST(OutlineTest, FastTracerMatchesTheReferenceWhenCancelled) {
  std::mt19937 rng(77);
  for (int i = 0; i < 300; ++i) {
    const Picture pic = RandomPicture(rng, i % 3 != 2);
    const int total = 3 * pic.height;  // about the number of reports of a full run
    const int cancelAt = std::uniform_int_distribution<int>(1, total)(rng);
    const Outcome want = RunReference(pic, cancelAt);
    ExpectSame(want, RunFast(pic, cancelAt),
               "picture " + std::to_string(i) + " cancel at " + std::to_string(cancelAt));
    if (HasFailure()) return;
  }
}

TEST(OutlineTest, CompactMapFromTheDecoderGivesTheSameResult) {
  std::mt19937 rng(5);
  for (int i = 0; i < 200; ++i) {
    Picture pic = RandomPicture(rng, false);
    const int cancelAt = i % 5 == 4 ? std::uniform_int_distribution<int>(1, 40)(rng) : 0;
    const Outcome want = RunReference(Framed(pic), cancelAt);
    ExpectSame(want, RunFromSink(pic, cancelAt), "picture " + std::to_string(i));
    if (HasFailure()) return;
  }
}

TEST(OutlineTest, ListGrowsPastTheClassicBankSize) {
  // One black pixel every fourth pixel (their borders do not touch): four
  // records each, 102,400 in all.
  const int32_t n = 160;
  Picture pic;
  pic.resize(4 * n, 4 * n, kWhite);
  for (int32_t j = 0; j < n; ++j)
    for (int32_t i = 0; i < n; ++i) pic.at(4 * i + 1, 4 * j + 1) = kBlack;
  Job job;
  NullProgress progress;
  Picture result = Framed(pic);
  ScanOutLine(result, job.segments, job.cancelRequested, progress);
  ASSERT_EQ(job.segments.count(), 4 * n * n);
  // Paths come row by row of dots, left to right; each is the single-pixel diamond.
  for (int32_t k = 0; k < n * n; ++k) {
    const long double cx = 4 * (k % n) + 2, cy = 4 * (k / n) + 2;
    const std::vector<Seg> want = {{cx, cy - 1, cx - 1, cy},
                                   {cx - 1, cy, cx, cy + 1},
                                   {cx, cy + 1, cx + 1, cy},
                                   {cx + 1, cy, cx, cy - 1}};
    for (int32_t r = 0; r < 4; ++r) {
      const Segment& s = job.segments[4 * k + r];
      ASSERT_EQ((Seg{s.x1, s.y1, s.x2, s.y2}), want[static_cast<size_t>(r)]) << "dot " << k;
    }
  }
  // The undo bank holds the list as it was before the last path.
  EXPECT_EQ(job.segments.savedCount(), 4 * n * n - 4);
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// The conversion dialog's preview: while a view shows the picture, the marks
// made so far appear in it at each repaint; otherwise the picture is left
// alone until the method ends.
TEST(OutlineTest, PreviewSeesTheMarksWhileTheMethodRuns) {
  struct Watcher : ProgressSink {
    bool shows;
    const Picture* picture = nullptr;
    bool sawGreenBeforeTheEnd = false;
    explicit Watcher(bool s) : shows(s) {}
    void report(const std::string& text, int percent) override {
      if (text != kOutlineTraceText || percent != 50) return;
      for (uint32_t p : picture->px) sawGreenBeforeTheEnd |= (p == kDarkGreen);
    }
    bool showsPicture() const override { return shows; }
  };
  for (bool shows : {true, false}) {
    Picture pic;
    pic.resize(40, 40, kWhite);
    for (int y = 3; y < 10; ++y)
      for (int x = 3; x < 37; ++x) pic.at(x, y) = kBlack;
    Job job;
    Watcher w(shows);
    w.picture = &pic;
    ScanOutLine(pic, job.segments, job.cancelRequested, w);
    EXPECT_EQ(w.sawGreenBeforeTheEnd, shows);
    EXPECT_GT(job.segments.count(), 0);
  }
}

}  // namespace
}  // namespace korvane
