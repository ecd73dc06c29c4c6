#include "core/job.h"
#include "contour/centreline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "contour/segs.h"
#include "support/recording_progress.h"

namespace korvane {
namespace {

constexpr uint32_t kGrey = 0xFF808080u;

// The picture as the conversion run hands it over: with a one-pixel white
// frame. '#' black, '.' white, 'g' grey.
Picture Framed(const std::vector<std::string>& rows) {
  Picture p;
  p.resize(static_cast<int32_t>(rows[0].size()) + 2, static_cast<int32_t>(rows.size()) + 2, kWhite);
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) {
      const char c = rows[y][x];
      p.at(static_cast<int32_t>(x) + 1, static_cast<int32_t>(y) + 1) = c == '#'   ? kBlack
                                                                       : c == 'g' ? kGrey
                                                                       : c == 'G' ? kDarkGreen
                                                                                  : kWhite;
    }
  return p;
}

// Black rectangle of columns x0..x1, rows y0..y1 (framed coordinates).
void FillRect(Picture& p, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  for (int32_t y = y0; y <= y1; ++y)
    for (int32_t x = x0; x <= x1; ++x) p.at(x, y) = kBlack;
}

Picture Blank(int32_t w, int32_t h) {
  Picture p;
  p.resize(w, h, kWhite);
  return p;
}

using testing::Seg;
using testing::Segs;

using Recorder = testing::RecordingProgress;

// ---------------------------------------------------------------------------
// Reference: the method exactly as written out, with whole-picture scratch
// copies and whole undo-bank copies per trace. Slow; checks the fast one.
namespace ref {

uint32_t Get(const Picture& p, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return 0x12345678u;
  return p.at(x, y);
}
void Put(Picture& p, int32_t x, int32_t y, uint32_t c) {
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
  p.at(x, y) = c;
}

struct Tracer {
  Picture& result;
  Picture scratch;
  SegmentList& list;
  const bool& cancel;
  std::vector<Segment> undo;
  int32_t saved = 0;

  void SaveUndo() {
    undo.assign(list.data(), list.data() + std::max(list.count(), 1));
    saved = list.count();
  }
  void RestoreUndo() {
    for (int32_t i = 0; i < saved; ++i) list[i] = undo[static_cast<size_t>(i)];
    list.setCount(saved);
  }
  static long double Length(const Segment& s) {
    const long double dx = std::fabs(s.x1) - std::fabs(s.x2);
    const long double dy = std::fabs(s.y1) - std::fabs(s.y2);
    return std::nearbyint(std::sqrt(dx * dx + dy * dy));
  }

  int32_t x = 0, y = 0;
  bool Step(int d) {
    static const int dx[9] = {0, 1, 1, 0, -1, -1, -1, 0, 1};
    static const int dy[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
    Put(scratch, x, y, kDarkGreen);
    if (d % 2 == 0) {
      for (int o : {1, 3, 5, 7})
        if (Get(scratch, x + dx[o], y + dy[o]) == kRed) return false;
    }
    if (Get(scratch, x + dx[d], y + dy[d]) != kRed) return false;
    x += dx[d];
    y += dy[d];
    Put(scratch, x, y, kDarkGreen);
    return true;
  }

  long double Trace(int32_t sx, int32_t sy) {
    const int kUnset = 0, kFinished = 9;
    x = sx;
    y = sy;
    int32_t runX = sx, runY = sy;
    long double len = 0;
    int dir = kUnset;
    enum { kFirst, kStarted, kIsolated } state = kFirst;
    Put(scratch, sx, sy, kDarkGreen);
    do {
      if (dir == kUnset) {
        dir = kFinished;
        for (int d : {1, 3, 5, 7, 8, 6, 4, 2})
          if (Step(d)) {
            dir = d;
            break;
          }
      } else if (!Step(dir)) {
        Segment& last = list[list.count() - 1];
        last.x2 = x;
        last.y2 = y;
        len += Length(last);
        list.append(x, y, -1, -1);
        dir = kUnset;
        runX = x;
        runY = y;
      }
      if (state == kFirst) {
        list.append(runX, runY, -1, -1);
        state = dir != kFinished ? kStarted : kIsolated;
      }
    } while (!cancel && dir != kFinished);
    list.setCount(list.count() - 1);
    if (state != kIsolated && std::abs(x - sx) <= 1 && std::abs(y - sy) <= 1) {
      list.append(x, y, sx, sy);
      len += Length(list[list.count() - 1]);
    }
    return len;
  }

  void ScanWurm(int32_t sx, int32_t sy) {
    scratch = result;
    SaveUndo();
    const long double l1 = Trace(sx, sy);
    int32_t xe = sx;
    while (Get(result, xe, sy) == kRed) ++xe;
    --xe;
    if (xe > sx) {
      RestoreUndo();
      scratch = result;
      const long double l2 = Trace(xe, sy);
      if (l2 < l1) {
        RestoreUndo();
        scratch = result;
        Trace(sx, sy);
      }
    }
    result = scratch;
  }
};

struct Rule {
  int minWidth;
  std::vector<int> black, white;
};
const Rule kRules[9] = {
    {1, {}, {-1, 1}},
    {1, {1}, {-1, 2}},
    {2, {-1, 1}, {-2, 2}},
    {3, {-1, 1, 2}, {-2, 3}},
    {4, {-2, -1, 1, 2}, {-3, 3}},
    {5, {-3, -2, -1, 1, 2}, {-4, 3}},
    {6, {-3, -2, -1, 1, 2, 3}, {-4, 4}},
    {7, {-4, -3, -2, -1, 1, 2, 3}, {-5, 4}},
    {8, {-4, -3, -2, -1, 1, 2, 3, 4}, {-5, 5}},
};

struct Undo {
  int32_t saved = 0;
  std::vector<Segment> records;
};

// Returns the undo bank as the last trace left it.
Undo ScanInline(Picture& img, Job& job, ProgressSink& progress, UserDialogs& ui) {
  const int32_t w = img.width, h = img.height;
  const bool& cancel = job.cancelRequested;
  std::vector<int64_t> counts(36, 0);
  int64_t run = 0;
  const int32_t step = static_cast<int32_t>(std::trunc(job.scanStep));
  for (int32_t y = 0; y < h; y += step) {
    for (int32_t x = 0; x < w; ++x) {
      if (Get(img, x, y) == kWhite) {
        if (run >= 1 && run <= 35) ++counts[run];
        run = 0;
      } else {
        ++run;
      }
      if (cancel) return {};
    }
    progress.report("Linienbreite ...",
                    static_cast<int>(std::nearbyint((long double)(y + step) / h * 100)));
  }
  int width = 0;
  for (int len = 0; len <= 35; ++len)
    if (counts[len] > counts[width]) width = len;
  if (width > 9)
    ui.message("Durchschnittliche Linienbreite zu gross: " + std::to_string(width) + " Punkte");

  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      for (int axis = 0; axis < 2; ++axis) {
        for (const Rule& r : kRules) {
          if (width < r.minWidth || Get(img, x, y) != kBlack) continue;
          bool match = true;
          for (int o : r.black)
            match = match && Get(img, x + (axis ? 0 : o), y + (axis ? o : 0)) == kBlack;
          for (int o : r.white)
            match = match && Get(img, x + (axis ? 0 : o), y + (axis ? o : 0)) == kWhite;
          if (match) img.at(x, y) = kRed;
        }
      }
      if (cancel) return {};
    }
    if (cancel) return {};
    progress.report("Breite reduzieren ...",
                    static_cast<int>(std::nearbyint((long double)(y + 1) / h * 100)));
  }
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x)
      if (img.at(x, y) == kBlack) img.at(x, y) = kWhite;
    progress.report("Schwarz entfernen ...",
                    static_cast<int>(std::nearbyint((long double)(y + 1) / h * 100)));
    if (cancel) return {};
  }
  Tracer t{img, {}, job.segments, cancel, {}, 0};
  for (int32_t y = 0; y <= h - 2; ++y) {
    for (int32_t x = 0; x <= w - 2; ++x) {
      if (img.at(x, y) != kWhite) t.ScanWurm(x, y);
      if (cancel) return {t.saved, t.undo};
    }
    progress.report("Strecken bilden ...",
                    static_cast<int>(std::nearbyint((long double)y / h * 100)));
  }
  return {t.saved, t.undo};
}

}  // namespace ref

struct Outcome {
  std::vector<Seg> segs;
  Picture image;
  std::vector<std::string> messages;
  std::vector<std::pair<std::string, int>> reports;
};

Outcome RunFast(Picture img) {
  Job job;
  FixedAnswers ui;
  Recorder rec;
  ScanInline(img, job.segments, job.scanStep, job.cancelRequested, rec, ui);
  return {Segs(job.segments), std::move(img), ui.messages, rec.calls};
}

// ---------------------------------------------------------------------------

TEST(CentreLine, StrokeWidthAndMessage) {
  struct Case {
    const char* name;
    Picture pic;
    int width;
    bool message;
  };
  std::vector<Case> cases;
  {
    Picture p = Blank(12, 24);  // vertical stroke 3 wide, 20 high
    FillRect(p, 4, 2, 6, 21);
    cases.push_back({"vertical stroke 3 wide", p, 3, false});
  }
  {
    Picture p = Blank(24, 7);  // horizontal stroke 3 high, 20 long
    FillRect(p, 2, 2, 21, 4);
    cases.push_back({"horizontal stroke 3 high", p, 20, true});
  }
  {
    Picture p = Blank(30, 8);  // mostly runs of 12
    FillRect(p, 2, 1, 13, 5);
    FillRect(p, 20, 1, 21, 1);
    cases.push_back({"runs of 12", p, 12, true});
  }
  {
    Picture p = Blank(12, 6);  // one run of 2 and one of 3
    FillRect(p, 1, 1, 2, 1);
    FillRect(p, 5, 3, 7, 3);
    cases.push_back({"tie between 2 and 3", p, 2, false});
  }
  {
    Picture p = Blank(50, 4);  // a run of 36 is not counted, one of 9 is
    FillRect(p, 1, 1, 36, 1);
    FillRect(p, 1, 2, 9, 2);
    cases.push_back({"run beyond 35", p, 9, false});
  }
  {
    Picture p = Blank(50, 4);
    FillRect(p, 1, 1, 10, 1);
    cases.push_back({"just above the limit", p, 10, true});
  }
  cases.push_back({"no black", Blank(5, 5), 0, false});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TraceMap map;
    LoadTraceMap(c.pic, map);
    Job job;
    NullProgress np;
    EXPECT_EQ(MeasureStrokeWidth(map, job.scanStep, job.cancelRequested, np).width, c.width);
    const Outcome out = RunFast(c.pic);
    const std::vector<std::string> want =
        c.message ? std::vector<std::string>{"Durchschnittliche Linienbreite zu gross: " +
                                             std::to_string(c.width) + " Punkte"}
                  : std::vector<std::string>{};
    EXPECT_EQ(out.messages, want);
  }
}

// The strokes of the description, each traced into one straight segment on
// its marked centre.
TEST(CentreLine, StrokesBecomeCentreSegments) {
  struct Case {
    const char* name;
    int32_t w, h, x0, y0, x1, y1;  // picture size and black rectangle (framed)
    std::vector<Seg> want;
  };
  const std::vector<Case> cases = {
      {"vertical, 3 wide: middle column", 12, 24, 4, 2, 6, 21, {{5, 2, 5, 21}}},
      // The trace from the right end of the red row is as long as the one
      // from its left end, so the right end wins.
      {"horizontal, 3 high: middle row", 24, 7, 2, 2, 21, 4, {{21, 3, 2, 3}}},
      {"vertical, 2 wide: left column", 8, 14, 3, 1, 4, 12, {{3, 1, 3, 12}}},
      {"horizontal, 2 high: upper row", 20, 6, 2, 2, 15, 3, {{15, 2, 2, 2}}},
      {"vertical, 1 wide", 5, 12, 2, 1, 2, 10, {{2, 1, 2, 10}}},
      {"vertical, 5 wide: third column", 12, 30, 3, 2, 7, 27, {{5, 2, 5, 27}}},
      {"vertical, 6 wide: fourth column", 14, 30, 3, 2, 8, 27, {{6, 2, 6, 27}}},
      {"vertical, 9 wide: fifth column", 16, 30, 3, 2, 11, 27, {{7, 2, 7, 27}}},
      // Ten wide is never thinned: nothing is left after the black is removed.
      {"vertical, 10 wide", 16, 30, 3, 2, 12, 27, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Picture p = Blank(c.w, c.h);
    FillRect(p, c.x0, c.y0, c.x1, c.y1);
    const Outcome out = RunFast(p);
    EXPECT_EQ(out.segs, c.want);
    // The traced centre is green, everything else white.
    Picture marked = Blank(c.w, c.h);
    for (const Seg& s : c.want)
      for (long double y = std::min(s.y1, s.y2); y <= std::max(s.y1, s.y2); ++y)
        for (long double x = std::min(s.x1, s.x2); x <= std::max(s.x1, s.x2); ++x)
          marked.at(static_cast<int32_t>(x), static_cast<int32_t>(y)) = kDarkGreen;
    EXPECT_EQ(out.image, marked);
  }
}

// A run of n pixels is thinned exactly when n <= 9 and n <= w + 1, and its
// marked pixel sits at a fixed place in the run. The typical width w comes
// from a taller stroke beside the one under test.
TEST(CentreLine, RunsThinnedUpToWidthPlusOne) {
  // Marked pixel of a run of n (1-based), for n = 1..9.
  const int kPosition[10] = {0, 1, 1, 2, 2, 3, 4, 4, 5, 5};
  for (int w = 1; w <= 10; ++w) {
    for (int n = 1; n <= 10; ++n) {
      SCOPED_TRACE("w " + std::to_string(w) + ", n " + std::to_string(n));
      Picture p = Blank(30, 34);
      FillRect(p, 2, 1, 2 + w - 1, 32);  // 32 rows with a run of w
      const int32_t x0 = 15;
      FillRect(p, x0, 3, x0 + n - 1, 12);  // 10 rows with a run of n
      const Outcome out = RunFast(p);
      std::vector<Seg> inStroke;
      for (const Seg& s : out.segs)
        if (s.x1 >= x0) inStroke.push_back(s);
      if (n <= 9 && n <= w + 1) {
        const long double x = x0 + kPosition[n] - 1;
        EXPECT_EQ(inStroke, (std::vector<Seg>{{x, 3, x, 12}}));
      } else {
        EXPECT_EQ(inStroke, std::vector<Seg>{});
      }
    }
  }
}

// A start on a pixel that is not red but has a red neighbour begins at that
// pixel, so the new segments join it; one without red neighbours adds
// nothing and just turns green.
TEST(CentreLine, TraceStartsOnNonRedPixels) {
  struct Case {
    const char* name;
    std::vector<std::string> pic;
    std::vector<Seg> want;
  };
  const std::vector<Case> cases = {
      {"green with a red right neighbour", {".....", ".G###", "....."}, {{2, 2, 5, 2}}},
      {"grey with a red right neighbour", {".....", ".g###", "....."}, {{2, 2, 5, 2}}},
      {"lone green pixel", {"...", ".G.", "..."}, {}},
      {"lone grey pixel", {"...", ".g.", "..."}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome out = RunFast(Framed(c.pic));
    EXPECT_EQ(out.segs, c.want);
    for (uint32_t px : out.image.px) EXPECT_TRUE(px == kWhite || px == kDarkGreen);
  }
}

TEST(CentreLine, ProgressTextsOfAllPasses) {
  Picture p = Blank(6, 8);
  FillRect(p, 2, 1, 2, 6);
  const Outcome out = RunFast(p);
  std::vector<std::pair<std::string, int>> want;
  for (int32_t y = 0; y < 8; ++y)
    want.emplace_back("Linienbreite ...", static_cast<int>(std::nearbyint((y + 1) * 12.5L)));
  for (int32_t y = 0; y < 8; ++y)
    want.emplace_back("Breite reduzieren ...", static_cast<int>(std::nearbyint((y + 1) * 12.5L)));
  for (int32_t y = 0; y < 8; ++y)
    want.emplace_back("Schwarz entfernen ...", static_cast<int>(std::nearbyint((y + 1) * 12.5L)));
  for (int32_t y = 0; y < 7; ++y)
    want.emplace_back("Strecken bilden ...", static_cast<int>(std::nearbyint(y * 12.5L)));
  EXPECT_EQ(out.reports, want);
}

// Cancel arrives while a progress report is shown; the method returns at its
// next polling point with what it has traced so far.
TEST(CentreLine, CancelInEachPass) {
  // Two vertical strokes far apart: the first is traced in row 1, the second
  // starts in row 5.
  Picture p = Blank(10, 12);
  FillRect(p, 2, 1, 2, 10);
  FillRect(p, 6, 5, 6, 10);
  const std::vector<Seg> all = {{2, 1, 2, 10}, {6, 5, 6, 10}};
  struct Case {
    const char* name;
    size_t cancelAt;  // report after which cancel is clicked
    std::vector<Seg> want;
  };
  const std::vector<Case> cases = {
      {"measuring", 3, {}},
      {"marking", 12 + 3, {}},
      {"removing black", 24 + 3, {}},
      {"tracing, after row 2", 36 + 3, {all[0]}},
      {"never", 0, all},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Picture img = p;
    Job job;
    FixedAnswers ui;
    Recorder rec;
    rec.cancelOn(job.cancelRequested, c.cancelAt);
    ScanInline(img, job.segments, job.scanStep, job.cancelRequested, rec, ui);
    EXPECT_EQ(Segs(job.segments), c.want);
    if (c.cancelAt) {
      EXPECT_EQ(rec.calls.size(), c.cancelAt);
    }

    // The reference stops at the same point with the same marks.
    Picture refImg = p;
    Job refJob;
    Recorder refRec;
    refRec.cancelOn(refJob.cancelRequested, c.cancelAt);
    ref::ScanInline(refImg, refJob, refRec, ui);
    EXPECT_EQ(Segs(refJob.segments), c.want);
    EXPECT_EQ(img, refImg);
  }
}

// Random drawings: strokes of 1 to 11 pixels in both directions, blobs,
// speckles and a few pixels of other colours, compared with the reference.
TEST(CentreLine, MatchesReferenceOnRandomDrawings) {
  std::mt19937 rng(20261210);
  for (int iter = 0; iter < 300; ++iter) {
    const int32_t w = 4 + static_cast<int32_t>(rng() % 30);
    const int32_t h = 4 + static_cast<int32_t>(rng() % 30);
    Picture pic = Blank(w + 2, h + 2);
    const int strokes = static_cast<int>(rng() % 8);
    for (int s = 0; s < strokes; ++s) {
      const int32_t thick = 1 + static_cast<int32_t>(rng() % (iter % 3 == 0 ? 11 : 4));
      const int32_t x0 = 1 + static_cast<int32_t>(rng() % w);
      const int32_t y0 = 1 + static_cast<int32_t>(rng() % h);
      const int32_t len = 1 + static_cast<int32_t>(rng() % 25);
      const bool vertical = rng() % 2;
      for (int32_t a = 0; a < len; ++a)
        for (int32_t b = 0; b < thick; ++b) {
          const int32_t x = vertical ? x0 + b : x0 + a, y = vertical ? y0 + a : y0 + b;
          if (x >= 1 && x <= w && y >= 1 && y <= h) pic.at(x, y) = kBlack;
        }
    }
    const int speckles = static_cast<int>(rng() % (w * h / 3 + 1));
    for (int s = 0; s < speckles; ++s) {
      const int32_t x = 1 + static_cast<int32_t>(rng() % w),
                    y = 1 + static_cast<int32_t>(rng() % h);
      const uint32_t r = rng() % 40;
      pic.at(x, y) = r == 0   ? kGrey
                     : r == 1 ? kRed
                     : r == 2 ? kDarkGreen
                     : r < 25 ? kBlack
                              : kWhite;
    }
    SCOPED_TRACE(iter);
    Picture a = pic, b = pic;
    Job ja, jb;
    FixedAnswers ua, ub;
    Recorder ra, rb;
    ScanInline(a, ja.segments, ja.scanStep, ja.cancelRequested, ra, ua);
    const ref::Undo undo = ref::ScanInline(b, jb, rb, ub);
    ASSERT_EQ(Segs(ja.segments), Segs(jb.segments));
    ASSERT_EQ(a, b);
    ASSERT_EQ(ua.messages, ub.messages);
    ASSERT_EQ(ra.calls, rb.calls);
    // The undo bank holds the list as it was before the last start.
    ASSERT_EQ(ja.segments.savedCount(), undo.saved);
    for (int32_t i = 0; i < undo.saved; ++i) {
      const Segment& s = ja.segments.undoBank()[static_cast<size_t>(i)];
      const Segment& r = undo.records[static_cast<size_t>(i)];
      EXPECT_EQ((Seg{s.x1, s.y1, s.x2, s.y2}), (Seg{r.x1, r.y1, r.x2, r.y2}));
    }
    for (int32_t i = 0; i < ja.segments.count(); ++i) EXPECT_FALSE(ja.segments[i].done);
  }
}

}  // namespace
}  // namespace korvane
