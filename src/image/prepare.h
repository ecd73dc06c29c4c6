#pragma once
// Picture preparation as data: the steps korvane-cli takes from its command
// line, applied in order to one picture with the same operations the
// correction and filter dialogs and the geometric commands use.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/imageops.h"

namespace korvane {

struct PrepareStep {
  enum class Kind { Levels, Filter, Grey, Invert, Rotate, MirrorLeftRight, MirrorTopBottom, Resize };
  Kind kind = Kind::Levels;
  // Levels: the three slider values, -100..100.
  int brightness = 0, contrast = 0, gamma = 0;
  FilterKind filter = FilterKind::Grenzwert;
  int quarterTurns = 0;  // Rotate: 1, 2 or 3 clockwise quarter turns
  int32_t width = 0, height = 0;  // Resize
};

using PrepareSteps = std::vector<PrepareStep>;

// The filter of a command-line name (grenzwert, hipass, kanten, scharf,
// praegen, weich).
std::optional<FilterKind> FilterByName(const std::string& name);

// Applies the steps in order. False when a resize step cannot be done (a side
// below 10, an empty picture, or a result larger than any picture may be);
// the picture then holds the steps before it.
bool ApplyPrepareSteps(const PrepareSteps& steps, Picture& picture);

}  // namespace korvane
