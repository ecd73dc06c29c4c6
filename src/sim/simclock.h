#pragma once
// The simulation clock's rule and the graphic view's options as the general
// settings give them.
#include <cstdint>

#include "settings/profile.h"
#include "sim/view3d.h"

namespace korvane {

// The speed bar's range and start position.
constexpr int kSpeedMin = 1;
constexpr int kSpeedMax = 2000;
// Pause after every move-list line, in milliseconds: the right end of the bar
// gives 1 ms, the left end 2000 ms.
constexpr int32_t PausePerLine(int position, int maximum = kSpeedMax) {
  return maximum - position + 1;
}
// Time between showing the clock and the start of the slowed pass.
constexpr int kClockStartMs = 500;

// Colours are 24-bit values of the settings: red in the low byte.
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
constexpr Rgb RgbOf(int32_t value) {
  const auto u = static_cast<uint32_t>(value);
  return {static_cast<uint8_t>(u & 0xFF), static_cast<uint8_t>((u >> 8) & 0xFF),
          static_cast<uint8_t>((u >> 16) & 0xFF)};
}

// What the graphic view takes from the general settings at every load.
struct GraphicOptions {
  Rgb background, axes, feed, rapid, stock;
  ViewPreset preset = ViewPreset::XYZ;
  bool rapidMoves = false;  // G0
  bool axes3D = false;      // AXIS
};
// The first preset that is on, in the order XY, XZ, YZ, XYZ; XYZ when none is.
GraphicOptions GraphicOptionsOf(const GeneralSettings& general);

}  // namespace korvane
