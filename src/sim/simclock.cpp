#include "sim/simclock.h"

namespace korvane {

GraphicOptions GraphicOptionsOf(const GeneralSettings& g) {
  GraphicOptions o;
  o.background = RgbOf(g.HG);
  o.axes = RgbOf(g.Achsen);
  o.feed = RgbOf(g.Vorschub);
  o.rapid = RgbOf(g.Eilgang);
  o.stock = RgbOf(g.Rohteil);
  o.preset = g.XY ? ViewPreset::XY
             : g.XZ ? ViewPreset::XZ
             : g.YZ ? ViewPreset::YZ
                    : ViewPreset::XYZ;
  o.rapidMoves = g.G0;
  o.axes3D = g.AXIS;
  return o;
}

}  // namespace korvane
