#include "sim/view3d.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvane {

namespace {
constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kClamp = 16000;

// Rounded to the nearest integer with ties to even. Values from 16000 on
// round to 16000 or more, so clamping first gives the same result; adding and
// removing 1.5 * 2^63 then rounds in the current (nearest-even) mode without
// a library call, which matters at millions of points per pass.
}  // namespace

int RoundPixel(long double v) {
  if (!(std::fabs(v) < kClamp)) return v < 0 ? -16000 : 16000;  // NaN too
  constexpr long double kRound = 0x1.8p63L;
  return static_cast<int>((v + kRound) - kRound);
}

PresetAngles AnglesOf(ViewPreset preset) {
  switch (preset) {
    case ViewPreset::XY:
      return {0, 270};
    case ViewPreset::XZ:
      return {90, 270};
    case ViewPreset::YZ:
      return {90, 180};
    case ViewPreset::XYZ:
      return {55, 255};
  }
  return {55, 255};
}

long double ChangeRotate(long double angle, long double step) {
  long double a = angle + step;
  if (a >= 360) a -= 360;
  if (a < 0) a += 360;
  return std::truncl(a * 1000000.0L) / 1000000.0L;
}

void View3D::SetWorldBox(long double x1, long double y1, long double z1, long double x2,
                         long double y2, long double z2) {
  x1_ = x1, y1_ = y1, z1_ = z1, x2_ = x2, y2_ = y2, z2_ = z2;
  RecomputeView();
}

void View3D::RecomputeView() {
  if (dist_ < 0.0001L) dist_ = 0.0001L;
  if (angle_ > 179) angle_ = 179;
  if (angle_ < 0.01L) angle_ = 0.01L;
  s_ = 2 / std::max({xs_ * (x2_ - x1_), ys_ * (y2_ - y1_), zs_ * (z2_ - z1_)});
  sx_ = s_ * xs_;
  sy_ = s_ * ys_;
  sz_ = s_ * zs_;
  tx_ = -sx_ * (x1_ + x2_) / 2;
  ty_ = -sy_ * (y1_ + y2_) / 2;
  tz_ = -sz_ * (z1_ + z2_) / 2;
  const long double zr = zRot_ * kPi / 180, yr = yRot_ * kPi / 180;
  sinZ_ = std::sin(zr);
  cosZ_ = std::cos(zr);
  sinY_ = std::sin(yr);
  cosY_ = std::cos(yr);
  k_ = static_cast<long double>(std::min(w_, h_)) / (2 * std::tan(angle_ * kPi / 360) * dist_);
}

Pixel View3D::Project(long double x, long double y, long double z) const {
  const long double xn = x * sx_ + tx_, yn = y * sy_ + ty_, zn = z * sz_ + tz_;
  const long double d = xn * sinY_ * cosZ_ + yn * sinY_ * sinZ_ + zn * cosY_;
  const long double u = -xn * sinZ_ + yn * cosZ_;
  const long double v = -xn * cosY_ * cosZ_ - yn * cosY_ * sinZ_ + zn * sinY_;
  long double w = dist_ - d;
  if (w <= 0) w = 1e-10L;
  const long double cx = static_cast<long double>(w_) / 2, cy = static_cast<long double>(h_) / 2;
  return {RoundPixel(cx + k_ * u / w), RoundPixel(cy - k_ * v / w)};
}

World3 View3D::PixelToWorld(long double px, long double py) const {
  const long double u = (px - static_cast<long double>(w_) / 2) * dist_ / k_;
  const long double v = (static_cast<long double>(h_) / 2 - py) * dist_ / k_;
  const long double xn = -u * sinZ_ - v * cosY_ * cosZ_;
  const long double yn = u * cosZ_ - v * cosY_ * sinZ_;
  const long double zn = v * sinY_;
  return {(xn - tx_) / sx_, (yn - ty_) / sy_, (zn - tz_) / sz_};
}

TurnPlan PlanDynRotate(const View3D& view, int steps, long double y, long double z) {
  long double dY = std::rintl(y - view.D3Yrotation());
  long double dZ = std::rintl(z - view.D3Zrotation());
  if (dY < -180) dY += 360;
  if (dZ < -180) dZ += 360;
  if (dY > 180) dY -= 360;
  if (dZ > 180) dZ -= 360;
  TurnPlan plan;
  if (steps <= 0) return plan;
  plan.stepY = dY / steps;
  plan.stepZ = dZ / steps;
  if (plan.stepY != 0 || plan.stepZ != 0) plan.steps = steps;
  return plan;
}

void ApplyTurnStep(View3D& view, const TurnPlan& plan) {
  if (plan.stepY != 0) view.setYrotation(ChangeRotate(view.D3Yrotation(), plan.stepY));
  if (plan.stepZ != 0) view.setZrotation(ChangeRotate(view.D3Zrotation(), plan.stepZ));
}

void RotateByButton(View3D& view, RotateButton button) {
  switch (button) {
    case RotateButton::YM_ROT:
      view.setYrotation(view.D3Yrotation() + 5);
      break;
    case RotateButton::YP_ROT:
      view.setYrotation(view.D3Yrotation() - 5);
      break;
    case RotateButton::ZM_ROT:
      view.setZrotation(view.D3Zrotation() - 5);
      break;
    case RotateButton::ZP_ROT:
      view.setZrotation(view.D3Zrotation() + 5);
      break;
  }
}

namespace {
long double Tenth(long double a1, long double a2) { return std::truncl(std::fabs(a2 - a1) / 10); }
}  // namespace

void ZoomOutButton(View3D& view) {
  long double d = Tenth(view.X1(), view.X2());
  view.setX1(view.X1() - d);
  view.setX2(view.X2() + d);
  d = Tenth(view.Y1(), view.Y2());
  view.setY1(view.Y1() - d);
  view.setY2(view.Y2() + d);
  d = Tenth(view.Z1(), view.Z2());
  view.setZ1(view.Z1() - d);
  view.setZ2(view.Z2() + d);
}

void ZoomInClick(View3D& view, int px, int py) {
  const World3 w = view.PixelToWorld(px, py);
  const long double hx = 0.25L * (view.X2() - view.X1());
  const long double hy = 0.25L * (view.Y2() - view.Y1());
  view.SetWorldBox(w.x - hx, w.y - hy, 0, w.x + hx, w.y + hy, 1);
}

void WheelZoom(View3D& view, int delta, int px, int py) {
  if (delta < 0) {
    const auto wider = [](long double a1, long double a2) {
      const long double d = Tenth(a1, a2);
      return d == 0 ? 1 : d;
    };
    const long double dx = wider(view.X1(), view.X2()), dy = wider(view.Y1(), view.Y2()),
                      dz = wider(view.Z1(), view.Z2());
    view.SetWorldBox(view.X1() - dx, view.Y1() - dy, view.Z1() - dz, view.X2() + dx,
                     view.Y2() + dy, view.Z2() + dz);
    return;
  }
  const World3 w = view.PixelToWorld(px, py);
  const long double hx = 0.45L * (view.X2() - view.X1()), hy = 0.45L * (view.Y2() - view.Y1()),
                    hz = 0.45L * (view.Z2() - view.Z1());
  view.SetWorldBox(w.x - hx, w.y - hy, w.z - hz, w.x + hx, w.y + hy, w.z + hz);
}

void KeyZoomOut(View3D& view) {
  const long double dx = Tenth(view.X1(), view.X2()), dy = Tenth(view.Y1(), view.Y2());
  long double dz = Tenth(view.Z1(), view.Z2());
  if (dz < 1) dz = 1;
  view.SetWorldBox(view.X1() - dx, view.Y1() - dy, view.Z1() - dz, view.X2() + dx, view.Y2() + dy,
                   view.Z2() + dz);
}

void KeyZoomIn(View3D& view) {
  const long double dx = Tenth(view.X1(), view.X2()), dy = Tenth(view.Y1(), view.Y2()),
                    dz = Tenth(view.Z1(), view.Z2());
  view.SetWorldBox(view.X1() + dx, view.Y1() + dy, view.Z1() + dz, view.X2() - dx, view.Y2() - dy,
                   view.Z2() - dz);
}

void ZoomAll(View3D& view, long double xMin, long double xMax, long double yMin,
             long double yMax) {
  view.SetWorldBox(1.5L * xMin, 1.5L * yMin, 0, 1.5L * xMax, 1.5L * yMax, 0);
}

bool DragRotate(View3D& view, DragState& drag, int x, int y) {
  bool changed = false;
  const int dy = drag.refY - y;
  if (dy >= 6) {
    view.setYrotation(ChangeRotate(view.D3Yrotation(), 2));
    changed = true;
  } else if (dy <= -6) {
    view.setYrotation(ChangeRotate(view.D3Yrotation(), -2));
    changed = true;
  }
  const int dx = drag.refX - x;
  // Above the centre the view turns with the pointer, below against it.
  const bool upper = static_cast<long double>(view.height()) / 2 > drag.refY;
  if (dx >= 6) {
    view.setZrotation(ChangeRotate(view.D3Zrotation(), upper ? -2 : 2));
    changed = true;
  } else if (dx <= -6) {
    view.setZrotation(ChangeRotate(view.D3Zrotation(), upper ? 2 : -2));
    changed = true;
  }
  if (changed) {
    drag.refX = x;
    drag.refY = y;
  }
  return changed;
}

}  // namespace korvane
