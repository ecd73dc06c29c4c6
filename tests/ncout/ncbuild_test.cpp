#include "core/job.h"
#include "core/convert.h"
#include "ncout/ncbuild.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/numtext.h"
#include "support/recording_progress.h"

namespace korvane {
namespace {

using Lines = std::vector<std::string>;

void SetTemplate(Job& job, TemplateKind kind, const Lines& lines) {
  auto& t = job.active.templates[kind];
  for (auto& line : t) line.clear();
  for (size_t i = 0; i < lines.size(); ++i) t[i] = lines[i];
}

// The worked example: block templates of a plain G-code profile, R 5, Z -1,
// feeds 100 and 300, point with 3 decimals and no trailing zeros, scale 0.5,
// join gap 1, two paths from three segments.
Job ExampleJob() {
  Job job;
  SetTemplate(job, kSynS, {"%", "G90"});
  SetTemplate(job, kSynR, {"G0 Z[#RVAL]"});
  SetTemplate(job, kSynA, {"G0 X[#XVAL] Y[#YVAL]"});
  SetTemplate(job, kSynZ, {"G1 Z[#ZVAL] F[#F1VAL]"});
  SetTemplate(job, kSynXY, {"G1 X[#XVAL] Y[#YVAL] F[#F2VAL]"});
  SetTemplate(job, kSynE, {"M30"});
  job.active.REbene = "5";
  job.active.ZEbene = "-1";
  job.active.VorschubZ = "100";
  job.active.VorschubXY = "300";
  job.active.format.Dezipunkt = true;
  job.active.format.Nachkommastellen = 3;
  job.scale = 0.5L;
  job.joinGap = 1;
  job.segments.append(10, 20, 12, 20);
  job.segments.append(12, 20, 12, 24);
  job.segments.append(30, 4, 31, 4);
  job.rect = FindWayRect(job.segments);
  return job;
}

const LineStore kExampleNC = {"%",
                          "G90",
                          "G0 Z5",
                          "G0 X5 Y-10",
                          "G1 Z-1 F100",
                          "G1 X6 Y-10 F300",
                          "G1 X6 Y-12 F300",
                          "G0 Z5",
                          "G0 X15 Y-2",
                          "G1 Z-1 F100",
                          "G1 X15.5 Y-2 F300",
                          "G0 Z5",
                          "M30"};
const LineStore kExampleMoves = {"8;0;5;-1",        "0;5.000;-10.000", "1;6.000;-10.000",
                             "1;6.000;-12.000", "0;15.000;-2.000", "1;15.500;-2.000"};

int64_t NonBlankChars(const LineStore& lines) {
  int64_t n = 0;
  for (const auto& l : lines) {
    for (char c : l) n += c != ' ';
  }
  return n;
}

using Recorder = testing::RecordingProgress;

TEST(ConvertToNC, WorkedExample) {
  Job job = ExampleJob();
  job.segments[1].done = true;
  Recorder progress;
  const NCBuildResult r = ConvertToNC(job, progress);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(job.ncLines, kExampleNC);
  EXPECT_EQ(job.moveList, kExampleMoves);
  EXPECT_EQ(job.ncLineCount, static_cast<int64_t>(kExampleNC.size()));
  EXPECT_EQ(job.ncCharCount, NonBlankChars(kExampleNC));
  EXPECT_EQ(job.ncSegmentCount, 3);
  // Extents: X of minX and maxX, Y of minY (the larger) and maxY.
  EXPECT_EQ(job.extents.xMin, 5.0L);
  EXPECT_EQ(job.extents.xMax, 15.5L);
  EXPECT_EQ(job.extents.yMin, -2.0L);
  EXPECT_EQ(job.extents.yMax, -12.0L);
  // Done marks are as before the build.
  EXPECT_FALSE(job.segments[0].done);
  EXPECT_TRUE(job.segments[1].done);
  EXPECT_FALSE(job.segments[2].done);
  EXPECT_FALSE(job.ncBusy);
  const std::vector<std::pair<std::string, int>> expected = {{kBuildProgressText, 33},
                                                             {kBuildProgressText, 67},
                                                             {kBuildProgressText, 100},
                                                             {kMovesReadText, 0}};
  EXPECT_EQ(progress.calls, expected);
}

TEST(ConvertToNC, ProgressRoundsHalvesToEven) {
  Job job = ExampleJob();
  job.segments.clear();
  for (int i = 0; i < 8; ++i) job.segments.append(i, 0, i + 1, 0);
  Recorder progress;
  ASSERT_TRUE(ConvertToNC(job, progress).ok());
  std::vector<int> percents;
  for (const auto& c : progress.calls)
    if (c.first == kBuildProgressText) percents.push_back(c.second);
  EXPECT_EQ(percents, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
}

TEST(ConvertToNC, OffsetsAndFlippedY) {
  Job job = ExampleJob();
  job.segments.clear();
  job.segments.append(0, 0, 2, 4);
  job.rect = FindWayRect(job.segments);
  job.xOffsetText = " 10 ";
  job.yOffsetText = "20.25";
  NullProgress progress;
  ASSERT_TRUE(ConvertToNC(job, progress).ok());
  EXPECT_EQ(job.moveList, (LineStore{"8;0;5;-1", "0;10.000;20.250", "1;11.000;18.250"}));
  EXPECT_EQ(job.ncLines[3], "G0 X10 Y20.25");
  EXPECT_EQ(job.ncLines[5], "G1 X11 Y18.25 F300");
  EXPECT_EQ(job.extents.yMin, 20.25L);
  EXPECT_EQ(job.extents.yMax, 18.25L);
}

TEST(ConvertToNC, JoinGapBridgesOrLifts) {
  struct Case {
    int32_t gap;
    long double dx, dy;  // second segment's start relative to the first one's end
    bool lifts;
  };
  const Case cases[] = {
      {0, 0, 0, false},   {0, 1, 0, true},   {1, 1, 0, false}, {1, 1, 1, false},
      {1, -1, 1, false},  {1, 0, -1, false}, {1, 2, 0, true},  {1, 0, 2, true},
      {1, 1.5L, 0, true}, {3, -3, 3, false}, {-1, 0, 0, true},
  };
  for (const auto& c : cases) {
    Job job = ExampleJob();
    job.joinGap = c.gap;
    job.segments.clear();
    job.segments.append(10, 10, 20, 10);
    job.segments.append(20 + c.dx, 10 + c.dy, 30, 12);
    NullProgress progress;
    ASSERT_TRUE(ConvertToNC(job, progress).ok());
    LineStore moves = {"8;0;5;-1", "0;5.000;-5.000", "1;10.000;-5.000"};
    if (c.lifts) {
      moves.push_back("0;" + FormatFixed((20 + c.dx) * 0.5L, 3) + ";" +
                      FormatFixed(-(10 + c.dy) * 0.5L, 3));
    }
    moves.push_back("1;15.000;-6.000");
    EXPECT_EQ(job.moveList, moves) << "gap " << c.gap << " dx " << static_cast<double>(c.dx)
                                   << " dy " << static_cast<double>(c.dy);
    // A lift repeats retract, approach and plunge before the feed.
    EXPECT_EQ(job.ncLines.size(), c.lifts ? 12u : 9u);
  }
}

TEST(ConvertToNC, FirstSegmentAlwaysStartsAPath) {
  Job job = ExampleJob();
  job.joinGap = 2000000000;
  NullProgress progress;
  ASSERT_TRUE(ConvertToNC(job, progress).ok());
  ASSERT_GE(job.moveList.size(), 2u);
  EXPECT_EQ(job.moveList[1], "0;5.000;-10.000");
  EXPECT_EQ(std::count(job.moveList.begin(), job.moveList.end(), "0;15.000;-2.000"), 0);
}

TEST(ConvertToNC, PlaceholderRules) {
  Job job = ExampleJob();
  job.segments.setCount(1);
  job.active.REbene = "5.0";
  job.active.VorschubXY = "F-x";
  SetTemplate(job, kSynS, {"S[#XVAL]|[#YVAL]|[#ZVAL]|[#RVAL]", "", "T[#F1VAL][#F1VAL][#F1VAL]"});
  SetTemplate(job, kSynXY, {"[#XVAL][#XVAL][#XVAL]", "", "", "[#F2VAL] [#YVAL]"});
  NullProgress progress;
  ASSERT_TRUE(ConvertToNC(job, progress).ok());
  const LineStore expected = {"S||-1|5",   "T100100[#F1VAL]", "G0 Z5", "G0 X5 Y-10",
                              "G1 Z-1 F100", "66[#XVAL]", "F-x -10", "G0 Z5", "M30"};
  EXPECT_EQ(job.ncLines, expected);
  // The header keeps R and Z as typed.
  EXPECT_EQ(job.moveList[0], "8;0;5.0;-1");
}

TEST(ConvertToNC, EmptyListWritesOnlyRetractAndEnd) {
  Job job = ExampleJob();
  job.segments.clear();
  job.rect = FindWayRect(job.segments);
  SetTemplate(job, kSynR, {"G0 Z[#RVAL] X[#XVAL]"});
  SetTemplate(job, kSynE, {"M30 [#YVAL][#ZVAL]", "[#F1VAL]"});
  NullProgress progress;
  ASSERT_TRUE(ConvertToNC(job, progress).ok());
  EXPECT_EQ(job.ncLines, (LineStore{"G0 Z X", "M30 ", "100"}));
  EXPECT_TRUE(job.moveList.empty());
  EXPECT_EQ(job.ncSegmentCount, 0);
}

TEST(ConvertToNC, NumberingStartsPerBuildAndEmptyListContinues) {
  Job job = ExampleJob();
  job.active.Satznum = true;
  job.active.format.Satzzeichen = "N";
  job.active.format.Start = 10;
  job.active.format.Schritt = 10;
  SetTemplate(job, kSynS, {"-%", "G90"});
  NullProgress progress;

  Job first = job;
  first.segments.clear();
  ASSERT_TRUE(ConvertToNC(first, progress).ok());
  EXPECT_EQ(first.ncLines, (LineStore{"N0 G0 Z", "N10 M30"}));

  for (int build = 0; build < 2; ++build) {
    ASSERT_TRUE(ConvertToNC(job, progress).ok());
    ASSERT_EQ(job.ncLines.size(), kExampleNC.size());
    EXPECT_EQ(job.ncLines[0], "%");
    // Every other line is numbered from Start in steps of Schritt.
    for (size_t i = 1; i < kExampleNC.size(); ++i) {
      EXPECT_EQ(job.ncLines[i], "N" + std::to_string(i * 10) + " " + std::string(kExampleNC[i]));
    }
    // Block numbers count neither as characters nor the dropped "-".
    EXPECT_EQ(job.ncCharCount, NonBlankChars(kExampleNC));
  }
  const std::string last(job.ncLines.back());

  job.segments.clear();
  ASSERT_TRUE(ConvertToNC(job, progress).ok());
  const int32_t next = static_cast<int32_t>(kExampleNC.size()) * 10;
  EXPECT_EQ(job.ncLines, (LineStore{"N" + std::to_string(next) + " G0 Z",
                                "N" + std::to_string(next + 10) + " M30"}));
  EXPECT_EQ(last, "N" + std::to_string(next - 10) + " M30");
}

TEST(ConvertToNC, NonNumericRetractOrDepthFailsQuietly) {
  struct Case {
    const char* r;
    const char* z;
    const char* bad;
  };
  const Case cases[] = {{"", "-1", ""},       {"5", "-", "-"},     {"5", "", ""},
                        {"abc", "-1", "abc"}, {"5", "1,5", "1,5"}, {"x", "y", "y"}};
  for (const auto& c : cases) {
    Job job = ExampleJob();
    job.active.REbene = c.r;
    job.active.ZEbene = c.z;
    job.ncLines = {"old"};
    job.ncCharCount = 77;
    job.ncLineCount = 7;
    job.ncSegmentCount = 5;
    Recorder progress;
    const NCBuildResult r = ConvertToNC(job, progress);
    EXPECT_EQ(r.status, NCBuildStatus::Failed) << c.r << "/" << c.z;
    EXPECT_EQ(r.error, NotANumberText(c.bad));
    EXPECT_TRUE(job.ncLines.empty());
    EXPECT_EQ(job.moveList, (LineStore{std::string("8;0;") + c.r + ";" + c.z}));
    EXPECT_EQ(job.ncCharCount, 77);
    EXPECT_EQ(job.ncLineCount, 7);
    EXPECT_EQ(job.ncSegmentCount, 5);
    EXPECT_TRUE(progress.calls.empty());
    EXPECT_FALSE(job.ncBusy);

    // Without segments R and Z are never read: the build succeeds.
    job.segments.clear();
    EXPECT_TRUE(ConvertToNC(job, progress).ok());
  }
}

TEST(ConvertToNC, NonNumericOffsetFailsBeforeAnyLine) {
  for (const char* text : {"", "1,5", "x"}) {
    Job job = ExampleJob();
    job.yOffsetText = text;
    NullProgress progress;
    const NCBuildResult r = ConvertToNC(job, progress);
    EXPECT_EQ(r.status, NCBuildStatus::Failed);
    EXPECT_EQ(r.error, NotANumberText(text));
    EXPECT_TRUE(job.ncLines.empty());
    EXPECT_TRUE(job.moveList.empty());
    EXPECT_FALSE(job.ncBusy);
  }
}

// A progress report that processes a click which starts another build.
class ReentrantProgress : public ProgressSink {
 public:
  explicit ReentrantProgress(Job& job) : job_(job) {}
  void report(const std::string&, int) override {
    NullProgress inner;
    statuses.push_back(ConvertToNC(job_, inner).status);
  }
  std::vector<NCBuildStatus> statuses;

 private:
  Job& job_;
};

TEST(ConvertToNC, ReentrantCallDuringBuildDoesNothing) {
  Job job = ExampleJob();
  ReentrantProgress progress(job);
  ASSERT_TRUE(ConvertToNC(job, progress).ok());
  EXPECT_EQ(progress.statuses, std::vector<NCBuildStatus>(4, NCBuildStatus::Busy));
  EXPECT_EQ(job.ncLines, kExampleNC);
  EXPECT_EQ(job.moveList, kExampleMoves);
  // Once idle again, a build runs.
  NullProgress quiet;
  EXPECT_TRUE(ConvertToNC(job, quiet).ok());
}

}  // namespace
}  // namespace korvane
