#pragma once
// One NC output profile as stored in its settings file, the active copy the
// NC builder reads, and the general settings of the main file.
#include <array>
#include <cstdint>
#include <string>

#include "settings/ncformat.h"

namespace korvane {

// Block templates in settings order: start, approach, plunge, feed, retract, end.
enum TemplateKind { kSynS = 0, kSynA, kSynZ, kSynXY, kSynR, kSynE, kTemplateKinds };
constexpr int kTemplateLines = 20;
using TemplateSet = std::array<std::array<std::string, kTemplateLines>, kTemplateKinds>;

struct Profile {
  std::string Profil;      // name shown on the profile panel
  std::string REbene;      // retract height R, as typed
  std::string ZEbene;      // infeed depth Z, as typed
  std::string VorschubZ;   // feed Z, inserted for [#F1VAL]
  std::string VorschubXY;  // feed XY, inserted for [#F2VAL]
  TemplateSet templates;
  std::string Suffix;  // extension of saved NC programs, without point
  std::string Stellen;
  std::string Nachkommastellen;
  bool Dezipunkt = false;
  bool NCpunkt = false;
  bool VNullen = false;
  bool NNullen = false;
  bool Vorzeichen = false;
  bool Satznum = false;
  std::string Satzzeichen;
  std::string Schritt;
  std::string Start;
};

// What profile activation fills and the builder reads.
struct ActiveProfile {
  int number = 0;  // 1..4, 0 before the first activation
  std::string REbene, ZEbene, VorschubZ, VorschubXY;
  TemplateSet templates;
  std::string Suffix;
  bool Satznum = false;
  TNCFormat format;
};

struct GeneralSettings {
  std::string ncPath;  // [path] nc
  std::string voPath;  // [path] vo
  int32_t HG = 0, Achsen = 0, Vorschub = 0, AVorschub = 0, Eilgang = 0, Rohteil = 0;
  std::string Aufloesung;
  bool XY = false, XZ = false, YZ = false, XYZ = false;
  bool G0 = false, AXIS = false;
  int32_t Profil = 1;
  int32_t lang = 1;
};

}  // namespace korvane
