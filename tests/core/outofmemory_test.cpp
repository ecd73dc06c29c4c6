// Running out of memory in a step of the conversion: the step is dropped with
// its German message, and the job is as before the step (never an abort).
#include <gtest/gtest.h>

#include <array>
#include <new>
#include <string>
#include <vector>

#include "base/interaction.h"
#include "base/messages.h"
#include "core/batch.h"
#include "core/jobsettings.h"
#include "core/picturejob.h"
#include "image/decode.h"
#include "settings/configdir.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::TempDir;

// Throws std::bad_alloc at the first report whose text starts with `text`,
// as an allocation failing at that point of the step would.
class OutOfMemoryAt : public ProgressSink {
 public:
  explicit OutOfMemoryAt(std::string text) : text_(std::move(text)) {}
  void report(const std::string& text, int) override {
    if (armed_ && text.rfind(text_, 0) == 0) {
      armed_ = false;
      throw std::bad_alloc();
    }
  }
  bool fired() const { return !armed_; }

 private:
  std::string text_;
  bool armed_ = true;
};

// Rings and bars whose outlines line following can merge and whose order
// path optimisation can improve.
Picture Shapes() {
  Picture p;
  p.resize(60, 40, kWhite);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const int dx = x - 15, dy = y - 15;
      if ((dx * dx + dy * dy < 100 && dx * dx + dy * dy > 16) || (y % 9 == 3 && x > 32 && x < 58))
        p.at(x, y) = kBlack;
    }
  return p;
}

// The valid records, comparable as a whole.
std::vector<std::array<long double, 5>> Records(const SegmentList& list) {
  std::vector<std::array<long double, 5>> out;
  for (int32_t i = 0; i < list.count(); ++i) {
    const Segment& s = list[i];
    out.push_back({s.x1, s.y1, s.x2, s.y2, s.done ? 1.0L : 0.0L});
  }
  return out;
}

class OutOfMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    config_ = dir_.file("config");
    ASSERT_TRUE(EnsureConfigDir(config_));
    picture_ = dir_.file("shapes.bmp");
    std::string err;
    ASSERT_TRUE(SavePictureBmp32(picture_, Shapes(), err)) << err;
  }
  // A job with the picture open as the desktop program opens it.
  void Open(Job& job) {
    FixedAnswers quiet(true);
    StartSettings(job, config_, ".", quiet);
    std::string err;
    ASSERT_TRUE(OpenPictureFile(job, picture_, err)) << err;
  }
  TempDir dir_;
  std::string config_, picture_;
};

TEST_F(OutOfMemory, EachStepEndsWithItsMessageAndLeavesTheJobAsBefore) {
  struct Case {
    const char* step;        // the progress text at which memory runs out
    bool followLines, optimise;
    BatchResult::Outcome outcome;
    const char* text;        // the message
  } cases[] = {
      {kOutlineTraceText, false, false, BatchResult::Outcome::NotAccepted, kConvertOutOfMemoryText},
      {kBuildProgressText, false, false, BatchResult::Outcome::BuildFailed, kBuildOutOfMemoryText},
      {kLineFollowStatusText, true, false, BatchResult::Outcome::BuildFailed,
       kLineFollowOutOfMemoryText},
      {kWayOptimizeStatusText, false, true, BatchResult::Outcome::BuildFailed,
       kWayOptimizeOutOfMemoryText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    // The state before the failing step: the same run without it.
    Job before;
    Open(before);
    FixedAnswers yes(true);
    NullProgress quiet;
    BatchOptions plain;
    ASSERT_EQ(RunBatch(before, plain, yes, quiet).outcome, BatchResult::Outcome::Done);
    ASSERT_GT(before.segments.count(), 0);

    Job job;
    Open(job);
    const Picture opened = job.working;
    BatchOptions options;
    options.followLines = c.followLines;
    options.optimise = c.optimise;
    FixedAnswers ui(true);
    OutOfMemoryAt failing(c.step);
    BatchResult r;
    ASSERT_NO_THROW(r = RunBatch(job, options, ui, failing));
    ASSERT_TRUE(failing.fired());
    EXPECT_EQ(r.outcome, c.outcome);
    if (c.outcome == BatchResult::Outcome::NotAccepted) {
      ASSERT_EQ(ui.messages, std::vector<std::string>{c.text});
      EXPECT_FALSE(job.contourAccepted);
      EXPECT_EQ(job.segments.count(), 0);
      EXPECT_EQ(job.working.width, opened.width);
      EXPECT_EQ(job.working.px, opened.px);
    } else {
      EXPECT_EQ(r.error, c.text);
      EXPECT_TRUE(job.contourAccepted);
      EXPECT_EQ(Records(job.segments), Records(before.segments));
      if (c.step == kBuildProgressText) {
        EXPECT_TRUE(job.ncLines.empty());
        EXPECT_TRUE(job.moveList.empty());
      } else {
        // The program of the first build stays.
        EXPECT_EQ(job.ncLines, before.ncLines);
      }
    }
  }
}

}  // namespace
}  // namespace korvane
