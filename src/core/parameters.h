#pragma once
// What the parameter commands decide on the job: the tool diameter and the
// scale set the line spacing of surface scanning, and a changed value either
// re-runs the surface scan silently or rebuilds the NC program; the position
// and the profile panel write the job's output values. The windows only read
// their controls, call these and act on the answer.
#include <optional>
#include <string>
#include <string_view>

#include "contour/tooldiameter.h"
#include "core/job.h"
#include "ncout/outparams.h"

namespace korvane {

// What the caller must do after a parameter change.
enum class ParameterRerun {
  None,            // nothing changed, or nothing accepted to rebuild
  RescanSurface,   // set auto accept, re-choose the contour type, convert as re-run
  RebuildProgram,  // convert as re-run (contour accepted: only the NC program is rebuilt)
};

bool IsSurfaceScan(ContourType type);

bool IsSurfaceScan(ContourType type);

// The tool-diameter command after its dialog has closed. `before` and `after`
// are the diameter field's texts around the dialog, `spinValue` the dialog's
// value. Sets job.lineSpacing for the surface-scan types and says what to run.
ParameterRerun ToolDiameterChanged(Job& job, const std::string& before, const std::string& after,
                                   long double spinValue);

// The scale command after its dialog has closed, with the scale before the
// dialog and the diameter field's text. Sets job.lineSpacing for the
// surface-scan types and says what to run. `lineSpacingText` receives the
// spacing for the main window's line-spacing field (1 decimal) when it changes.
ParameterRerun ScaleChanged(Job& job, long double scaleBefore, std::string_view diameterText,
                            std::string* lineSpacingText = nullptr);

// ---------------------------------------------------------------- position

// The centre placement for the job's working picture at the job's scale.
// korvane-cli uses these as its X/Y offsets.
OffsetTexts CentreOffsets(const Job& job);

// Store offsets as the job's xOffsetText / yOffsetText.
void SetOffsets(Job& job, OffsetTexts offsets);

// Put the centre placement into the job's offsets.
void ApplyCentreOffsets(Job& job);

// After a scale change: run the placement that is down with the new scale and
// store it as the job's offsets. With no button down the offsets stay as they
// were (returns false then).
bool ReapplyPlacement(Job& job, Placement down, int32_t w, int32_t h);

// After the scale dialog has closed. oldScale is job.scale before the dialog
// (compared exactly); placement is the button that is down in the position
// dialog, w and h the picture size fields; diameterText is EDurchmesser. On a
// change the position is re-applied with the new scale, then the line spacing
// and the re-run are decided as for every scale change.
struct ScaleChangeResult {
  ParameterRerun rerun = ParameterRerun::None;
  // Set when the line spacing was recomputed: text for the line-spacing field.
  std::optional<std::string> lineSpacingText;
};
ScaleChangeResult AfterScaleDialog(Job& job, long double oldScale, Placement placement, int32_t w,
                                   int32_t h, std::string_view diameterText);

// ----------------------------------------------------------- profile panel

// Values the panel shows after a profile activation.
PanelValues PanelValuesFromActive(const Job& job);

// A panel field changed by the user: copy the four texts into the active
// values. Returns whether "Erstelle NC-Programm  ..." is to be enabled.
bool PanelValuesChanged(Job& job, const PanelValues& v);

}  // namespace korvane
