#include "settings/settings.h"

#include <array>

#include "base/fileio.h"
#include "base/interaction.h"
#include "settings/inifile.h"

namespace korvane {
namespace {

constexpr std::array<const char*, kTemplateKinds> kTemplatePrefix = {"SynS",  "SynA", "SynZ",
                                                                     "SynXY", "SynR", "SynE"};

std::string WithSlash(const std::string& dir) {
  if (dir.empty() || dir.back() == '/') return dir;
  return dir + "/";
}

std::string TemplateKey(int kind, int line) {
  return kTemplatePrefix[static_cast<std::size_t>(kind)] + std::to_string(line + 1);
}

// Collects one file's values in the store's writing order; the file is
// written once, completely or not at all.
class Writer {
 public:
  Writer(const std::string& file, const char* section) : doc_(file), section_(section) {}
  void text(const std::string& key, const std::string& value) {
    doc_.writeString(section_, key, value);
  }
  void integer(const char* key, int32_t value) { doc_.writeInt(section_, key, value); }
  void boolean(const char* key, bool value) { doc_.writeBool(section_, key, value); }
  void section(const char* name) { section_ = name; }
  bool save() const { return doc_.save(); }

 private:
  IniDocument doc_;
  const char* section_;
};

}  // namespace

std::string ProfileFilePath(const std::string& configDir, int number) {
  return WithSlash(configDir) + "profil" + std::to_string(number) + ".ini";
}

std::string MainFilePath(const std::string& configDir) { return WithSlash(configDir) + "main.ini"; }

std::vector<std::string> UnreadableSettingsFiles(const std::string& configDir) {
  std::vector<std::string> files;
  for (int p = 1; p <= 4; ++p)
    if (PresentButUnreadable(ProfileFilePath(configDir, p))) files.push_back(ProfileFilePath(configDir, p));
  if (PresentButUnreadable(MainFilePath(configDir))) files.push_back(MainFilePath(configDir));
  return files;
}

std::string UnreadableSettingsFileText(const std::string& file) {
  return "Datei " + file + " kann nicht geöffnet werden";
}

Profile ReadProfile(const std::string& file) {
  const IniDocument doc(file);
  auto text = [&](const std::string& key) { return doc.readString("set", key); };
  auto flag = [&](const char* key) { return doc.readBool("set", key); };
  Profile p;
  p.Profil = text("Profil");
  p.REbene = text("REbene");
  p.ZEbene = text("ZEbene");
  p.VorschubZ = text("VorschubZ");
  p.VorschubXY = text("VorschubXY");
  for (int n = 0; n < kTemplateLines; ++n) {
    for (int kind = 0; kind < kTemplateKinds; ++kind) {
      p.templates[static_cast<std::size_t>(kind)][static_cast<std::size_t>(n)] =
          text(TemplateKey(kind, n));
    }
  }
  p.Suffix = text("Suffix");
  p.Stellen = text("Stellen");
  p.Nachkommastellen = text("Nachkommastellen");
  p.Dezipunkt = flag("Dezipunkt");
  p.NCpunkt = flag("NCpunkt");
  p.VNullen = flag("VNullen");
  p.NNullen = flag("NNullen");
  p.Vorzeichen = flag("Vorzeichen");
  p.Satznum = flag("Satznum");
  p.Satzzeichen = text("Satzzeichen");
  p.Schritt = text("Schritt");
  p.Start = text("Start");
  return p;
}

bool WriteProfile(const std::string& file, const Profile& p) {
  Writer w(file, "set");
  w.text("Profil", p.Profil);
  w.text("REbene", p.REbene);
  w.text("ZEbene", p.ZEbene);
  w.text("VorschubZ", p.VorschubZ);
  w.text("VorschubXY", p.VorschubXY);
  for (int n = 0; n < kTemplateLines; ++n) {
    for (int kind = 0; kind < kTemplateKinds; ++kind) {
      w.text(TemplateKey(kind, n),
             p.templates[static_cast<std::size_t>(kind)][static_cast<std::size_t>(n)]);
    }
  }
  w.text("Suffix", p.Suffix);
  w.text("Stellen", p.Stellen);
  w.text("Nachkommastellen", p.Nachkommastellen);
  w.boolean("Dezipunkt", p.Dezipunkt);
  w.boolean("NCpunkt", p.NCpunkt);
  w.boolean("VNullen", p.VNullen);
  w.boolean("NNullen", p.NNullen);
  w.boolean("Vorzeichen", p.Vorzeichen);
  w.boolean("Satznum", p.Satznum);
  w.text("Satzzeichen", p.Satzzeichen);
  w.text("Schritt", p.Schritt);
  w.text("Start", p.Start);
  return w.save();
}

GeneralSettings ReadGeneralSettings(const std::string& file) {
  const IniDocument doc(file);
  auto integer = [&](const char* key) { return doc.readInt("set", key); };
  auto flag = [&](const char* key) { return doc.readBool("set", key); };
  GeneralSettings g;
  g.ncPath = doc.readString("path", "nc");
  g.voPath = doc.readString("path", "vo");
  g.Aufloesung = doc.readString("set", "Aufloesung");
  g.Profil = integer("Profil");
  g.XY = flag("XY");
  g.XZ = flag("XZ");
  g.YZ = flag("YZ");
  g.XYZ = flag("XYZ");
  g.G0 = flag("G0");
  g.AXIS = flag("AXIS");
  g.HG = integer("HG");
  g.Achsen = integer("Achsen");
  g.Vorschub = integer("Vorschub");
  g.AVorschub = integer("AVorschub");
  g.Eilgang = integer("Eilgang");
  g.Rohteil = integer("Rohteil");
  g.lang = integer("lang");
  return g;
}

bool WriteGeneralSettings(const std::string& file, const GeneralSettings& g) {
  Writer w(file, "path");
  w.text("nc", g.ncPath);
  w.text("vo", g.voPath);
  w.section("set");
  w.integer("HG", g.HG);
  w.integer("Achsen", g.Achsen);
  w.integer("Vorschub", g.Vorschub);
  w.integer("AVorschub", g.AVorschub);
  w.integer("Eilgang", g.Eilgang);
  w.integer("Rohteil", g.Rohteil);
  w.text("Aufloesung", g.Aufloesung);
  w.boolean("XY", g.XY);
  w.boolean("XZ", g.XZ);
  w.boolean("YZ", g.YZ);
  w.boolean("XYZ", g.XYZ);
  w.boolean("G0", g.G0);
  w.boolean("AXIS", g.AXIS);
  w.integer("Profil", g.Profil);
  w.integer("lang", g.lang);
  return w.save();
}

int StandardProfileNumber(const GeneralSettings& general) {
  return (general.Profil >= 1 && general.Profil <= 4) ? general.Profil : 1;
}

}  // namespace korvane
