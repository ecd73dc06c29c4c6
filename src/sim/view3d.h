#pragma once
// The model of the 3D view: a world box in machine millimetres seen in
// perspective from two angles, its projection onto a surface of W x H pixels
// and back, and every operation that changes the view (presets with their
// animated turn, rotation buttons and dragging, the zoom steps of the
// buttons, the click, the wheel and the keys, zoom to all).
#include <cstdint>

namespace korvane {

struct Pixel {
  int x = 0, y = 0;
  bool operator==(const Pixel&) const = default;
};

// A projected coordinate as a pixel: rounded to the nearest integer with ties
// to even; magnitudes of 16000 or more (and NaN) become 16000 with their sign.
int RoundPixel(long double v);

struct World3 {
  long double x = 0, y = 0, z = 0;
};

enum class ViewPreset { XY, XZ, YZ, XYZ };

struct PresetAngles {
  long double yRotation, zRotation;
};
PresetAngles AnglesOf(ViewPreset preset);

// angle + step, brought back into 0 .. 360 once, truncated to six decimals.
long double ChangeRotate(long double angle, long double step);

class View3D {
 public:
  View3D() { RecomputeView(); }

  // Bounds, angles and view parameters; every setter recomputes.
  long double X1() const { return x1_; }
  long double X2() const { return x2_; }
  long double Y1() const { return y1_; }
  long double Y2() const { return y2_; }
  long double Z1() const { return z1_; }
  long double Z2() const { return z2_; }
  long double D3Zrotation() const { return zRot_; }
  long double D3Yrotation() const { return yRot_; }
  long double D3ViewDist() const { return dist_; }
  long double D3ViewAngle() const { return angle_; }

  void SetWorldBox(long double x1, long double y1, long double z1, long double x2, long double y2,
                   long double z2);
  void setX1(long double v) { x1_ = v, RecomputeView(); }
  void setX2(long double v) { x2_ = v, RecomputeView(); }
  void setY1(long double v) { y1_ = v, RecomputeView(); }
  void setY2(long double v) { y2_ = v, RecomputeView(); }
  void setZ1(long double v) { z1_ = v, RecomputeView(); }
  void setZ2(long double v) { z2_ = v, RecomputeView(); }
  // Stored unchanged, without wrapping.
  void setZrotation(long double a) { zRot_ = a, RecomputeView(); }
  void setYrotation(long double a) { yRot_ = a, RecomputeView(); }
  void setViewDist(long double d) { dist_ = d, RecomputeView(); }
  void setViewAngle(long double a) { angle_ = a, RecomputeView(); }
  void setScales(long double xs, long double ys, long double zs) {
    xs_ = xs, ys_ = ys, zs_ = zs, RecomputeView();
  }

  // The surface size in pixels; recomputes.
  void setSurfaceSize(int w, int h) { w_ = w, h_ = h, RecomputeView(); }
  int width() const { return w_; }
  int height() const { return h_; }

  void RecomputeView();

  // Projection of a world point to a surface pixel, clamped to +-16000.
  Pixel Project(long double x, long double y, long double z) const;
  // The world point under a surface pixel, in the plane through the box
  // centre across the line of sight.
  World3 PixelToWorld(long double px, long double py) const;

  // Derived values, for tests and readouts.
  long double scale() const { return s_; }
  long double pixelScale() const { return k_; }

 private:
  long double x1_ = -80, x2_ = 80, y1_ = -80, y2_ = 80, z1_ = -80, z2_ = 80;
  long double zRot_ = -90, yRot_ = 0;
  long double dist_ = 3.0L, angle_ = 6.0L;
  long double xs_ = 1, ys_ = 1, zs_ = 1;
  int w_ = 0, h_ = 0;
  // Derived.
  long double s_ = 0, sx_ = 0, sy_ = 0, sz_ = 0, tx_ = 0, ty_ = 0, tz_ = 0, k_ = 0;
  long double sinZ_ = 0, cosZ_ = 1, sinY_ = 0, cosY_ = 1;
};

// Animated turn to a preset: the whole-degree differences, taken the short
// way round, split into `steps` equal steps.
struct TurnPlan {
  int steps = 0;  // 0: nothing to turn, no pass
  long double stepY = 0, stepZ = 0;
};
TurnPlan PlanDynRotate(const View3D& view, int steps, long double y, long double z);
// One step of the turn (ChangeRotate on each angle that moves).
void ApplyTurnStep(View3D& view, const TurnPlan& plan);

// Rotation buttons: add or subtract 5 degrees, unwrapped.
enum class RotateButton { YM_ROT, YP_ROT, ZM_ROT, ZP_ROT };
void RotateByButton(View3D& view, RotateButton button);

// Zoom-out button: every range widened by a tenth of it, truncated.
void ZoomOutButton(View3D& view);
// A click in zoom-in mode: X and Y halved around the clicked point, Z 0 .. 1.
void ZoomInClick(View3D& view, int px, int py);
// Mouse wheel. delta < 0 widens every range by a tenth (at least 1); delta >= 0
// shrinks the box to 0.9 of its size around the pointed pixel.
void WheelZoom(View3D& view, int delta, int px, int py);
// Keys: Page Up / keypad minus widen (dz at least 1), Page Down / keypad plus
// narrow by the same tenths without the minimum.
void KeyZoomOut(View3D& view);
void KeyZoomIn(View3D& view);
// Zoom to all: 1.5 times the machine coordinates of the extents, Z 0 .. 0.
void ZoomAll(View3D& view, long double xMin, long double xMax, long double yMin, long double yMax);

// Rotation by dragging with the left button: each event turns each angle by
// at most 2 degrees once the pointer has moved 6 pixels from the reference.
struct DragState {
  int refX = 0, refY = 0;
  int lastX = 0, lastY = 0;
};
// Returns true when an angle changed (the reference then moves to (x, y)).
bool DragRotate(View3D& view, DragState& drag, int x, int y);

}  // namespace korvane
