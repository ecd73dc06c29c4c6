#include "core/jobstate.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace korvane {
namespace {

// The six flags as a string: C(ontour accepted) B(ackup valid) G(raphic view
// pending) A(uto accept) P(icture changed) X (cancel requested); "-" = off.
std::string Flags(const Job& j) {
  std::string s;
  s += j.contourAccepted ? 'C' : '-';
  s += j.backupValid ? 'B' : '-';
  s += j.graphicViewPending ? 'G' : '-';
  s += j.autoAccept ? 'A' : '-';
  s += j.pictureChanged ? 'P' : '-';
  s += j.cancelRequested ? 'X' : '-';
  return s;
}

Job WithFlags(bool on) {
  Job j;
  j.contourAccepted = j.backupValid = j.graphicViewPending = on;
  j.autoAccept = j.pictureChanged = j.cancelRequested = on;
  return j;
}

// Each transition changes exactly the flags it names, from all-off and all-on.
TEST(JobState, EachTransitionChangesOnlyItsFlags) {
  struct Case {
    const char* name;
    std::function<void(Job&)> step;
    const char* fromOff;
    const char* fromOn;
  };
  const Case cases[] = {
      {"session started", SessionStarted, "------", "-BG-PX"},
      {"picture opened", PictureOpened, "--G-P-", "--GAPX"},
      {"picture edited", PictureEdited, "----P-", "CBGAPX"},
      {"silent re-run requested", SilentRerunRequested, "---A--", "CBGAPX"},
      {"command started", [](Job& j) { ConvertCommandStarted(j, ConvertRequest::Command); },
       "------", "CBG-PX"},
      {"silent re-run started",
       [](Job& j) { ConvertCommandStarted(j, ConvertRequest::SilentRerun); }, "---A--", "CBGAPX"},
      {"command finished", ConvertCommandFinished, "------", "CBG-PX"},
      {"graphic view shown", GraphicViewShown, "------", "CB-APX"},
      {"run started", RunStarted, "------", "CBGAP-"},
      {"cancel confirmed", CancelConfirmed, "-----X", "CBGAPX"},
      {"contour accepted", ContourAccepted, "CB----", "CBGAPX"},
      {"contour refused", ContourRefused, "------", "-BGAPX"},
      {"contour type changed", ContourTypeChanged, "--G---", "--GAPX"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Job off = WithFlags(false);
    c.step(off);
    EXPECT_EQ(Flags(off), c.fromOff);
    Job on = WithFlags(true);
    c.step(on);
    EXPECT_EQ(Flags(on), c.fromOn);
  }
}

}  // namespace
}  // namespace korvane
