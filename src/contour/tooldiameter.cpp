#include "contour/tooldiameter.h"

#include "base/numtext.h"

namespace korvane {

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

}  // namespace korvane
