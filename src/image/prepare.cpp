#include "image/prepare.h"

#include <utility>

namespace korvane {

std::optional<FilterKind> FilterByName(const std::string& name) {
  static const std::pair<const char*, FilterKind> kNames[] = {
      {"grenzwert", FilterKind::Grenzwert}, {"hipass", FilterKind::Hipass},
      {"kanten", FilterKind::Kanten},       {"scharf", FilterKind::Scharf},
      {"praegen", FilterKind::Praegen},     {"weich", FilterKind::Weich},
  };
  for (const auto& [n, k] : kNames)
    if (name == n) return k;
  return std::nullopt;
}

bool ApplyPrepareSteps(const PrepareSteps& steps, Picture& picture) {
  Picture scratch;  // one buffer for the steps that cannot work in place
  for (const PrepareStep& s : steps) {
    switch (s.kind) {
      case PrepareStep::Kind::Levels:
        ApplyToneTable(picture, BuildLevelsTable(s.brightness, s.contrast, s.gamma), picture);
        break;
      case PrepareStep::Kind::Filter:
        Convolve3x3(KernelOf(s.filter), picture);
        break;
      case PrepareStep::Kind::Grey:
        GreyImage(picture);
        break;
      case PrepareStep::Kind::Invert:
        InvertImage(picture);
        break;
      case PrepareStep::Kind::Rotate:
        for (int i = 0; i < s.quarterTurns; ++i) {
          RotateRight(scratch, picture);
          std::swap(scratch, picture);
        }
        break;
      case PrepareStep::Kind::MirrorLeftRight:
        MirrorLeftRight(picture, picture);
        break;
      case PrepareStep::Kind::MirrorTopBottom:
        MirrorTopBottom(picture, picture);
        break;
      case PrepareStep::Kind::Resize:
        if (!ResizeNearest(picture, s.width, s.height, scratch)) return false;
        std::swap(scratch, picture);
        break;
    }
  }
  return true;
}

}  // namespace korvane
