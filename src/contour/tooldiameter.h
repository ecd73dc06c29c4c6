#pragma once
// The line spacing of surface scanning follows from the tool diameter and the
// output scale; the job-level decisions after a change live in core/parameters.
#include <string>
#include <string_view>

namespace korvane {

// Smallest line spacing a diameter can give, in pixels.
constexpr long double kMinLineSpacing = 0.1L;

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

}  // namespace korvane
