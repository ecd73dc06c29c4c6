#include "ncout/outparams.h"

#include <algorithm>
#include <cmath>

#include "base/numtext.h"

namespace korvane {

namespace {

// Offsets are stored by whoever last wrote them; one that cannot be read
// (never written by this program) places the picture at 0.
long double NumberOr0(std::string_view text) { return ParseNumber(text).value_or(0.0L); }

long double Clamp(long double v, long double lo, long double hi) { return std::clamp(v, lo, hi); }

// The value a spin field with one decimal holds: clamped to its range and
// rounded at the first decimal as the field shows it (half away from zero).
// Keeping the shown value makes every later step agree with what the user
// sees, and a typed 0.3 becomes the 80-bit 0.3, not the nearest binary double.
long double Field(long double v, long double lo, long double hi) {
  const long double c = Clamp(v, lo, hi);
  return ParseNumber(FormatFixed(c, 1)).value_or(c);
}

}  // namespace

MachinePoint PlacementStart(Placement p, int32_t w, int32_t h, long double s) {
  const long double width = static_cast<long double>(w) * s;
  const long double height = static_cast<long double>(h) * s;
  switch (p) {
    case Placement::kCentre:
      return {-static_cast<long double>(w) * s * 0.5L, static_cast<long double>(h) * s * 0.5L};
    case Placement::kTopLeft:
      return {0, 0};
    case Placement::kBottomLeft:
      return {0, height};
    case Placement::kBottomRight:
      return {-width, height};
    case Placement::kTopRight:
      return {-width, 0};
    case Placement::kNone:
      break;
  }
  return {0, 0};
}

MachinePoint EndPosition(MachinePoint start, int32_t w, int32_t h, long double s) {
  return {start.x + static_cast<long double>(w) * s, start.y - static_cast<long double>(h) * s};
}

OffsetTexts OffsetTextsFor(MachinePoint start) {
  return {FormatFixed(start.x, 1), FormatFixed(start.y, 1)};
}

OffsetTexts CentreOffsets(int32_t w, int32_t h, long double scale) {
  return OffsetTextsFor(PlacementStart(Placement::kCentre, w, h, scale));
}

OffsetTexts PlacementOffsets(Placement down, int32_t w, int32_t h, long double scale) {
  // The button sets the dialog's start fields, which hold only their range.
  MachinePoint start = PlacementStart(down, w, h, scale);
  start.x = Clamp(start.x, PositionDialogModel::kMin, PositionDialogModel::kMax);
  start.y = Clamp(start.y, PositionDialogModel::kMin, PositionDialogModel::kMax);
  return OffsetTextsFor(start);
}

// ---------------------------------------------------------------- position

void PositionDialogModel::show(const OffsetTexts& offsets, long double scale, int32_t w, int32_t h) {
  w_ = w;
  h_ = h;
  s_ = scale;
  start_ = {Field(NumberOr0(offsets.x), kMin, kMax), Field(NumberOr0(offsets.y), kMin, kMax)};
}

void PositionDialogModel::setStartX(long double v) { start_.x = Field(v, kMin, kMax); }
void PositionDialogModel::setStartY(long double v) { start_.y = Field(v, kMin, kMax); }

void PositionDialogModel::place(Placement p) {
  placement_ = p;
  if (p == Placement::kNone) return;
  const MachinePoint s = PlacementStart(p, w_, h_, s_);
  setStartX(s.x);
  setStartY(s.y);
}

OffsetTexts PositionDialogModel::apply() const { return OffsetTextsFor(start_); }

std::string PositionDialogModel::endXText() const { return FormatFixed(end().x, 1); }
std::string PositionDialogModel::endYText() const { return FormatFixed(end().y, 1); }

// ------------------------------------------------------------------- scale

void ScaleDialogModel::show(int32_t w, int32_t h, long double scale) {
  w_ = w;
  h_ = h;
  outX_ = Field(static_cast<long double>(w) * scale, kMinOut, kMaxOut);
  outY_ = Field(static_cast<long double>(h) * scale, kMinOut, kMaxOut);
  pending_ = scale;
  // Per cent, rounded to nearest with ties to even (the default mode of rintl).
  const long double p = std::rintl(outX_ / static_cast<long double>(w) * 100.0L);
  percent_ = static_cast<int>(Clamp(p, kMinPercent, kMaxPercent));
}

void ScaleDialogModel::setOutputX(long double v, bool hasFocus) {
  outX_ = Field(v, kMinOut, kMaxOut);
  pending_ = outX_ / static_cast<long double>(w_);
  // The height follows only a width the user is typing, and it does not feed
  // back into the pending scale: the scale is the one the typed width gives.
  if (hasFocus) outY_ = Field(static_cast<long double>(h_) * pending_, kMinOut, kMaxOut);
}

void ScaleDialogModel::setOutputY(long double v, bool hasFocus) {
  outY_ = Field(v, kMinOut, kMaxOut);
  pending_ = outY_ / static_cast<long double>(h_);
  if (hasFocus) outX_ = Field(static_cast<long double>(w_) * pending_, kMinOut, kMaxOut);
}

void ScaleDialogModel::setPercent(int position) {
  percent_ = std::clamp(position, kMinPercent, kMaxPercent);
  setOutputX(static_cast<long double>(w_) * percent_ / 100.0L, false);
}

std::string ScaleDialogModel::apply(long double& scale) const {
  // Without a picture (0 pixels wide or high) the pending scale is a division
  // by zero; such a scale would put every coordinate at infinity, so it is
  // never applied.
  if (std::isfinite(pending_) && pending_ > 0) scale = pending_;
  return ScaleText(scale);
}

std::string ScaleText(long double scale) { return FormatFixed(scale, 3); }

// ----------------------------------------------------------- profile panel

std::optional<std::string> StepValue(std::string_view text, int direction) {
  const std::optional<long double> v = ParseNumber(text);
  if (!v) return std::nullopt;
  return FormatFixed(direction < 0 ? *v - 0.1L : *v + 0.1L, 2);
}


}  // namespace korvane
