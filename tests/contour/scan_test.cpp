#include "core/job.h"
#include "core/parameters.h"
#include "contour/scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "contour/tooldiameter.h"

#include "contour/segs.h"
#include "support/recording_progress.h"

namespace korvane {
namespace {

// '#' black, '.' white, 'g' grey (neither).
Picture Draw(const std::vector<std::string>& rows) {
  Picture p;
  p.resize(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()), kWhite);
  for (int32_t y = 0; y < p.height; ++y)
    for (int32_t x = 0; x < p.width; ++x)
      p.at(x, y) = rows[y][x] == '#' ? kBlack : rows[y][x] == 'g' ? 0xFF808080u : kWhite;
  return p;
}

Picture Filled(int32_t w, int32_t h, uint32_t c) {
  Picture p;
  p.resize(w, h, c);
  return p;
}

using testing::Seg;

std::vector<Seg> Segs(const Job& job) { return testing::Segs(job.segments); }

using Recorder = testing::RecordingProgress;

using ScanFn = void (*)(Picture&, SegmentList&, long double, const bool&, ProgressSink&);

// Lines lie `step` apart (80-bit accumulation), rows are the positions rounded
// ties-to-even, and each line's segment carries the exact position as y.
TEST(SurfaceScan, LinePositionsAndRowsRead) {
  struct Case {
    long double step;
    int32_t height;
    std::vector<long double> positions;  // empty: accumulate `step` below
    std::vector<int32_t> rows;
  };
  const std::vector<Case> cases = {
      {1.0L, 4, {0, 1, 2, 3}, {0, 1, 2, 3}},
      {2.5L, 20, {0, 2.5L, 5, 7.5L, 10, 12.5L, 15, 17.5L}, {0, 2, 5, 8, 10, 12, 15, 18}},
      {0.1L, 3, {}, {}},
      {0.7L, 6, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.step));
    std::vector<long double> positions = c.positions;
    if (positions.empty()) {
      for (long double p = 0; std::rint(p) < c.height; p += c.step) positions.push_back(p);
    }
    const int32_t w = 7;
    Job job;
    job.scanStep = c.step;
    Picture img = Filled(w, c.height, kBlack);
    NullProgress np;
    BMPAbtasten(img, job.segments, job.scanStep, job.cancelRequested, np);
    std::vector<Seg> want;
    for (size_t k = 0; k < positions.size(); ++k) {
      const long double p = positions[k];
      if (k == 0) {
        want.push_back({1, p, static_cast<long double>(w - 2), p});
      } else if (k % 2 == 1) {
        want.push_back({static_cast<long double>(w - 1), p, 1, p});
      } else {
        want.push_back({0, p, static_cast<long double>(w - 2), p});
      }
    }
    EXPECT_EQ(Segs(job), want);
    if (!c.rows.empty()) {
      for (int32_t y = 0; y < c.height; ++y) {
        const bool read = std::find(c.rows.begin(), c.rows.end(), y) != c.rows.end();
        EXPECT_EQ(img.at(3, y), read ? kDarkGreen : kBlack) << "row " << y;
      }
    }
  }
}

TEST(SurfaceScan, PositiveStretchesAndEdges) {
  struct Case {
    const char* name;
    std::vector<std::string> pic;
    std::vector<Seg> want;
  };
  const std::vector<Case> cases = {
      // Column 0 is not examined on the first line, column w-1 neither.
      {"first line skips both edge columns", {"#..##"}, {{3, 0, 3, 0}}},
      {"isolated pixel is a zero-length segment", {".#..."}, {{1, 0, 1, 0}}},
      // Second line runs leftwards from w-1 to 1, third rightwards from 0.
      {"alternating directions",
       {".....", "##.##", "#...#"},
       {{4, 1, 3, 1}, {1, 1, 1, 1}, {0, 2, 0, 2}}},
      {"grey counts as not white", {".g.g."}, {{1, 0, 1, 0}, {3, 0, 3, 0}}},
      {"white picture gives nothing", {".....", "....."}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Job job;
    job.segments.append(9, 9, 9, 9);  // a previous run's leftovers are dropped
    Picture img = Draw(c.pic);
    const Picture before = img;
    NullProgress np;
    BMPAbtasten(img, job.segments, job.scanStep, job.cancelRequested, np);
    EXPECT_EQ(Segs(job), c.want);
    // Exactly the pixels under the segments turn dark green.
    Picture marked = before;
    for (const Seg& s : c.want) {
      const int32_t y = static_cast<int32_t>(s.y1);
      for (long double x = std::min(s.x1, s.x2); x <= std::max(s.x1, s.x2); ++x)
        marked.at(static_cast<int32_t>(x), y) = kDarkGreen;
    }
    EXPECT_EQ(img, marked);
  }
}

TEST(SurfaceScan, NegativeClearsWhiteAndRecolours) {
  NullProgress np;
  {
    Job job;
    Picture img = Draw({"#..##", "..#..", "....."});
    BMPAbtastNeg(img, job.segments, job.scanStep, job.cancelRequested, np);
    const std::vector<Seg> want = {{1, 0, 2, 0}, {4, 1, 3, 1}, {1, 1, 0, 1}, {0, 2, 4, 2}};
    EXPECT_EQ(Segs(job), want);
    // Every examined pixel is recoloured: green on a stretch, white elsewhere.
    const Picture expect = [] {
      Picture p = Draw({".....", ".....", "....."});
      const char* rows[] = {".gg..", "gg.gg", "ggggg"};
      for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) p.at(x, y) = rows[y][x] == 'g' ? kDarkGreen : kWhite;
      return p;
    }();
    EXPECT_EQ(img, expect);
  }
  {
    // Fully black: no segment, the picture turns white.
    Job job;
    Picture img = Filled(4, 3, kBlack);
    BMPAbtastNeg(img, job.segments, job.scanStep, job.cancelRequested, np);
    EXPECT_EQ(job.segments.count(), 0);
    EXPECT_EQ(img, Filled(4, 3, kWhite));
  }
}

// With a spacing below 1 the same row is read again; the negative scan then
// sees its own recolouring and clears what was black the first time.
TEST(SurfaceScan, RowReadTwiceInvertsNegative) {
  Job job;
  job.scanStep = 0.5L;  // positions 0, 0.5, 1, 1.5, 2, 2.5 -> rows 0, 0, 1, 2, 2, 2
  Picture img = Draw({"##..#", ".....", "....."});
  NullProgress np;
  BMPAbtastNeg(img, job.segments, job.scanStep, job.cancelRequested, np);
  const std::vector<Seg> want = {
      {2, 0, 3, 0},        // row 0, first reading: the white stretch
      {4, 0.5L, 4, 0.5L},  // row 0 again, leftwards: black pixel 4, now white
      {1, 0.5L, 0, 0.5L},  // and pixels 0..1
      {0, 1, 4, 1},        // row 1
      {4, 1.5L, 0, 1.5L},  // row 2 (1.5 rounds to 2), now all green
                           // row 2 at p = 2: nothing white, all turns white
      {4, 2.5L, 0, 2.5L},  // row 2 at p = 2.5 (ties to even): all white again
  };
  EXPECT_EQ(Segs(job), want);
}

TEST(SurfaceScan, ProgressPerLine) {
  Job job;
  Picture img = Filled(3, 8, kWhite);
  Recorder rec;
  BMPAbtasten(img, job.segments, job.scanStep, job.cancelRequested, rec);
  // row / 8 * 100 rounded ties-to-even: 12.5 -> 12, 37.5 -> 38, 62.5 -> 62.
  const std::vector<int> want = {12, 25, 38, 50, 62, 75, 88, 100};
  std::vector<int> got;
  for (const auto& [text, pct] : rec.calls) {
    EXPECT_EQ(text, "Abtasten ...");
    got.push_back(pct);
  }
  EXPECT_EQ(got, want);
}

// A cancel click arrives during the progress report at a line end. The
// positive scan examines one more pixel and stops there; an open stretch is
// closed at that pixel. The negative scan stops before the next line.
TEST(SurfaceScan, CancelStopsAtNextPollingPoint) {
  struct Case {
    const char* name;
    ScanFn fn;
    uint32_t fill;
    std::vector<Seg> want;
  };
  const std::vector<Case> cases = {
      {"positive", &BMPAbtasten, kBlack, {{1, 0, 3, 0}, {4, 1, 4, 1}}},
      {"negative", &BMPAbtastNeg, kWhite, {{0, 0, 4, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Job job;
    Recorder rec;
    rec.cancelOn(job.cancelRequested, 1);  // the first report "clicks" cancel
    Picture img = Filled(5, 4, c.fill);
    c.fn(img, job.segments, job.scanStep, job.cancelRequested, rec);
    EXPECT_EQ(Segs(job), c.want);
    EXPECT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(img.at(2, 2), c.fill);  // later lines untouched
  }
}

// Degenerate inputs end cleanly: no endless loop, nothing outside the picture.
TEST(SurfaceScan, DegenerateInputs) {
  struct Case {
    const char* name;
    int32_t w, h;
    long double step;
    size_t maxSegments;
  };
  const std::vector<Case> cases = {
      {"one column", 1, 3, 1, 3},
      {"two columns", 2, 3, 1, 3},
      {"empty picture", 0, 0, 1, 0},
      {"zero step", 5, 3, 0, 1},
      {"negative step", 5, 3, -1, 1},
      {"not a number", 5, 3, std::nanl(""), 1},
      {"infinite step", 5, 3, HUGE_VALL, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (ScanFn fn : {&BMPAbtasten, &BMPAbtastNeg}) {
      Job job;
      job.scanStep = c.step;
      Picture img = Filled(c.w, c.h, fn == &BMPAbtasten ? kBlack : kWhite);
      NullProgress np;
      fn(img, job.segments, job.scanStep, job.cancelRequested, np);
      EXPECT_LE(static_cast<size_t>(job.segments.count()), c.maxSegments);
      for (const Seg& s : Segs(job)) {
        EXPECT_GE(std::min(s.x1, s.x2), 0);
        EXPECT_LE(std::max(s.x1, s.x2), c.w - 1);
      }
    }
  }
}

TEST(ToolDiameter, LineSpacing) {
  struct Case {
    long double diameter, scale, fromDialog, fromScale;
  };
  const std::vector<Case> cases = {
      {3, 0.5L, 6, 6},      {0.01L, 1, 0.1L, 0.1L},
      {0, 0.5L, 1, 0.1L},  // only the dialog treats 0 as "no tool"
      {-3, 1, 0.1L, 0.1L},  {0.3L, 3, 0.1L, 0.1L},
      {1, 4, 0.25L, 0.25L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.diameter));
    EXPECT_EQ(LineSpacingForDiameter(c.diameter, c.scale), c.fromDialog);
    EXPECT_EQ(LineSpacingForScale(c.diameter, c.scale), c.fromScale);
  }
}

TEST(ToolDiameter, DialogFieldRoundTrip) {
  EXPECT_EQ(DiameterFromField("0"), 0);
  EXPECT_EQ(DiameterFromField("2.5"), 2.5L);
  EXPECT_EQ(DiameterFromField("abc"), 0);
  EXPECT_EQ(DiameterFieldText(2.5L), "2.5");
  EXPECT_EQ(DiameterFieldText(3), "3");
}

// Which re-run the two commands ask for, and the spacing they leave behind.
TEST(ToolDiameter, RerunDecisions) {
  struct Case {
    const char* name;
    ContourType type;
    bool accepted;
    std::string before, after;
    ParameterRerun want;
    long double spacing;  // job.lineSpacing afterwards (starts at 7)
  };
  const std::vector<Case> cases = {
      {"unchanged text", ContourType::Scan, true, "3", "3", ParameterRerun::None, 7},
      {"scan", ContourType::Scan, false, "0", "3", ParameterRerun::RescanSurface, 6},
      {"negative scan", ContourType::ScanNegative, true, "0", "3", ParameterRerun::RescanSurface,
       6},
      {"outline accepted", ContourType::Outline, true, "0", "3", ParameterRerun::RebuildProgram, 7},
      {"centre line accepted", ContourType::CentreLine, true, "0", "3",
       ParameterRerun::RebuildProgram, 7},
      {"outline not accepted", ContourType::Outline, false, "0", "3", ParameterRerun::None, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Job job;
    job.contourType = c.type;
    job.contourAccepted = c.accepted;
    job.scale = 0.5L;
    job.lineSpacing = 7;
    EXPECT_EQ(ToolDiameterChanged(job, c.before, c.after, DiameterFromField(c.after)), c.want);
    EXPECT_EQ(job.lineSpacing, c.spacing);
    EXPECT_EQ(job.autoAccept, c.want == ParameterRerun::RescanSurface);
  }
}

TEST(ToolDiameter, ScaleCommandRerun) {
  struct Case {
    const char* name;
    ContourType type;
    bool accepted;
    long double before, after;
    const char* diameter;
    ParameterRerun want;
    long double spacing;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"same scale", ContourType::Scan, true, 0.5L, 0.5L, "3", ParameterRerun::None, 7, ""},
      {"scan", ContourType::Scan, false, 1, 0.5L, "3", ParameterRerun::RescanSurface, 6, "6.0"},
      {"scan, no tool", ContourType::ScanNegative, false, 1, 0.5L, "0",
       ParameterRerun::RescanSurface, 0.1L, "0.1"},
      {"scan, spacing 0.25", ContourType::Scan, false, 1, 4, "1", ParameterRerun::RescanSurface,
       0.25L, "0.3"},
      {"centre line accepted", ContourType::CentreLine, true, 1, 2, "3",
       ParameterRerun::RebuildProgram, 7, ""},
      {"outline not accepted", ContourType::Outline, false, 1, 2, "3", ParameterRerun::None, 7, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Job job;
    job.contourType = c.type;
    job.contourAccepted = c.accepted;
    job.scale = c.after;
    job.lineSpacing = 7;
    std::string text;
    EXPECT_EQ(ScaleChanged(job, c.before, c.diameter, &text), c.want);
    EXPECT_EQ(job.lineSpacing, c.spacing);
    EXPECT_EQ(text, c.text);
  }
}

}  // namespace
}  // namespace korvane
