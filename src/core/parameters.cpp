#include "core/parameters.h"

#include "base/numtext.h"
#include "core/jobstate.h"

namespace korvane {

bool IsSurfaceScan(ContourType type) {
  return type == ContourType::Scan || type == ContourType::ScanNegative;
}

ParameterRerun ToolDiameterChanged(Job& job, const std::string& before, const std::string& after,
                                   long double spinValue) {
  if (before == after) return ParameterRerun::None;
  if (IsSurfaceScan(job.contourType)) {
    job.lineSpacing = LineSpacingForDiameter(spinValue, job.scale);
    // The re-run is accepted silently and must not switch views.
    SilentRerunRequested(job);
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
    SilentRerunRequested(job);
    return ParameterRerun::RescanSurface;
  }
  return job.contourAccepted ? ParameterRerun::RebuildProgram : ParameterRerun::None;
}

OffsetTexts CentreOffsets(const Job& job) {
  return CentreOffsets(job.working.width, job.working.height, job.scale);
}

void SetOffsets(Job& job, OffsetTexts offsets) {
  job.xOffsetText = std::move(offsets.x);
  job.yOffsetText = std::move(offsets.y);
}

void ApplyCentreOffsets(Job& job) { SetOffsets(job, CentreOffsets(job)); }

bool ReapplyPlacement(Job& job, Placement down, int32_t w, int32_t h) {
  if (down == Placement::kNone) return false;
  SetOffsets(job, PlacementOffsets(down, w, h, job.scale));
  return true;
}

ScaleChangeResult AfterScaleDialog(Job& job, long double oldScale, Placement placement, int32_t w,
                                   int32_t h, std::string_view diameterText) {
  ScaleChangeResult out;
  if (job.scale == oldScale) return out;
  ReapplyPlacement(job, placement, w, h);
  std::string spacing;
  out.rerun = ScaleChanged(job, oldScale, diameterText, &spacing);
  if (!spacing.empty()) out.lineSpacingText = std::move(spacing);
  return out;
}

PanelValues PanelValuesFromActive(const Job& job) {
  return {job.active.REbene, job.active.ZEbene, job.active.VorschubZ, job.active.VorschubXY};
}

bool PanelValuesChanged(Job& job, const PanelValues& v) {
  job.active.REbene = v.REbene;
  job.active.ZEbene = v.ZEbene;
  job.active.VorschubZ = v.VorschubZ;
  job.active.VorschubXY = v.VorschubXY;
  return job.contourAccepted;
}

}  // namespace korvane
