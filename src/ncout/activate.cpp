#include "ncout/activate.h"

#include <string>

namespace korvane {
namespace {

// A decimal integer as the settings texts hold it: blanks and tabs around, an
// optional sign, decimal digits. Anything else, and values beyond 32 bits, give 0.
int32_t DecimalSetting(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  text = text.substr(b, e - b);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    v = v * 10 + (c - '0');
    if (v > int64_t{0xFFFFFFFF}) return 0;
  }
  if (negative) v = -v;
  // Beyond 32 bits is 0; an unsigned 32-bit text keeps its bit pattern.
  if (v < INT32_MIN) return 0;
  return static_cast<int32_t>(static_cast<uint32_t>(v));
}

}  // namespace

TNCFormat FormatOfProfile(const Profile& p) {
  TNCFormat f;
  f.NCpunkt = p.NCpunkt;
  f.Dezipunkt = p.Dezipunkt;
  f.Vorzeichen = p.Vorzeichen;
  f.VNullen = p.VNullen;
  f.NNullen = p.NNullen;
  f.Stellen = static_cast<uint8_t>(static_cast<uint32_t>(DecimalSetting(p.Stellen)) & 0xFF);
  f.Nachkommastellen =
      static_cast<uint8_t>(static_cast<uint32_t>(DecimalSetting(p.Nachkommastellen)) & 0xFF);
  f.Satzzeichen = p.Satzzeichen;
  if (!f.Satzzeichen.empty() && f.Satzzeichen.back() >= '1' && f.Satzzeichen.back() <= '9') {
    f.Satzzeichen.pop_back();
  }
  f.Schritt = DecimalSetting(p.Schritt);
  f.Start = DecimalSetting(p.Start);
  return f;
}

void ActivateProfile(Job& job, int number) {
  if (number < 1 || number > 4) return;
  const Profile& p = job.profiles[static_cast<size_t>(number - 1)];
  ActiveProfile& a = job.active;
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

bool ActivateProfile(Job& job, std::string_view key) {
  int chosen = 0;
  for (int n = 1; n <= 4; ++n) {
    const Profile& p = job.profiles[static_cast<size_t>(n - 1)];
    if (p.Profil == key || std::to_string(n) == key) chosen = n;
  }
  if (chosen == 0) return false;
  ActivateProfile(job, chosen);
  return true;
}

}  // namespace korvane
