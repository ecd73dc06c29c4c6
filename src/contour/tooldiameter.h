#pragma once
// What the tool-diameter dialog and the scale command decide: the line spacing
// of surface scanning follows from the tool diameter and the output scale, and
// a changed value either re-runs the surface scan or rebuilds the NC program.
// The windows only read their controls, call these and act on the answer.
#include <string>
#include <string_view>

#include "core/job.h"

namespace korvane {

// Smallest line spacing a diameter can give, in pixels.
constexpr long double kMinLineSpacing = 0.1L;

// What the caller must do after a parameter change.
enum class ParameterRerun {
  None,            // nothing changed, or nothing accepted to rebuild
  RescanSurface,   // set auto accept, re-choose the contour type, convert as re-run
  RebuildProgram,  // convert as re-run (contour accepted: only the NC program is rebuilt)
};

bool IsSurfaceScan(ContourType type);

// Tool-diameter dialog: line spacing for the diameter typed in the dialog:
// diameter / scale, 1.0 for a diameter of 0, never below 0.1.
long double LineSpacingForDiameter(long double diameter, long double scale);

// Scale command: line spacing from the diameter field after a scale change:
// diameter / scale, never below 0.1 (no special case for 0).
long double LineSpacingForScale(long double diameter, long double scale);

// The dialog's spin field value on showing: the number in the main window's
// diameter field (0 when the field holds no number).
long double DiameterFromField(std::string_view fieldText);

// The text "Übernehmen" writes back into the main window's diameter field.
std::string DiameterFieldText(long double spinValue);

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

}  // namespace korvane
