#include "sim/movelist.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/convert.h"
#include "sim/interpreter.h"
#include "sim/movequery.h"
#include "sim/recording.h"

namespace korvane {
namespace {

using testing::Move;
using testing::RecordingSink;
using Lines = LineStore;

std::vector<Move> Replay(const Lines& lines, std::string* error = nullptr) {
  RecordingSink sink;
  MoveInterpreter interp(sink);
  interp.reset();
  for (std::string_view l : lines) {
    if (!interp.Paintway(l, error)) break;
  }
  return sink.moves;
}

// The same replay through the parsed records.
std::vector<Move> ReplayRecords(const Lines& lines, std::string* error = nullptr) {
  RecordingSink sink;
  MoveInterpreter interp(sink);
  interp.reset();
  const MoveList list(lines);
  for (const MoveRecord& r : list.records()) {
    if (!interp.Paintway(r, list, error)) break;
  }
  return sink.moves;
}

TEST(MoveListWriter, MatchesTheBuildersLines) {
  Job job;
  job.active.REbene = "2.5";
  job.active.ZEbene = "-0.75";
  job.active.templates[kSynA][0] = "G0 X[#XVAL] Y[#YVAL]";
  job.active.templates[kSynXY][0] = "G1 X[#XVAL] Y[#YVAL]";
  job.scale = 0.1L;
  job.joinGap = 1;
  job.xOffsetText = "-3.3335";
  job.yOffsetText = "7";
  // Two paths; coordinates that round at the third decimal, both signs.
  job.segments.append(0.5L, 0, 10.25L, 3);
  job.segments.append(10.25L, 3, 12, 44.4445L);
  job.segments.append(100, 200, 33.33335L, 0);
  job.rect = FindWayRect(job.segments);
  NullProgress progress;
  ASSERT_TRUE(ConvertToNC(job, progress).ok());

  const auto mx = [&](long double x) { return x * job.scale - 3.3335L; };
  const auto my = [&](long double y) { return -y * job.scale + 7; };
  const Lines expected = {HeaderLine("2.5", "-0.75"),
                          RapidLine(mx(0.5L), my(0)),
                          FeedLine(mx(10.25L), my(3)),
                          FeedLine(mx(12), my(44.4445L)),
                          RapidLine(mx(100), my(200)),
                          FeedLine(mx(33.33335L), my(0))};
  EXPECT_EQ(job.moveList, expected);
  // Each move points at the NC line that makes it; the header at the first.
  EXPECT_EQ(job.moveLines, (std::vector<int32_t>{0, 0, 1, 2, 3, 4}));
  ASSERT_EQ(job.ncLines.size(), 5u);
  EXPECT_EQ(job.ncLines[0].substr(0, 2), "G0");
  EXPECT_EQ(job.ncLines[3].substr(0, 2), "G0");
  EXPECT_EQ(job.ncLines[4].substr(0, 2), "G1");
  EXPECT_EQ(job.moveRecords.size(), expected.size());
  EXPECT_EQ(HeaderLine("5", "-1"), "8;0;5;-1");
  EXPECT_EQ(RapidLine(5, -10), "0;5.000;-10.000");
  EXPECT_EQ(FeedLine(15.5L, -0.0004L), "1;15.500;-0.000");
}

TEST(GetPos, SplitsAndReadsFields) {
  struct Case {
    const char* line;
    long double f1, f2;
    bool hasF3;
    long double f3;
    const char* error;
  } cases[] = {
      {"8;0;5;-1", 0, 5, true, -1, ""},
      {"8;0;5;", 0, 5, false, 0, ""},           // empty Z: no third field
      {"0;5.000;-10.000", 5, -10, false, 0, ""},
      {"1;1e2;+2.5", 100, 2.5, false, 0, ""},
      {"0x4;7", 4, 7, false, 0, ""},            // the separator is not looked at
      {"8;0;;-1", 0, 0, false, 0, "'' ist kein gültiger Gleitkommawert"},
      {"1;1,5;2", 0, 0, false, 0, "'1,5' ist kein gültiger Gleitkommawert"},
      {"1;3", 3, 0, false, 0, "'' ist kein gültiger Gleitkommawert"},
      {"8;0;5;x", 0, 5, false, 0, "'x' ist kein gültiger Gleitkommawert"},
      {"1", 0, 0, false, 0, "'' ist kein gültiger Gleitkommawert"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const LineFields f = GetPos(c.line);
    EXPECT_EQ(f.error, c.error);
    if (!f.ok()) continue;
    EXPECT_EQ(f.f1, c.f1);
    EXPECT_EQ(f.f2, c.f2);
    ASSERT_EQ(f.f3.has_value(), c.hasF3);
    if (c.hasF3) {
      EXPECT_EQ(*f.f3, c.f3);
    }
  }
}

TEST(Paintway, BuildersExampleGivesTenMoves) {
  const Lines lines = {"8;0;5;-1",        "0;5.000;-10.000", "1;6.000;-10.000",
                       "1;6.000;-12.000", "0;15.000;-2.000", "1;15.500;-2.000"};
  const std::vector<Move> expected = {
      {'P', {0, 0, 0}, {0, 0, 0}},           {'R', {0, 0, 0}, {5, -10, 0}},
      {'R', {5, -10, 0}, {5, -10, 5}},       {'F', {5, -10, 5}, {5, -10, -1}},
      {'F', {5, -10, -1}, {6, -10, -1}},     {'F', {6, -10, -1}, {6, -12, -1}},
      {'R', {6, -12, -1}, {6, -12, 5}},      {'R', {6, -12, 5}, {15, -2, 5}},
      {'F', {15, -2, 5}, {15, -2, -1}},      {'F', {15, -2, -1}, {15.5L, -2, -1}},
  };
  EXPECT_EQ(Replay(lines), expected);
  EXPECT_EQ(ReplayRecords(lines), expected);
}

TEST(Paintway, EdgeCases) {
  struct Case {
    const char* name;
    Lines lines;
    std::vector<Move> moves;
    const char* error;
  } cases[] = {
      {"header only", {"8;0;5;-1"}, {{'P', {0, 0, 0}, {0, 0, 0}}}, ""},
      {"header with a start height", {"8;7;5;-1"}, {{'P', {0, 0, 7}, {0, 0, 7}}}, ""},
      {"two feed lines in a row: no vertical move between",
       {"8;0;5;-1", "1;1;0", "1;2;0"},
       {{'P', {0, 0, 0}, {0, 0, 0}},
        {'R', {0, 0, 0}, {0, 0, 5}},
        {'F', {0, 0, 5}, {0, 0, -1}},
        {'F', {0, 0, -1}, {1, 0, -1}},
        {'F', {1, 0, -1}, {2, 0, -1}}},
       ""},
      {"empty Z: depth stays 0, so the plunge is no move",
       {"8;0;5;", "0;1;1", "1;2;1"},
       {{'P', {0, 0, 0}, {0, 0, 0}},
        {'R', {0, 0, 0}, {1, 1, 0}},
        {'R', {1, 1, 0}, {1, 1, 5}},
        {'F', {1, 1, 5}, {1, 1, 0}},
        {'F', {1, 1, 0}, {2, 1, 0}}},
       ""},
      {"retract height 0 equals the start height: a zero-length rapid move before each plunge",
       {"8;0;0;-1", "0;1;0", "1;2;0", "0;3;0", "1;4;0"},
       {{'P', {0, 0, 0}, {0, 0, 0}},
        {'R', {0, 0, 0}, {1, 0, 0}},
        {'R', {1, 0, 0}, {1, 0, 0}},
        {'F', {1, 0, 0}, {1, 0, -1}},
        {'F', {1, 0, -1}, {2, 0, -1}},
        {'R', {2, 0, -1}, {2, 0, 0}},
        {'R', {2, 0, 0}, {3, 0, 0}},
        {'R', {3, 0, 0}, {3, 0, 0}},
        {'F', {3, 0, 0}, {3, 0, -1}},
        {'F', {3, 0, -1}, {4, 0, -1}}},
       ""},
      {"empty R stops at the header", {"8;0;;-1", "0;1;1", "1;2;2"}, {},
       "'' ist kein gültiger Gleitkommawert"},
      {"unknown kinds and empty lines are skipped", {"", "9;1;1", "8;0;5;-1"},
       {{'P', {0, 0, 0}, {0, 0, 0}}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error, recordError;
    EXPECT_EQ(Replay(c.lines, &error), c.moves);
    EXPECT_EQ(ReplayRecords(c.lines, &recordError), c.moves);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(recordError, c.error);
  }
}

TEST(MoveList, RecordsStayCompact) {
  EXPECT_LE(sizeof(MoveRecord), 64u);
  const MoveList list(Lines{"8;0;5;-1", "0;1;2", "x", "1;3;4"});
  ASSERT_EQ(list.size(), 4u);
  for (size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list.records()[i].source, int32_t(i));
  EXPECT_EQ(list.records()[2].kind, MoveKind::Other);
}

const Lines kExample = {"8;0;5;-1",        "0;5.000;-10.000", "1;6.000;-10.000",
                        "1;6.000;-12.000", "0;15.000;-2.000", "1;15.500;-2.000"};

TEST(MovePaths, LengthsOfFeedAndRapidMoves) {
  const PathLengths l = MeasurePaths(MoveList(kExample));
  EXPECT_TRUE(l.ok);
  EXPECT_NEAR(double(l.feed), 6 + 1 + 2 + 6 + 0.5, 1e-12);
  EXPECT_NEAR(double(l.rapid), std::sqrt(125.0) + 5 + 6 + std::sqrt(181.0), 1e-12);
  EXPECT_FALSE(MeasurePaths(MoveList(Lines{"8;0;;-1", "0;1;1"})).ok);
}

TEST(MovePaths, NearestLineToAPixel) {
  View3D v;  // seen from above, X right, Y up
  v.setSurfaceSize(800, 600);
  v.SetWorldBox(0, -15, -1, 20, 5, 5);
  const MoveList list(kExample);
  const Pixel mid = v.Project(5.5L, -10, -1);  // on the first feed move
  EXPECT_EQ(NearestLine(list, v, mid.x, mid.y, true, 3), 2);
  const Pixel far = v.Project(10.5L, -7, 5);  // on the rapid move to the second path
  EXPECT_EQ(NearestLine(list, v, far.x, far.y, true, 3), 4);
  EXPECT_EQ(NearestLine(list, v, far.x, far.y, false, 3), -1) << "hidden rapid moves do not count";
}

TEST(MovePaths, MoveOfALine) {
  const MoveList list(kExample);
  struct Case {
    int32_t line;
    bool found;
    Point3 from, to;
  } cases[] = {
      {2, true, {5, -10, -1}, {6, -10, -1}},  // feed: the move in the plane, not the plunge
      {4, true, {6, -12, 5}, {15, -2, 5}},    // rapid: the move after the retract
      {0, false, {}, {}},                     // the header makes no move
      {6, false, {}, {}},
      {-1, false, {}, {}},
  };
  for (const Case& c : cases) {
    const std::optional<MoveSpan> m = MoveOfLine(list, c.line);
    ASSERT_EQ(m.has_value(), c.found) << c.line;
    if (!m) continue;
    EXPECT_TRUE(m->from == c.from && m->to == c.to) << c.line;
  }
  EXPECT_FALSE(MoveOfLine(MoveList(Lines{"8;0;;-1", "0;1;1"}), 1)) << "stops at an unreadable line";
}

class CountingHooks : public PassHooks {
 public:
  bool slowMode() override { return slow; }
  int pausePerLine() override { return pause; }
  void delay(int ms) override { delays.push_back(ms); }
  void processEvents() override { processedAt.push_back(lines); }
  void lineDone(const MoveRecord&) override { ++lines; }
  bool slow = false;
  int pause = 0;
  int lines = 0;
  std::vector<int> delays;
  std::vector<int> processedAt;
};

TEST(ReplayMoveList, PausesInSlowModeAndProcessesEventsEveryThousandLines) {
  Lines lines = {"8;0;5;-1"};
  for (int i = 0; i < 2100; ++i) lines.push_back("1;" + std::to_string(i) + ";0");
  const MoveList list(lines);
  RecordingSink sink;
  MoveInterpreter interp(sink);

  CountingHooks fast;
  interp.reset();
  EXPECT_TRUE(ReplayMoveList(list, interp, fast).ok);
  EXPECT_TRUE(fast.delays.empty());
  EXPECT_EQ(fast.processedAt, (std::vector<int>{1, 1001, 2001}));  // after lines 0, 1000, 2000

  CountingHooks slow;
  slow.slow = true;
  slow.pause = 7;
  interp.reset();
  EXPECT_TRUE(ReplayMoveList(list, interp, slow).ok);
  EXPECT_EQ(slow.delays, std::vector<int>(lines.size(), 7));
}

TEST(ReplayMoveList, StopsAtTheUnreadableLineAndKeepsWhatWasDrawn) {
  const MoveList list(Lines{"8;0;5;-1", "0;1;1", "1;zz;1", "1;3;3"});
  RecordingSink sink;
  MoveInterpreter interp(sink);
  interp.reset();
  CountingHooks hooks;
  const ReplayResult r = ReplayMoveList(list, interp, hooks);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.failedLine, 2);
  EXPECT_EQ(r.error, "'zz' ist kein gültiger Gleitkommawert");
  EXPECT_EQ(sink.moves.size(), 2u);
  EXPECT_EQ(hooks.lines, 2);
}

}  // namespace
}  // namespace korvane
