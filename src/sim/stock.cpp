#include "sim/stock.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "base/numtext.h"

namespace korvane {

namespace {

using S = StockShape;
constexpr std::array<StockFieldInfo, kStockFieldCount> kFields = {{
    {"QUADER1_XM", "X-", "0", S::Block},       {"QUADER1_XP", "X+", "100", S::Block},
    {"QUADER1_YM", "Y-", "0", S::Block},       {"QUADER1_YP", "Y+", "50", S::Block},
    {"QUADER1_ZM", "Z-", "-10", S::Block},     {"QUADER1_ZP", "Z+", "0", S::Block},
    {"ZYL1_X", "X", "0", S::CylinderZ},        {"ZYL1_Y", "Y", "0", S::CylinderZ},
    {"ZYL1_R", "R", "50", S::CylinderZ},       {"ZYL1_ZP", "Z+", "0", S::CylinderZ},
    {"ZYL1_ZM", "Z-", "-10", S::CylinderZ},    {"ZYL2_Y", "Y", "0", S::CylinderX},
    {"ZYL2_Z", "Z", "0", S::CylinderX},        {"ZYL2_R", "R", "25", S::CylinderX},
    {"ZYL2_XM", "X-", "0", S::CylinderX},      {"ZYL2_XP", "X+", "50", S::CylinderX},
    {"ZYL3_X", "X", "0", S::CylinderY},        {"ZYL3_Z", "Z", "0", S::CylinderY},
    {"ZYL3_R", "R", "30", S::CylinderY},       {"ZYL3_YM", "Y-", "-25", S::CylinderY},
    {"ZYL3_YP", "Y+", "25", S::CylinderY},
}};

struct KeyedField {
  const char* key;
  StockField field;
};

}  // namespace

const StockFieldInfo& StockFieldOf(StockField field) { return kFields[field]; }

StockTexts StartStockTexts() {
  StockTexts t;
  for (size_t i = 0; i < t.size(); ++i) t[i] = kFields[i].startText;
  return t;
}

std::string StockDefinition(StockShape shape, const StockTexts& texts) {
  std::string head;
  std::array<KeyedField, 6> keyed{};
  size_t n = 5;
  switch (shape) {
    case S::Block:
      head = "QUAD";
      keyed = {{{"XM", QUADER1_XM},
                {"YP", QUADER1_YP},
                {"ZP", QUADER1_ZP},
                {"XP", QUADER1_XP},
                {"YM", QUADER1_YM},
                {"ZM", QUADER1_ZM}}};
      n = 6;
      break;
    case S::CylinderZ:
      head = "ZYL1";
      keyed = {{{"XC", ZYL1_X}, {"YC", ZYL1_Y}, {"RA", ZYL1_R}, {"ZP", ZYL1_ZP}, {"ZM", ZYL1_ZM}}};
      break;
    case S::CylinderX:
      head = "ZYL2";
      keyed = {{{"XM", ZYL2_XM}, {"YC", ZYL2_Y}, {"RA", ZYL2_R}, {"ZC", ZYL2_Z}, {"XP", ZYL2_XP}}};
      break;
    case S::CylinderY:
      head = "ZYL3";
      keyed = {{{"XC", ZYL3_X}, {"YM", ZYL3_YM}, {"RA", ZYL3_R}, {"ZC", ZYL3_Z}, {"YP", ZYL3_YP}}};
      break;
  }
  std::string def = "ROHDEF " + head;
  for (size_t i = 0; i < n; ++i) {
    def += ' ';
    def += keyed[i].key;
    def += texts[keyed[i].field];
  }
  return def;
}

long double ReadStockValue(std::string_view definition, std::string_view key) {
  const size_t at = definition.find(key);
  if (at == std::string_view::npos) return 0;
  size_t end = at + key.size();
  while (end < definition.size()) {
    const char c = definition[end];
    if (c != '+' && c != '-' && c != '.' && (c < '0' || c > '9')) break;
    ++end;
  }
  const std::string_view text = definition.substr(at + key.size(), end - at - key.size());
  if (text.empty()) return 0;
  return ParseNumber(text).value_or(0);
}

namespace {

void DrawBlock(std::string_view def, PenSurface3D& pen) {
  const long double XM = ReadStockValue(def, "XM"), XP = ReadStockValue(def, "XP"),
                    YM = ReadStockValue(def, "YM"), YP = ReadStockValue(def, "YP"),
                    ZM = ReadStockValue(def, "ZM"), ZP = ReadStockValue(def, "ZP");
  pen.MoveTo3D(XM, YP, ZP);
  pen.LineTo3D(XP, YP, ZP);
  pen.LineTo3D(XP, YM, ZP);
  pen.LineTo3D(XM, YM, ZP);
  pen.LineTo3D(XM, YP, ZP);
  pen.LineTo3D(XM, YP, ZM);
  pen.LineTo3D(XP, YP, ZM);
  pen.LineTo3D(XP, YM, ZM);
  pen.LineTo3D(XM, YM, ZM);
  pen.LineTo3D(XM, YP, ZM);
  const long double corners[3][2] = {{XM, YM}, {XP, YM}, {XP, YP}};
  for (const auto& c : corners) {
    pen.MoveTo3D(c[0], c[1], ZP);
    pen.LineTo3D(c[0], c[1], ZM);
  }
}

// A cylinder: `toPoint` maps (c1 + RA cos a, c2 + RA sin a, t) to a 3D point.
template <typename ToPoint>
void DrawCylinder(long double c1, long double c2, long double ra, long double t1, long double t2,
                  ToPoint toPoint, PenSurface3D& pen) {
  const auto corner = [&](int degrees, long double t, bool line) {
    const long double a = degrees * std::numbers::pi_v<long double> / 180;
    const auto [x, y, z] = toPoint(c1 + ra * std::cos(a), c2 + ra * std::sin(a), t);
    if (line) {
      pen.LineTo3D(x, y, z);
    } else {
      pen.MoveTo3D(x, y, z);
    }
  };
  corner(0, t1, false);
  int prev = 0;
  for (int i = 0; i < 36; ++i) {
    const int a = (360 - 10 * i) % 360;  // 0, 350, 340, ..., 10
    corner(a, t1, true);
    corner(prev, t2, false);
    corner(a, t2, true);
    corner(a, t1, true);
    prev = a;
  }
  corner(0, t1, true);
  corner(10, t2, false);
  corner(0, t2, true);
}

struct P3 {
  long double x, y, z;
};

}  // namespace

void Drawblank(std::string_view def, PenSurface3D& pen) {
  const auto has = [&](std::string_view s) { return def.find(s) != std::string_view::npos; };
  const auto v = [&](std::string_view key) { return ReadStockValue(def, key); };
  if (has("ZYL3")) {
    DrawCylinder(v("XC"), v("ZC"), v("RA"), v("YP"), v("YM"),
                 [](long double a, long double b, long double t) { return P3{a, t, b}; }, pen);
  } else if (has("ZYL2")) {
    DrawCylinder(v("YC"), v("ZC"), v("RA"), v("XP"), v("XM"),
                 [](long double a, long double b, long double t) { return P3{t, a, b}; }, pen);
  } else if (has("ZYL1")) {
    DrawCylinder(v("XC"), v("YC"), v("RA"), v("ZP"), v("ZM"),
                 [](long double a, long double b, long double t) { return P3{a, b, t}; }, pen);
  } else if (has("QUAD")) {
    DrawBlock(def, pen);
  }
}

}  // namespace korvane
