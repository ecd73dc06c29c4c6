#include "core/job.h"
#include "core/parameters.h"
#include "ncout/outparams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "base/numtext.h"

namespace korvane {
namespace {

Job JobWithPicture(int32_t w, int32_t h, long double scale) {
  Job job;
  job.working.resize(w, h, kWhite);
  job.scale = scale;
  return job;
}

// ---------------------------------------------------------------- position

struct PlacementCase {
  Placement p;
  const char* startX;
  const char* startY;
  const char* endX;
  const char* endY;
};

TEST(Position, PlacementsOfA200x100PictureAtHalfMillimetre) {
  const PlacementCase cases[] = {
      {Placement::kCentre, "-50.0", "25.0", "50.0", "-25.0"},
      {Placement::kTopLeft, "0.0", "0.0", "100.0", "-50.0"},
      {Placement::kBottomLeft, "0.0", "50.0", "100.0", "0.0"},
      {Placement::kBottomRight, "-100.0", "50.0", "0.0", "0.0"},
      {Placement::kTopRight, "-100.0", "0.0", "0.0", "-50.0"},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.p));
    Job job = JobWithPicture(200, 100, 0.5L);
    job.xOffsetText = "7.0";  // whatever was there before
    job.yOffsetText = "8.0";
    PositionDialogModel m;
    m.show({job.xOffsetText, job.yOffsetText}, job.scale, 200, 100);
    m.place(c.p);
    EXPECT_EQ(m.placement(), c.p);
    EXPECT_EQ(m.endXText(), c.endX);
    EXPECT_EQ(m.endYText(), c.endY);
    SetOffsets(job, m.apply());
    EXPECT_EQ(job.xOffsetText, c.startX);
    EXPECT_EQ(job.yOffsetText, c.startY);
  }
}

TEST(Position, ShowReadsTheOffsetsAndEditsMoveTheEnd) {
  Job job = JobWithPicture(200, 100, 0.5L);
  job.xOffsetText = "10.0";
  job.yOffsetText = "-4.5";
  PositionDialogModel m;
  m.show({job.xOffsetText, job.yOffsetText}, job.scale, 200, 100);
  EXPECT_EQ(m.endXText(), "110.0");
  EXPECT_EQ(m.endYText(), "-54.5");
  m.setStartX(-20.5L);
  EXPECT_EQ(m.endXText(), "79.5");
  EXPECT_EQ(m.endYText(), "-54.5");
  m.setStartY(1e9L);  // beyond the field's range
  EXPECT_EQ(m.start().y, PositionDialogModel::kMax);
  SetOffsets(job, m.apply());
  EXPECT_EQ(job.xOffsetText, "-20.5");
  EXPECT_EQ(job.yOffsetText, "9999999.0");
}

TEST(Position, StartHoldsWhatTheFieldShows) {
  // 7 x 0.1 mm: the centre is at -0.35, shown and kept as -0.4; the end
  // follows from the shown start.
  Job job = JobWithPicture(7, 1, 0.1L);
  PositionDialogModel m;
  m.show({job.xOffsetText, job.yOffsetText}, job.scale, 7, 1);
  m.place(Placement::kCentre);
  EXPECT_EQ(m.start().x, ParseNumber("-0.4"));
  EXPECT_EQ(m.endXText(), "0.3");
  SetOffsets(job, m.apply());
  EXPECT_EQ(job.xOffsetText, CentreOffsets(job).x);
  // A typed value arrives as a binary double and is kept as its decimal.
  m.setStartX(static_cast<double>(0.3));
  EXPECT_EQ(m.start().x, ParseNumber("0.3"));
}

TEST(Position, UnreadableOffsetCountsAsZero) {
  Job job = JobWithPicture(10, 10, 1.0L);
  job.xOffsetText = "abc";
  job.yOffsetText = "";
  PositionDialogModel m;
  m.show({job.xOffsetText, job.yOffsetText}, job.scale, 10, 10);
  EXPECT_EQ(m.start().x, 0.0L);
  EXPECT_EQ(m.start().y, 0.0L);
}

TEST(Position, CentreOffsetsForTheCommandLine) {
  struct Row {
    int32_t w, h;
    long double s;
    const char* x;
    const char* y;
  };
  const Row rows[] = {
      {200, 100, 0.5L, "-50.0", "25.0"},
      {640, 480, 1.0L, "-320.0", "240.0"},
      // A half at the kept decimal rounds away from zero, not to even.
      {1, 1, 0.5L, "-0.3", "0.3"},
      {3, 5, 0.1L, "-0.2", "0.3"},
      {7, 1, 0.1L, "-0.4", "0.1"},
      // No picture: the origin stays at the (empty) picture's corner.
      {0, 0, 1.0L, "0.0", "0.0"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.w << "x" << r.h);
    Job job = JobWithPicture(r.w, r.h, r.s);
    EXPECT_EQ(CentreOffsets(job), (OffsetTexts{r.x, r.y}));
    ApplyCentreOffsets(job);
    EXPECT_EQ(job.xOffsetText, r.x);
    EXPECT_EQ(job.yOffsetText, r.y);
  }
}

// ------------------------------------------------------------------- scale

TEST(Scale, ShowTakesTheCurrentScaleAndRoundsThePercentToEven) {
  struct Row {
    long double scale;
    const char* outX;  // as the one-decimal field shows it
    const char* outY;
    int percent;
  };
  const Row rows[] = {
      {1.0L, "200.0", "100.0", 100}, {0.5L, "100.0", "50.0", 50}, {0.125L, "25.0", "12.5", 12},
      {0.375L, "75.0", "37.5", 38},  {0.004L, "0.8", "0.4", 0},   {9.0L, "1800.0", "900.0", 500},
      {0.00025L, "0.1", "0.1", 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<double>(r.scale));
    ScaleDialogModel m;
    m.show(200, 100, r.scale);
    EXPECT_EQ(FormatFixed(m.outputX(), 1), r.outX);
    EXPECT_EQ(FormatFixed(m.outputY(), 1), r.outY);
    // The field holds exactly what it shows.
    EXPECT_EQ(m.outputX(), ParseNumber(r.outX));
    EXPECT_EQ(m.pending(), r.scale);
    EXPECT_EQ(m.percent(), std::max(r.percent, ScaleDialogModel::kMinPercent));
  }
}

TEST(Scale, TypedWidthSetsScaleAndTheFocusedFieldDrivesTheOther) {
  ScaleDialogModel m;
  m.show(200, 100, 1.0L);
  m.setOutputX(100, /*hasFocus=*/true);
  EXPECT_EQ(m.pending(), 0.5L);
  EXPECT_EQ(m.outputY(), 50);

  Job job = JobWithPicture(200, 100, 1.0L);
  EXPECT_EQ(m.apply(job.scale), "0.500");
  EXPECT_EQ(job.scale, 0.5L);

  // Without the focus (set from elsewhere) the other field stays.
  m.show(200, 100, 1.0L);
  m.setOutputX(100, false);
  EXPECT_EQ(m.pending(), 0.5L);
  EXPECT_EQ(m.outputY(), 100);

  m.show(200, 100, 1.0L);
  m.setOutputY(25, true);
  EXPECT_EQ(m.pending(), 0.25L);
  EXPECT_EQ(m.outputX(), 50);
}

TEST(Scale, TypedWidthKeepsItsOwnScaleWhenTheHeightIsNotRound) {
  // 1 mm over 3 pixels; the height of 7 pixels shows 2.333... mm and must not
  // pull the scale away from the typed width.
  ScaleDialogModel m;
  m.show(3, 7, 1.0L);
  m.setOutputX(1, true);
  EXPECT_EQ(m.pending(), 1.0L / 3.0L);
  EXPECT_EQ(m.outputY(), ParseNumber("2.3"));
}

TEST(Scale, SliderSetsTheWidthFromThePercent) {
  ScaleDialogModel m;
  m.show(200, 100, 1.0L);
  m.setPercent(250);
  EXPECT_EQ(m.outputX(), 2.5L * 200);
  EXPECT_EQ(m.pending(), 2.5L);
  EXPECT_EQ(m.outputY(), 100);  // the slider is not the width field: no follow
  // A tiny picture at 1 % would give less than the field's 0.1 mm.
  m.show(2, 2, 1.0L);
  m.setPercent(1);
  EXPECT_EQ(m.outputX(), ScaleDialogModel::kMinOut);
  EXPECT_EQ(m.pending(), ScaleDialogModel::kMinOut / 2);
}

TEST(Scale, WithoutAPictureTheScaleStays) {
  // An edit of the side that has 0 pixels divides by zero.
  struct Row {
    int32_t w, h;
    bool editWidth;
  };
  for (const Row& r : {Row{0, 0, true}, Row{0, 100, true}, Row{100, 0, false}}) {
    SCOPED_TRACE(::testing::Message() << r.w << "x" << r.h);
    ScaleDialogModel m;
    m.show(r.w, r.h, 0.5L);
    if (r.editWidth) {
      m.setOutputX(10, true);
    } else {
      m.setOutputY(10, true);
    }
    Job job = JobWithPicture(r.w, r.h, 0.5L);
    EXPECT_EQ(m.apply(job.scale), "0.500");
    EXPECT_EQ(job.scale, 0.5L);
  }
}

TEST(Scale, ScaleTextHasThreeDecimals) {
  EXPECT_EQ(ScaleText(1.0L), "1.000");
  EXPECT_EQ(ScaleText(0.0625L), "0.063");  // half away from zero
  EXPECT_EQ(ScaleText(1.0L / 3.0L), "0.333");
}

struct AfterScaleCase {
  const char* name;
  ContourType type;
  bool accepted;
  long double newScale;
  Placement placement;
  ParameterRerun rerun;
  const char* xOffset;
  const char* yOffset;
  std::optional<std::string> spacingText;
  long double spacing;
};

TEST(Scale, AfterTheDialogClosed) {
  // Picture 200 x 100 at scale 1, offsets "1.0"/"2.0", diameter "3".
  const AfterScaleCase cases[] = {
      {"unchanged", ContourType::Outline, true, 1.0L, Placement::kCentre, ParameterRerun::None,
       "1.0", "2.0", std::nullopt, 1.0L},
      {"outline accepted", ContourType::Outline, true, 0.5L, Placement::kCentre,
       ParameterRerun::RebuildProgram, "-50.0", "25.0", std::nullopt, 1.0L},
      {"outline not accepted", ContourType::CentreLine, false, 0.5L, Placement::kBottomLeft,
       ParameterRerun::None, "0.0", "50.0", std::nullopt, 1.0L},
      {"no placement down", ContourType::Outline, true, 0.5L, Placement::kNone,
       ParameterRerun::RebuildProgram, "1.0", "2.0", std::nullopt, 1.0L},
      // A typed height of 6,000,000 mm: the width of 12,000,000 mm puts the
      // start beyond what the start field holds.
      {"start beyond the field's range", ContourType::Outline, true, 60000.0L,
       Placement::kBottomRight, ParameterRerun::RebuildProgram, "-9999999.0", "6000000.0",
       std::nullopt, 1.0L},
      {"surface scan", ContourType::Scan, false, 0.5L, Placement::kTopLeft,
       ParameterRerun::RescanSurface, "0.0", "0.0", "6.0", 6.0L},
      {"negative scan, fine scale", ContourType::ScanNegative, true, 100.0L, Placement::kNone,
       ParameterRerun::RescanSurface, "1.0", "2.0", "0.1", 0.1L},
  };
  for (const AfterScaleCase& c : cases) {
    SCOPED_TRACE(c.name);
    Job job = JobWithPicture(200, 100, 1.0L);
    job.contourType = c.type;
    job.contourAccepted = c.accepted;
    job.xOffsetText = "1.0";
    job.yOffsetText = "2.0";
    const long double old = job.scale;
    job.scale = c.newScale;
    const ScaleChangeResult r = AfterScaleDialog(job, old, c.placement, 200, 100, "3");
    EXPECT_EQ(r.rerun, c.rerun);
    EXPECT_EQ(job.xOffsetText, c.xOffset);
    EXPECT_EQ(job.yOffsetText, c.yOffset);
    EXPECT_EQ(r.lineSpacingText, c.spacingText);
    EXPECT_EQ(job.lineSpacing, c.spacing);
  }
}

// ----------------------------------------------------------- profile panel

TEST(Panel, Steppers) {
  struct Row {
    const char* text;
    int direction;
    std::optional<std::string> result;
  };
  const Row rows[] = {
      {"0", -1, "-0.10"},      {"0.05", -1, "-0.05"},     {"5", +1, "5.10"},
      {"-0.1", +1, "0.00"},    {" 2.5 ", +1, "2.60"},     {"1e1", -1, "9.90"},
      {"0.045", +1, "0.15"},  // 0.145 rounds half away from zero
      {"", +1, std::nullopt},  {"abc", -1, std::nullopt}, {"1,5", +1, std::nullopt},
      {"-", -1, std::nullopt},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_EQ(StepValue(r.text, r.direction), r.result);
  }
}

TEST(Panel, FieldChangesReachTheActiveValuesOnly) {
  for (bool accepted : {false, true}) {
    Job job;
    job.contourAccepted = accepted;
    job.profiles[0].REbene = "5";
    job.active.REbene = "5";
    const PanelValues v{"7.5", "-1", "100", "F200"};
    EXPECT_EQ(PanelValuesChanged(job, v), accepted);
    EXPECT_EQ(PanelValuesFromActive(job), v);
    EXPECT_EQ(job.profiles[0].REbene, "5");
  }
}

}  // namespace
}  // namespace korvane
