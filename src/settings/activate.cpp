#include "settings/activate.h"

#include <string>

#include "settings/inifile.h"

namespace korvane {

TNCFormat FormatOfProfile(const Profile& p) {
  TNCFormat f;
  f.NCpunkt = p.NCpunkt;
  f.Dezipunkt = p.Dezipunkt;
  f.Vorzeichen = p.Vorzeichen;
  f.VNullen = p.VNullen;
  f.NNullen = p.NNullen;
  f.Stellen = static_cast<uint8_t>(static_cast<uint32_t>(ParseSettingsDecimal(p.Stellen)) & 0xFF);
  f.Nachkommastellen =
      static_cast<uint8_t>(static_cast<uint32_t>(ParseSettingsDecimal(p.Nachkommastellen)) & 0xFF);
  f.Satzzeichen = p.Satzzeichen;
  if (!f.Satzzeichen.empty() && f.Satzzeichen.back() >= '1' && f.Satzzeichen.back() <= '9') {
    f.Satzzeichen.pop_back();
  }
  f.Schritt = ParseSettingsDecimal(p.Schritt);
  f.Start = ParseSettingsDecimal(p.Start);
  return f;
}

void ActivateProfile(const ProfileStore& profiles, ActiveProfile& a, int number) {
  if (number < 1 || number > 4) return;
  const Profile& p = profiles[static_cast<size_t>(number - 1)];
  a.number = number;
  a.REbene = p.REbene;
  a.ZEbene = p.ZEbene;
  a.VorschubZ = p.VorschubZ;
  a.VorschubXY = p.VorschubXY;
  a.templates = p.templates;
  a.Suffix = p.Suffix;
  a.Satznum = p.Satznum;
  a.format = FormatOfProfile(p);
}

bool ActivateProfile(const ProfileStore& profiles, ActiveProfile& active, std::string_view key) {
  int chosen = 0;
  for (int n = 1; n <= 4; ++n) {
    const Profile& p = profiles[static_cast<size_t>(n - 1)];
    if (p.Profil == key || std::to_string(n) == key) chosen = n;
  }
  if (chosen == 0) return false;
  ActivateProfile(profiles, active, chosen);
  return true;
}

}  // namespace korvane
