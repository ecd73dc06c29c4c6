#include <gtest/gtest.h>

#include "base/interaction.h"
#include "core/job.h"

namespace korvane {
namespace {

TEST(PictureLock, RefusesOnlyWhileAContourIsAccepted) {
  Job job;
  FixedAnswers ui;
  EXPECT_FALSE(Msg_Isconvert(job, ui));
  EXPECT_TRUE(ui.messages.empty());
  job.contourAccepted = true;
  EXPECT_TRUE(Msg_Isconvert(job, ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], kPictureLockText);
}

}  // namespace
}  // namespace korvane
