// The black-and-white test, the threshold and the dialog's preview cycle.
#include "image/blackwhite.h"
#include "core/picturejob.h"

#include <gtest/gtest.h>

#include "core/job.h"

namespace korvane {
namespace {

Picture Checker(int32_t w, int32_t h) {
  Picture p;
  p.resize(w, h, kWhite);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      if ((x + y) % 2) p.at(x, y) = kBlack;
  return p;
}

TEST(IsBlackWhite, ExaminesAllButTheLastColumnAndRow) {
  struct Case {
    const char* what;
    int32_t w, h;
    int32_t x, y;  // pixel changed, -1: none
    uint32_t value;
    bool expected;
  };
  const Case cases[] = {
      {"pure black and white", 5, 4, -1, -1, 0, true},
      {"grey in the last column", 5, 4, 4, 1, 0xFF808080, true},
      {"grey in the last row", 5, 4, 2, 3, 0xFF808080, true},
      {"grey at (0,0)", 5, 4, 0, 0, 0xFF808080, false},
      {"grey before the last column", 5, 4, 3, 2, 0xFF808080, false},
      {"black with alpha 0", 5, 4, 1, 1, 0x00000000, false},
      {"white with alpha 254", 5, 4, 2, 1, 0xFEFFFFFF, false},
      {"almost black", 5, 4, 1, 0, 0xFF000001, false},
      {"red", 5, 4, 1, 0, kRed, false},
      {"one pixel wide: (0,0) examined", 1, 4, 0, 0, 0xFF808080, false},
      {"one pixel wide: its only column is read in every row but the last", 1, 4, 0, 2, 0xFF808080,
       false},
      {"one pixel wide: the last row is not", 1, 4, 0, 3, 0xFF808080, true},
      {"one pixel high: (0,0) examined", 4, 1, 0, 0, 0xFF808080, false},
      {"one pixel high: its only row is read up to the last column", 4, 1, 2, 0, 0xFF808080, false},
      {"one pixel high: the last column is not", 4, 1, 3, 0, 0xFF808080, true},
      {"single pixel", 1, 1, 0, 0, 0xFF808080, false},
      {"2 x 2: only (0,0) counts", 2, 2, 1, 1, 0xFF808080, true},
  };
  for (const Case& c : cases) {
    Picture p = Checker(c.w, c.h);
    if (c.x >= 0) p.at(c.x, c.y) = c.value;
    EXPECT_EQ(IsBlackWhite(p), c.expected) << c.what;
  }
  EXPECT_FALSE(IsBlackWhite(Picture{})) << "an empty picture reads (0,0) as 0";
}

TEST(ThresholdImage, MeanOfTheChannelsAgainstTheThreshold) {
  struct Case {
    uint32_t pixel;
    int t;
    uint32_t expected;
  };
  const Case cases[] = {
      {0xFF808081, 128, kBlack},  // mean 128 equals the threshold: black
      {0xFF818180, 128, kBlack},  // mean 386 / 3 = 128 (remainder dropped)
      {0xFF818181, 128, kWhite},  // mean 129
      {0x00FFFFFF, 128, kWhite},  // alpha ignored, result opaque
      {0x00000000, 128, kBlack}, {0x12FF0000, 84, kWhite},   // 255 / 3 = 85 > 84
      {0x12FF0000, 85, kBlack},  {0xFFFFFFFF, 255, kBlack},  // t = 255 makes everything black
      {0xFF000001, 0, kBlack},                               // mean 0 at t = 0 stays black
      {0xFF000003, 0, kWhite},                               // mean 1 at t = 0 turns white
      {0xFF000002, 0, kBlack},                               // 2 / 3 = 0
  };
  for (const Case& c : cases) {
    Picture p;
    p.resize(2, 1, c.pixel);
    ThresholdImage(p, c.t);
    EXPECT_EQ(p.px[0], c.expected) << std::hex << c.pixel << " at " << std::dec << c.t;
    EXPECT_EQ(p.px[1], c.expected);
    Picture q;
    q.resize(3, 3, 0);
    Picture src;
    src.resize(2, 1, c.pixel);
    ThresholdInto(src, c.t, q);
    EXPECT_EQ(q, p);
  }
}

Picture Gradient() {
  Picture p;
  p.resize(16, 16, 0);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      p.at(x, y) = (static_cast<uint32_t>(x * 16) << 24) |
                   (static_cast<uint32_t>(x * 16 + y) << 16) |
                   (static_cast<uint32_t>(y * 16) << 8) | static_cast<uint32_t>(255 - x * y);
  return p;
}

TEST(BlackWhiteDialog, PreviewsNeverAccumulateAndCancelRestores) {
  Job job;
  job.working = Gradient();
  job.accepted.resize(1, 1, kRed);  // stale: showing the dialog replaces it
  const Picture original = job.working;
  BeginBlackWhite(job);
  EXPECT_EQ(job.accepted, original);
  Picture at128 = original;
  ThresholdImage(at128, 128);
  EXPECT_EQ(job.working, at128);
  EXPECT_TRUE(job.pictureChanged);

  PreviewThreshold(job, 10);
  PreviewThreshold(job, 200);
  Picture at200 = original;
  ThresholdImage(at200, 200);
  EXPECT_EQ(job.working, at200) << "each preview starts from the accepted image";
  CancelImageEdit(job);
  EXPECT_EQ(job.working, original);
}

TEST(BlackWhiteDialog, AcceptThenReopenKeepsThePictureUntilFullBlack) {
  Job job;
  job.working = Gradient();
  BeginBlackWhite(job);
  PreviewThreshold(job, 100);
  EXPECT_TRUE(AcceptImageEdit(job)) << "after a threshold the warning is hidden";
  EXPECT_EQ(job.accepted, job.working);
  const Picture accepted = job.working;

  BeginBlackWhite(job);
  for (int t = 0; t <= 254; ++t) {
    PreviewThreshold(job, t);
    ASSERT_EQ(job.working, accepted) << t;
  }
  PreviewThreshold(job, 255);
  for (uint32_t p : job.working.px) ASSERT_EQ(p, kBlack);
}

TEST(BlackWhiteDialog, EmptyPictureStaysEmptyAndFailsTheTest) {
  Job job;
  BeginBlackWhite(job);
  EXPECT_TRUE(job.working.empty());
  EXPECT_FALSE(AcceptImageEdit(job));
}

}  // namespace
}  // namespace korvane
