#pragma once
// The stock body: a block or a cylinder along one axis, described by a
// one-line definition "ROHDEF <shape> <key><text> ..." built from the stock
// page's fields and drawn as a wire frame from that text alone.
#include <array>
#include <string>
#include <string_view>

namespace korvane {

enum class StockShape { Block, CylinderZ, CylinderX, CylinderY };

// The 21 dimension fields of the stock page, in this order.
enum StockField {
  QUADER1_XM, QUADER1_XP, QUADER1_YM, QUADER1_YP, QUADER1_ZM, QUADER1_ZP,
  ZYL1_X, ZYL1_Y, ZYL1_R, ZYL1_ZP, ZYL1_ZM,
  ZYL2_Y, ZYL2_Z, ZYL2_R, ZYL2_XM, ZYL2_XP,
  ZYL3_X, ZYL3_Z, ZYL3_R, ZYL3_YM, ZYL3_YP,
  kStockFieldCount
};

struct StockFieldInfo {
  const char* name;       // objectName of the field
  const char* label;      // its label
  const char* startText;  // its text at start
  StockShape shape;
};
const StockFieldInfo& StockFieldOf(StockField field);

using StockTexts = std::array<std::string, kStockFieldCount>;
// The start texts of all fields.
StockTexts StartStockTexts();

// The definition of the selected shape, the fields' texts exactly as typed.
std::string StockDefinition(StockShape shape, const StockTexts& texts);

// A value by its two-letter key (XM, XP, XC, YM, YP, YC, ZM, ZP, ZC, RA): the
// "+-.0-9" characters right after its first occurrence, read as a number;
// 0 when the key is missing or the text is not a number.
long double ReadStockValue(std::string_view definition, std::string_view key);

// The pen the body is drawn with.
class PenSurface3D {
 public:
  virtual ~PenSurface3D() = default;
  virtual void MoveTo3D(long double x, long double y, long double z) = 0;
  virtual void LineTo3D(long double x, long double y, long double z) = 0;
};

// Draws the body of a definition (nothing when it names no shape).
void Drawblank(std::string_view definition, PenSurface3D& pen);

}  // namespace korvane
