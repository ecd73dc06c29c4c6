#include "sim/stock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "sim/recording.h"
#include "sim/simclock.h"

namespace korvane {
namespace {

using testing::PenOp;
using testing::RecordingPen;

TEST(StockDefinition, StartTextsOfEveryShape) {
  const StockTexts t = StartStockTexts();
  EXPECT_EQ(StockDefinition(StockShape::Block, t), "ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10");
  EXPECT_EQ(StockDefinition(StockShape::CylinderZ, t), "ROHDEF ZYL1 XC0 YC0 RA50 ZP0 ZM-10");
  EXPECT_EQ(StockDefinition(StockShape::CylinderX, t), "ROHDEF ZYL2 XM0 YC0 RA25 ZC0 XP50");
  EXPECT_EQ(StockDefinition(StockShape::CylinderY, t), "ROHDEF ZYL3 XC0 YM-25 RA30 ZC0 YP25");
  StockTexts typed = t;
  typed[QUADER1_XP] = " 1.2.3";  // kept exactly as typed
  EXPECT_EQ(StockDefinition(StockShape::Block, typed),
            "ROHDEF QUAD XM0 YP50 ZP0 XP 1.2.3 YM0 ZM-10");
}

TEST(ReadStockValue, ReadingRules) {
  struct Case {
    const char* def;
    const char* key;
    long double value;
  } cases[] = {
      {"ROHDEF QUAD XM-2.5 XP10", "XM", -2.5L},
      {"ROHDEF QUAD XM-2.5 XP10", "XP", 10},
      {"ROHDEF QUAD XM0", "YP", 0},          // missing key
      {"ROHDEF QUAD XM- XP1", "XM", 0},      // lone minus
      {"ROHDEF QUAD XM1.2.3 XP1", "XM", 0},  // not a number as a whole
      {"ROHDEF QUAD XM YP5", "XM", 0},       // nothing collected
      {"ROHDEF QUAD XM7abc", "XM", 7},       // collection stops at a letter
      {"ROHDEF QUAD XM1,5", "XM", 1},        // a comma ends the number
      {"ROHDEF ZYL2 XM1 XM2", "XM", 1},      // the first occurrence counts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.def << " " << c.key);
    EXPECT_EQ(ReadStockValue(c.def, c.key), c.value);
  }
}

// The set of undirected edges of non-zero length a pen drew.
using Edge = std::pair<std::tuple<long double, long double, long double>,
                       std::tuple<long double, long double, long double>>;
std::set<Edge> Edges(const std::vector<PenOp>& ops) {
  std::set<Edge> edges;
  Point3 at;
  for (const PenOp& op : ops) {
    if (op.line && !(op.at == at)) {
      auto a = std::make_tuple(at.x, at.y, at.z), b = std::make_tuple(op.at.x, op.at.y, op.at.z);
      edges.insert(std::minmax(a, b));
    }
    at = op.at;
  }
  return edges;
}

TEST(Drawblank, BlockFromTheStartTexts) {
  RecordingPen pen;
  Drawblank(StockDefinition(StockShape::Block, StartStockTexts()), pen);
  ASSERT_EQ(pen.ops.size(), 16u);
  EXPECT_EQ(pen.ops[0], (PenOp{false, {0, 50, 0}}));
  EXPECT_EQ(pen.ops[1], (PenOp{true, {100, 50, 0}}));
  const std::set<Edge> edges = Edges(pen.ops);
  EXPECT_EQ(edges.size(), 12u);
  for (const PenOp& op : pen.ops) {
    EXPECT_TRUE(op.at.x == 0 || op.at.x == 100);
    EXPECT_TRUE(op.at.y == 0 || op.at.y == 50);
    EXPECT_TRUE(op.at.z == 0 || op.at.z == -10);
  }
}

TEST(Drawblank, ExchangedBoundsDrawTheSameBox) {
  RecordingPen normal, swapped;
  Drawblank("ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", normal);
  Drawblank("ROHDEF QUAD XM100 YP0 ZP-10 XP0 YM50 ZM0", swapped);
  EXPECT_EQ(Edges(normal.ops), Edges(swapped.ops));
}

TEST(Drawblank, Cylinders) {
  {
    RecordingPen pen;
    Drawblank("ROHDEF ZYL1 XC10 YC20 RA5 ZP0 ZM-10", pen);
    ASSERT_EQ(pen.ops.size(), 1u + 36 * 4 + 3);
    EXPECT_EQ(pen.ops[0], (PenOp{false, {15, 20, 0}}));
    for (const PenOp& op : pen.ops) {
      EXPECT_NEAR(static_cast<double>(std::hypot(op.at.x - 10, op.at.y - 20)), 5.0, 1e-12);
      EXPECT_TRUE(op.at.z == 0 || op.at.z == -10);
    }
    // 36 sides on each circle and 36 lines along the axis.
    EXPECT_EQ(Edges(pen.ops).size(), 36u * 3);
  }
  {
    RecordingPen pen;  // along X: the circle lies in Y and Z, the ends at XP and XM
    Drawblank("ROHDEF ZYL2 XM-5 YC0 RA2 ZC1 XP5", pen);
    EXPECT_EQ(pen.ops[0], (PenOp{false, {5, 2, 1}}));
    RecordingPen y;  // along Y
    Drawblank("ROHDEF ZYL3 XC1 YM-25 RA3 ZC0 YP25", y);
    EXPECT_EQ(y.ops[0], (PenOp{false, {4, 25, 0}}));
  }
  {
    RecordingPen pen;  // RA 0: the axis line 36 times, circles of one point
    Drawblank("ROHDEF ZYL1 XC1 YC2 RA0 ZP3 ZM-3", pen);
    EXPECT_EQ(pen.ops.size(), 1u + 36 * 4 + 3);
    for (const PenOp& op : pen.ops) {
      EXPECT_EQ(op.at.x, 1);
      EXPECT_EQ(op.at.y, 2);
    }
    int axisLines = 0;
    Point3 at;
    for (const PenOp& op : pen.ops) {
      if (op.line && at.z != op.at.z) ++axisLines;
      at = op.at;
    }
    EXPECT_EQ(axisLines, 36);
  }
}

TEST(Drawblank, ShapeKeysAndNothing) {
  RecordingPen none;
  Drawblank("", none);
  Drawblank("ROHDEF KUGEL RA5", none);
  EXPECT_TRUE(none.ops.empty());
  RecordingPen mixed;  // ZYL3 wins over every other key
  Drawblank("ROHDEF QUAD ZYL1 ZYL3 XC0 YM0 RA1 ZC0 YP1", mixed);
  EXPECT_EQ(mixed.ops[0], (PenOp{false, {1, 1, 0}}));
}

TEST(SimClock, PausePerLine) {
  EXPECT_EQ(PausePerLine(kSpeedMax), 1);
  EXPECT_EQ(PausePerLine(kSpeedMin), 2000);
  EXPECT_EQ(PausePerLine(1500), 501);
}

TEST(GraphicOptions, FromTheGeneralSettings) {
  GeneralSettings g;
  g.HG = 0x00FFFFFF;
  g.Vorschub = 0x000000FF;  // red in the low byte
  g.Eilgang = 0x00FF0000;
  g.XZ = true;
  g.XYZ = true;
  g.G0 = true;
  const GraphicOptions o = GraphicOptionsOf(g);
  EXPECT_EQ(o.background, (Rgb{255, 255, 255}));
  EXPECT_EQ(o.feed, (Rgb{255, 0, 0}));
  EXPECT_EQ(o.rapid, (Rgb{0, 0, 255}));
  EXPECT_EQ(o.preset, ViewPreset::XZ);
  EXPECT_TRUE(o.rapidMoves);
  EXPECT_FALSE(o.axes3D);
  EXPECT_EQ(GraphicOptionsOf(GeneralSettings{}).preset, ViewPreset::XYZ);
}

}  // namespace
}  // namespace korvane
