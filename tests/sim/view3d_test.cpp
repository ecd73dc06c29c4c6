#include "sim/view3d.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

namespace korvane {
namespace {

View3D Surface(int w = 1200, int h = 800) {
  View3D v;
  v.setSurfaceSize(w, h);
  return v;
}

TEST(View3D, StartViewLooksFromAboveWithXRightAndYUp) {
  const View3D v = Surface();
  // Half the box edge lies about 1.06 min(W, H) from the centre.
  EXPECT_EQ(v.Project(0, 0, 0), (Pixel{600, 400}));
  EXPECT_EQ(v.Project(80, 0, 0), (Pixel{1448, 400}));
  EXPECT_EQ(v.Project(-80, 0, 0), (Pixel{-248, 400}));
  EXPECT_EQ(v.Project(0, 80, 0), (Pixel{600, -448}));
  // Seen from +Z, a raised point is nearer and so further out.
  EXPECT_GT(v.Project(40, 0, 40).x, v.Project(40, 0, 0).x);
}

TEST(View3D, ProjectionClampsAndSurvivesAnEmptyBox) {
  View3D v = Surface();
  EXPECT_EQ(v.Project(1e9L, 0, 0).x, 16000);
  EXPECT_EQ(v.Project(-1e9L, 0, 0).x, -16000);
  ZoomAll(v, 0, 0, 0, 0);  // zoom to all before any build
  const Pixel p = v.Project(1, 2, 3);
  EXPECT_LE(std::abs(p.x), 16000);
  EXPECT_LE(std::abs(p.y), 16000);
}

TEST(RoundPixel, TiesToEvenAndClamping) {
  struct Case {
    long double v;
    int pixel;
  } cases[] = {{0.5L, 0},         {1.5L, 2},      {-2.5L, -2},      {2.4999L, 2},
               {-0.6L, -1},       {15999.4L, 15999}, {15999.5L, 16000}, {16000.7L, 16000},
               {-1e30L, -16000}, {123456.0L, 16000}};
  for (const Case& c : cases) EXPECT_EQ(RoundPixel(c.v), c.pixel) << static_cast<double>(c.v);
  EXPECT_EQ(RoundPixel(std::numeric_limits<long double>::quiet_NaN()), 16000);
}

TEST(View3D, PixelToWorldAndBackGiveTheSamePixel) {
  struct Case {
    long double y, z;
  } angles[] = {{0, -90}, {0, 270}, {90, 270}, {90, 180}, {55, 255}, {33.5L, 12}};
  const Pixel pixels[] = {{600, 400}, {0, 0}, {1199, 799}, {17, 700}, {900, 3}};
  for (const Case& a : angles) {
    View3D v = Surface();
    v.SetWorldBox(-20, 5, -10, 140, 60, 2);
    v.setYrotation(a.y);
    v.setZrotation(a.z);
    for (const Pixel& p : pixels) {
      SCOPED_TRACE(::testing::Message() << a.y << "/" << a.z << " at " << p.x << "," << p.y);
      const World3 w = v.PixelToWorld(p.x, p.y);
      EXPECT_EQ(v.Project(w.x, w.y, w.z), p);
    }
  }
}

TEST(View3D, XYPresetReadoutShowsTheBoxCentreZ) {
  View3D v = Surface();
  v.SetWorldBox(0, 0, -10, 100, 50, 30);
  v.setYrotation(0);
  v.setZrotation(270);
  EXPECT_NEAR(static_cast<double>(v.PixelToWorld(123, 456).z), 10.0, 1e-12);
}

TEST(ChangeRotate, WrapsOnceAndTruncatesToSixDecimals) {
  struct Case {
    long double angle, step, expected;
  } cases[] = {
      {-5, 2, 357}, {365, 2, 7}, {720, 2, 362}, {359, 1, 0}, {1, -2, 359},
      {0, 0.12345678L, 0.123456L}, {10, -0.0000004L, 9.999999L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.angle << " + " << c.step);
    EXPECT_NEAR(static_cast<double>(ChangeRotate(c.angle, c.step)), static_cast<double>(c.expected),
                1e-9);
  }
}

TEST(DynRotate, PresetTurns) {
  {
    const View3D v = Surface();  // start view: Y 0, Z -90
    EXPECT_EQ(PlanDynRotate(v, 10, 0, 270).steps, 0) << "XY from the start view draws nothing";
  }
  {
    View3D v = Surface();
    v.setYrotation(12.4L);
    const PresetAngles xy = AnglesOf(ViewPreset::XY);
    const TurnPlan plan = PlanDynRotate(v, 10, xy.yRotation, xy.zRotation);
    ASSERT_EQ(plan.steps, 10);
    EXPECT_EQ(plan.stepZ, 0);
    for (int i = 0; i < plan.steps; ++i) ApplyTurnStep(v, plan);
    // Each step truncates to six decimals, so the ten steps may lose 1e-6 each.
    EXPECT_NEAR(static_cast<double>(v.D3Yrotation()), 0.4, 1e-5) << "difference rounded first";
  }
  {
    // The short way round: from Z 10 to 255 turns by -115, landing on 255.
    View3D v = Surface();
    v.setZrotation(10);
    const TurnPlan plan = PlanDynRotate(v, 10, 55, 255);
    EXPECT_NEAR(static_cast<double>(plan.stepZ), -11.5, 1e-12);
    for (int i = 0; i < plan.steps; ++i) ApplyTurnStep(v, plan);
    EXPECT_NEAR(static_cast<double>(v.D3Zrotation()), 255, 1e-6);
    EXPECT_NEAR(static_cast<double>(v.D3Yrotation()), 55, 1e-6);
  }
}

TEST(View3D, RotationButtonsAndDragging) {
  View3D v = Surface();
  RotateByButton(v, RotateButton::ZM_ROT);
  EXPECT_EQ(v.D3Zrotation(), -95) << "buttons do not wrap";
  RotateByButton(v, RotateButton::YM_ROT);
  EXPECT_EQ(v.D3Yrotation(), 5);
  RotateByButton(v, RotateButton::YP_ROT);
  RotateByButton(v, RotateButton::YP_ROT);
  EXPECT_EQ(v.D3Yrotation(), -5);

  DragState drag{100, 100, 0, 0};
  EXPECT_FALSE(DragRotate(v, drag, 105, 95)) << "less than 6 pixels";
  EXPECT_TRUE(DragRotate(v, drag, 110, 100));  // upper half, pointer to the right: Z + 2
  EXPECT_NEAR(static_cast<double>(v.D3Zrotation()), 267, 1e-9) << "-95 wrapped on the way";
  EXPECT_EQ(drag.refX, 110);
  EXPECT_TRUE(DragRotate(v, drag, 110, 94));  // pointer up: Y + 2, wrapped from -5
  EXPECT_NEAR(static_cast<double>(v.D3Yrotation()), 357, 1e-9);
  drag = {100, 500, 0, 0};  // lower half turns the other way
  EXPECT_TRUE(DragRotate(v, drag, 110, 500));
  EXPECT_NEAR(static_cast<double>(v.D3Zrotation()), 265, 1e-9);
}

TEST(View3D, ZoomSteps) {
  View3D v = Surface();
  v.SetWorldBox(0, -80, 2, 8, 80, 6);
  ZoomOutButton(v);
  EXPECT_EQ(v.X1(), 0);
  EXPECT_EQ(v.X2(), 8);
  EXPECT_EQ(v.Y1(), -96);
  EXPECT_EQ(v.Y2(), 96);
  EXPECT_EQ(v.Z1(), 2);

  WheelZoom(v, -120, 0, 0);
  EXPECT_EQ(v.X1(), -1);
  EXPECT_EQ(v.X2(), 9);
  EXPECT_EQ(v.Y1(), -115);
  EXPECT_EQ(v.Z2(), 7);

  View3D k = Surface();
  k.SetWorldBox(0, 0, 0, 95, 50, 4);
  KeyZoomOut(k);
  EXPECT_EQ(k.X1(), -9);
  EXPECT_EQ(k.Y2(), 55);
  EXPECT_EQ(k.Z1(), -1) << "z widened by at least 1";
  EXPECT_EQ(k.Z2(), 5);
  k.SetWorldBox(0, 0, 0, 95, 50, 4);
  KeyZoomIn(k);
  EXPECT_EQ(k.X1(), 9);
  EXPECT_EQ(k.X2(), 86);
  EXPECT_EQ(k.Z1(), 0) << "no minimum when narrowing";
  EXPECT_EQ(k.Z2(), 4);
}

TEST(View3D, WheelUpOnTheCentreKeepsTheCentre) {
  View3D v = Surface();
  v.SetWorldBox(10, -20, -5, 30, 60, 15);
  v.setYrotation(55);
  v.setZrotation(255);
  WheelZoom(v, 120, 600, 400);
  EXPECT_NEAR(static_cast<double>(v.X1()), 11, 1e-9);
  EXPECT_NEAR(static_cast<double>(v.X2()), 29, 1e-9);
  EXPECT_NEAR(static_cast<double>(v.Y1()), -16, 1e-9);
  EXPECT_NEAR(static_cast<double>(v.Y2()), 56, 1e-9);
  EXPECT_NEAR(static_cast<double>(v.Z1()), -4, 1e-9);
  EXPECT_NEAR(static_cast<double>(v.Z2()), 14, 1e-9);
}

TEST(View3D, ZoomInClickAndZoomAll) {
  View3D v = Surface();
  v.setZrotation(270);
  v.SetWorldBox(0, 0, -10, 100, 40, 5);
  const World3 w = v.PixelToWorld(700, 300);
  ZoomInClick(v, 700, 300);
  EXPECT_NEAR(static_cast<double>(v.X1()), static_cast<double>(w.x - 25), 1e-9);
  EXPECT_NEAR(static_cast<double>(v.X2()), static_cast<double>(w.x + 25), 1e-9);
  EXPECT_NEAR(static_cast<double>(v.Y1()), static_cast<double>(w.y - 10), 1e-9);
  EXPECT_EQ(v.Z1(), 0);
  EXPECT_EQ(v.Z2(), 1);

  // The factor scales the coordinates themselves, not the ranges.
  ZoomAll(v, 2, 10, -1, -8);
  EXPECT_EQ(v.X1(), 3);
  EXPECT_EQ(v.X2(), 15);
  EXPECT_EQ(v.Y1(), -1.5L);
  EXPECT_EQ(v.Y2(), -12);
  EXPECT_EQ(v.Z1(), 0);
  EXPECT_EQ(v.Z2(), 0);
}

TEST(View3D, ViewDistanceAndAngleAreKeptInRange) {
  View3D v = Surface();
  v.setViewDist(0);
  EXPECT_EQ(v.D3ViewDist(), 0.0001L);
  v.setViewAngle(200);
  EXPECT_EQ(v.D3ViewAngle(), 179);
  v.setViewAngle(0);
  EXPECT_EQ(v.D3ViewAngle(), 0.01L);
}

}  // namespace
}  // namespace korvane
