#pragma once
// The convert command and the conversion run. The desktop program and
// korvane-cli both drive a conversion through these functions; they differ
// only in the host (dialogs, views) they pass in.
#include <cstdint>
#include <string>

#include "base/messages.h"
#include "base/interaction.h"
#include "core/job.h"
#include "core/jobstate.h"

namespace korvane {

// What the run needs from the windows around it.
class ConvertHost {
 public:
  virtual ~ConvertHost() = default;
  // Convert command, black-and-white question answered Yes: show the
  // black-and-white dialog modally (the CLI thresholds instead).
  // Returns false when the user cancelled it: the convert command stops.
  virtual bool runBlackWhite() = 0;
  // Show the conversion dialog modally; its start timer calls StartRun.
  // Returns when the dialog has closed.
  virtual void runConversionDialog() = 0;
  // The run is over: hide the conversion dialog before the question.
  virtual void hideDialog() {}
  // The working image has changed (marked result shown or picture restored).
  virtual void workingImageChanged() {}
  // The convert command rebuilds the program of an accepted contour: the
  // program shown is void from here on.
  virtual void buildStarting() {}
  // An NC build has finished (ok false: retract height or depth not a number).
  // The host shows the program and then reports kBuildDoneText.
  virtual void programBuilt(bool /*ok*/) {}
  // First accepted run for this picture: fit the graphic view to the
  // machine extents and show it.
  virtual void showFittedGraphic() {}
  // The run asks to close the conversion dialog.
  virtual void closeDialog() {}
};

// Control values the convert command reads.
struct ConvertInputs {
  bool diameterEnabled = false;     // BDurchmesser enabled
  std::string diameterText = "0";   // EDurchmesser
  std::string scaleText = "1.000";  // EScale
};

// Join gap for the contour type and the diameter/scale fields.
int32_t JoinGapFor(ContourType type, const ConvertInputs& in);

// The convert command proper, as the user's command or as the silent re-run
// after a parameter change.
void DoConvert(Job& job, ConvertRequest request, const ConvertInputs& in, ConvertHost& host,
               UserDialogs& ui, ProgressSink& progress);

// The start timer of the conversion dialog: clear the result image, the NC
// lines, the segment list and the cancel flag, then run ConvertStart.
void StartRun(Job& job, ConvertHost& host, UserDialogs& ui, ProgressSink& progress);

// The run itself: frame the picture, run the chosen method, offer the result.
void ConvertStart(Job& job, ConvertHost& host, UserDialogs& ui, ProgressSink& progress);

// Preview scale of the conversion dialog for a view of the given client size.
float PreviewScale(int viewWidth, int viewHeight, const Picture& result);

// Choosing a contour type. Returns true when the caller should switch to the
// picture view (a marked result was replaced by the backup picture).
bool ChooseContourType(Job& job, ContourType type);

// The cancel button: asks, and sets the cancel flag on Yes.
void RequestCancel(Job& job, UserDialogs& ui);

// The job's NC build: BuildNC on the job's segments, rectangle, output values
// and active profile, into job.ncLines, job.moveList and job.extents (the
// move list and its records as job.buildMoveList and parseMoveRecords say). On
// success it also sets job.ncCharCount, job.ncLineCount and job.ncSegmentCount
// (the editor's character, line and "Wege" counts). A failed build stays
// silent: the NC lines stay empty, the move list holds at most its header line
// and the counts keep their values. A call while a build runs (a progress
// report may re-enter) does nothing and reports Busy.
NCBuildResult ConvertToNC(Job& job, ProgressSink& progress);

// Build the NC program from the current list (the caller shows it).
bool RebuildProgram(Job& job, ProgressSink& progress);

}  // namespace korvane
