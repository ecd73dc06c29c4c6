#include "contour/tooldiameter.h"

#include "base/numtext.h"

namespace korvane {

bool IsSurfaceScan(ContourType type) {
  return type == ContourType::Scan || type == ContourType::ScanNegative;
}

long double LineSpacingForScale(long double diameter, long double scale) {
  const long double spacing = diameter / scale;
  return spacing < kMinLineSpacing ? kMinLineSpacing : spacing;
}

long double LineSpacingForDiameter(long double diameter, long double scale) {
  if (diameter == 0) return 1.0L;
  return LineSpacingForScale(diameter, scale);
}

long double DiameterFromField(std::string_view fieldText) {
  return ParseNumber(fieldText).value_or(0.0L);
}

std::string DiameterFieldText(long double spinValue) { return FormatGeneral(spinValue); }

ParameterRerun ToolDiameterChanged(Job& job, const std::string& before, const std::string& after,
                                   long double spinValue) {
  if (before == after) return ParameterRerun::None;
  if (IsSurfaceScan(job.contourType)) {
    job.lineSpacing = LineSpacingForDiameter(spinValue, job.scale);
    // The re-run is accepted silently and must not switch views.
    job.autoAccept = true;
    return ParameterRerun::RescanSurface;
  }
  // Outline and centre line only change the join gap, which the rebuild reads.
  return job.contourAccepted ? ParameterRerun::RebuildProgram : ParameterRerun::None;
}

ParameterRerun ScaleChanged(Job& job, long double scaleBefore, std::string_view diameterText,
                            std::string* lineSpacingText) {
  if (job.scale == scaleBefore) return ParameterRerun::None;
  if (IsSurfaceScan(job.contourType)) {
    // The diameter field is written by the dialog and always holds a number;
    // should it not, the spacing stays as it was.
    if (auto diameter = ParseNumber(diameterText)) {
      job.lineSpacing = LineSpacingForScale(*diameter, job.scale);
    }
    if (lineSpacingText) *lineSpacingText = FormatFixed(job.lineSpacing, 1);
    job.autoAccept = true;
    return ParameterRerun::RescanSurface;
  }
  return job.contourAccepted ? ParameterRerun::RebuildProgram : ParameterRerun::None;
}

}  // namespace korvane
