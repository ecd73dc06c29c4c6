#include "core/job.h"
#include "core/jobsettings.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <vector>

#include "base/interaction.h"
#include "base/numtext.h"
#include "settings/defaults.h"
#include "settings/inifile.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

void ExpectSameProfile(const Profile& a, const Profile& b, int number) {
  SCOPED_TRACE("profile " + std::to_string(number));
  EXPECT_EQ(a.Profil, b.Profil);
  EXPECT_EQ(a.REbene, b.REbene);
  EXPECT_EQ(a.ZEbene, b.ZEbene);
  EXPECT_EQ(a.VorschubZ, b.VorschubZ);
  EXPECT_EQ(a.VorschubXY, b.VorschubXY);
  EXPECT_EQ(a.templates, b.templates);
  EXPECT_EQ(a.Suffix, b.Suffix);
  EXPECT_EQ(a.Stellen, b.Stellen);
  EXPECT_EQ(a.Nachkommastellen, b.Nachkommastellen);
  EXPECT_EQ(a.Dezipunkt, b.Dezipunkt);
  EXPECT_EQ(a.NCpunkt, b.NCpunkt);
  EXPECT_EQ(a.VNullen, b.VNullen);
  EXPECT_EQ(a.NNullen, b.NNullen);
  EXPECT_EQ(a.Vorzeichen, b.Vorzeichen);
  EXPECT_EQ(a.Satznum, b.Satznum);
  EXPECT_EQ(a.Satzzeichen, b.Satzzeichen);
  EXPECT_EQ(a.Schritt, b.Schritt);
  EXPECT_EQ(a.Start, b.Start);
}

void ExpectSameGeneral(const GeneralSettings& a, const GeneralSettings& b) {
  EXPECT_EQ(a.ncPath, b.ncPath);
  EXPECT_EQ(a.voPath, b.voPath);
  EXPECT_EQ(a.HG, b.HG);
  EXPECT_EQ(a.Achsen, b.Achsen);
  EXPECT_EQ(a.Vorschub, b.Vorschub);
  EXPECT_EQ(a.AVorschub, b.AVorschub);
  EXPECT_EQ(a.Eilgang, b.Eilgang);
  EXPECT_EQ(a.Rohteil, b.Rohteil);
  EXPECT_EQ(a.Aufloesung, b.Aufloesung);
  EXPECT_EQ(a.XY, b.XY);
  EXPECT_EQ(a.XZ, b.XZ);
  EXPECT_EQ(a.YZ, b.YZ);
  EXPECT_EQ(a.XYZ, b.XYZ);
  EXPECT_EQ(a.G0, b.G0);
  EXPECT_EQ(a.AXIS, b.AXIS);
  EXPECT_EQ(a.Profil, b.Profil);
  EXPECT_EQ(a.lang, b.lang);
}

// Every field different per profile, switches in different patterns, some
// template lines empty between others.
Profile SampleProfile(int p) {
  const std::string s = std::to_string(p);
  Profile pr;
  pr.Profil = "Profil \xC3\xA4 " + s;
  pr.REbene = "5." + s;
  pr.ZEbene = "-" + s;
  pr.VorschubZ = "1" + s + "0";
  pr.VorschubXY = "F" + s;
  for (int k = 0; k < kTemplateKinds; ++k) {
    for (int n = 0; n < kTemplateLines; ++n) {
      if ((n + k + p) % 3 == 0) continue;
      pr.templates[static_cast<std::size_t>(k)][static_cast<std::size_t>(n)] =
          "G" + std::to_string(k) + " X[#XVAL] ; " + s + "/" + std::to_string(n);
    }
  }
  pr.Suffix = "n" + s;
  pr.Stellen = std::to_string(p + 2);
  pr.Nachkommastellen = std::to_string(p);
  pr.Dezipunkt = p & 1;
  pr.NCpunkt = p & 2;
  pr.VNullen = p == 3;
  pr.NNullen = p != 3;
  pr.Vorzeichen = p > 2;
  pr.Satznum = p < 3;
  pr.Satzzeichen = "N" + s;
  pr.Schritt = "1" + s;
  pr.Start = "-" + s;
  return pr;
}

GeneralSettings SampleGeneral() {
  GeneralSettings g;
  g.ncPath = "/home/user/NC programme";
  g.voPath = "/home/user/Vorlagen";
  g.HG = 16768185;
  g.Achsen = -1;
  g.Vorschub = 65280;
  g.AVorschub = 123;
  g.Eilgang = 255;
  g.Rohteil = 8421504;
  g.Aufloesung = "7";
  g.YZ = true;
  g.G0 = false;
  g.AXIS = true;
  g.Profil = 3;
  g.lang = 2;
  return g;
}

// A folder with the language files a load needs.
struct Fixture {
  TempDir config, exe;
  FixedAnswers ui;
  Fixture() {
    for (const char* name : {"german.txt", "english.txt", "french.txt", "spanish.txt"}) {
      WriteBytes(exe.file(name), std::string("1002") + name + "\n");
    }
  }
  bool load(Job& job) { return LoadSettings(job, config.path(), exe.path(), ui, ""); }
  bool save(Job& job) { return SaveSettings(job, config.path(), exe.path(), ui, ""); }
};

TEST(Settings, AllFilesMissing) {
  Fixture f;
  Job job;
  job.general = SampleGeneral();
  job.profiles[1] = SampleProfile(2);
  EXPECT_TRUE(f.load(job));
  for (int p = 0; p < 4; ++p) ExpectSameProfile(job.profiles[static_cast<std::size_t>(p)], {}, p);
  GeneralSettings zero;
  zero.Profil = 0;
  zero.lang = 0;
  ExpectSameGeneral(job.general, zero);
  // lang 0 means German.
  EXPECT_EQ(job.language.LangText(1002), "german.txt");
  EXPECT_TRUE(f.ui.messages.empty());
  // The store never creates the folder or the files on a load.
  EXPECT_TRUE(std::filesystem::is_empty(f.config.path()));
}

TEST(Settings, SaveLoadRoundTrip) {
  Fixture f;
  Job job;
  for (int p = 1; p <= 4; ++p) job.profiles[static_cast<std::size_t>(p - 1)] = SampleProfile(p);
  job.general = SampleGeneral();
  job.active.REbene = "active stays";
  job.active.number = 2;
  ASSERT_TRUE(f.save(job));
  EXPECT_TRUE(f.ui.messages.empty());
  // Saving reloads: the language follows the saved lang.
  EXPECT_EQ(job.language.LangText(1002), "english.txt");
  EXPECT_EQ(job.active.REbene, "active stays");
  EXPECT_EQ(job.active.number, 2);

  Job loaded;
  ASSERT_TRUE(f.load(loaded));
  for (int p = 1; p <= 4; ++p) {
    ExpectSameProfile(loaded.profiles[static_cast<std::size_t>(p - 1)], SampleProfile(p), p);
  }
  ExpectSameGeneral(loaded.general, SampleGeneral());

  // Every template key is written, the empty ones with empty values.
  const std::string text = ReadBytes(ProfileFilePath(f.config.path(), 1));
  const auto& lines = SampleProfile(1).templates;
  for (int k = 0; k < kTemplateKinds; ++k) {
    for (int n = 0; n < kTemplateLines; ++n) {
      const char* prefix[] = {"SynS", "SynA", "SynZ", "SynXY", "SynR", "SynE"};
      const std::string line = std::string("\n") + prefix[k] + std::to_string(n + 1) + "=" +
                               lines[static_cast<std::size_t>(k)][static_cast<std::size_t>(n)] +
                               "\n";
      EXPECT_NE(text.find(line), std::string::npos) << line;
    }
  }
}

TEST(Settings, TemplateLineLosesLeadingBlanksOnLoad) {
  Fixture f;
  Job job;
  job.profiles[0].templates[kSynXY][4] = "   G1 X[#XVAL]  ";
  job.profiles[0].Profil = "\tISO";
  ASSERT_TRUE(f.save(job));
  EXPECT_EQ(job.profiles[0].templates[kSynXY][4], "G1 X[#XVAL]");
  EXPECT_EQ(job.profiles[0].Profil, "ISO");
}

TEST(Settings, SaveStopsAtTheFirstRefusedFile) {
  Fixture f;
  Job job;
  for (int p = 1; p <= 4; ++p) job.profiles[static_cast<std::size_t>(p - 1)] = SampleProfile(p);
  job.language.lines = {"1002kept"};
  // A folder where profil2.ini belongs cannot be replaced by a file.
  std::filesystem::create_directory(ProfileFilePath(f.config.path(), 2));
  EXPECT_FALSE(f.save(job));
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0],
            "In " + ProfileFilePath(f.config.path(), 2) + " kann nicht geschrieben werden");
  // Profile 1 was written before, nothing after it, and nothing was reloaded.
  EXPECT_EQ(ReadProfile(ProfileFilePath(f.config.path(), 1)).Profil, SampleProfile(1).Profil);
  EXPECT_FALSE(std::filesystem::exists(ProfileFilePath(f.config.path(), 3)));
  EXPECT_FALSE(std::filesystem::exists(MainFilePath(f.config.path())));
  EXPECT_EQ(job.language.LangText(1002), "kept");
}

TEST(Settings, SaveIntoMissingFolderFails) {
  Fixture f;
  Job job;
  const std::string missing = f.config.file("not-there");
  EXPECT_FALSE(SaveSettings(job, missing, f.exe.path(), f.ui, ""));
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0], "In " + missing + "/profil1.ini kann nicht geschrieben werden");
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(Settings, LanguageFailureStillLoadsTheFiles) {
  Fixture f;
  Job job;
  job.profiles[2] = SampleProfile(3);
  job.general = SampleGeneral();
  job.general.lang = 7;
  ASSERT_TRUE(WriteProfile(ProfileFilePath(f.config.path(), 3), job.profiles[2]));
  ASSERT_TRUE(WriteGeneralSettings(MainFilePath(f.config.path()), job.general));
  Job loaded;
  loaded.language.lines = {"1002before"};
  EXPECT_FALSE(f.load(loaded));
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_NE(f.ui.messages[0].find("kann nicht geöffnet werden"), std::string::npos);
  EXPECT_EQ(loaded.language.LangText(1002), "before");
  ExpectSameProfile(loaded.profiles[2], SampleProfile(3), 3);
  ExpectSameGeneral(loaded.general, job.general);
}

TEST(Settings, StandardProfileNumber) {
  const std::pair<int32_t, int> cases[] = {{1, 1}, {2, 2}, {3, 3},  {4, 4},
                                           {0, 1}, {5, 1}, {-1, 1}, {INT32_MIN, 1}};
  for (const auto& [stored, used] : cases) {
    GeneralSettings g;
    g.Profil = stored;
    EXPECT_EQ(StandardProfileNumber(g), used) << stored;
  }
}

TEST(Settings, StandardProfileActivation) {
  struct Case {
    const char* what;
    int32_t standard;
    std::array<const char*, 4> names;
    int activated;
  };
  const Case cases[] = {
      {"by number", 3, {"A", "B", "C", "D"}, 3},
      {"missing main file", 0, {"A", "B", "C", "D"}, 1},
      {"beyond 4", 9, {"A", "B", "C", "D"}, 1},
      {"negative", -2, {"A", "B", "C", "D"}, 1},
      {"a profile named 1 is chosen by key 1", 1, {"A", "B", "1", "D"}, 3},
      {"last matching name wins", 2, {"2", "B", "C", "2"}, 4},
      {"a profile named 0 answers a standard profile 0", 0, {"A", "0", "C", "D"}, 2},
  };
  for (const Case& c : cases) {
    Job job;
    for (std::size_t p = 0; p < 4; ++p) {
      job.profiles[p].Profil = c.names[p];
      job.profiles[p].REbene = std::to_string(p + 1);
    }
    job.general.Profil = c.standard;
    EXPECT_EQ(ActivateStandardProfile(job), c.activated) << c.what;
    EXPECT_EQ(job.active.number, c.activated) << c.what;
    EXPECT_EQ(job.active.REbene, std::to_string(c.activated)) << c.what;
  }
}

TEST(Settings, StartLoadsAndActivates) {
  Fixture f;
  Job job;
  for (int p = 1; p <= 4; ++p) job.profiles[static_cast<std::size_t>(p - 1)] = SampleProfile(p);
  job.general = SampleGeneral();  // standard profile 3
  ASSERT_TRUE(f.save(job));
  Job started;
  EXPECT_TRUE(StartSettings(started, f.config.path(), f.exe.path(), f.ui, ""));
  EXPECT_EQ(started.active.number, 3);
  EXPECT_EQ(started.active.templates, SampleProfile(3).templates);
  EXPECT_EQ(started.active.ZEbene, SampleProfile(3).ZEbene);
  // Loading alone activates nothing.
  Job loaded;
  ASSERT_TRUE(f.load(loaded));
  EXPECT_EQ(loaded.active.number, 0);
}

// The shipped defaults: the files under data/config, their compiled-in copy,
// and what a machinist needs from them.
TEST(DefaultSettings, CompiledCopyMatchesShippedFiles) {
  const std::string dir = std::string(KORVANE_SOURCE_DIR) + "/data/config/";
  std::vector<std::string> names;
  for (const DefaultSettingsFile& f : DefaultSettingsFiles()) {
    names.emplace_back(f.name);
    EXPECT_EQ(ReadBytes(dir + std::string(f.name)), f.content) << f.name;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"profil1.ini", "profil2.ini", "profil3.ini",
                                             "profil4.ini", "main.ini"}));
}

TEST(DefaultSettings, SavingTheLoadedDefaultsReproducesThem) {
  // Shows the writing order as well: a save into a fresh folder writes
  // exactly the shipped files.
  Fixture f;
  Job job;
  const std::string shipped = std::string(KORVANE_SOURCE_DIR) + "/data/config/";
  ASSERT_TRUE(LoadSettings(job, shipped, f.exe.path(), f.ui, ""));
  ASSERT_TRUE(f.save(job));
  for (const DefaultSettingsFile& file : DefaultSettingsFiles()) {
    EXPECT_EQ(ReadBytes(f.config.file(std::string(file.name))), file.content) << file.name;
  }
}

TEST(DefaultSettings, AreUsable) {
  Fixture f;
  Job job;
  ASSERT_TRUE(
      LoadSettings(job, std::string(KORVANE_SOURCE_DIR) + "/data/config", f.exe.path(), f.ui, ""));
  const GeneralSettings& g = job.general;
  EXPECT_EQ(g.XY + g.XZ + g.YZ + g.XYZ, 1) << "exactly one default view";
  EXPECT_TRUE(g.XYZ && g.G0 && g.AXIS);
  EXPECT_EQ(g.Profil, 1);
  EXPECT_EQ(g.lang, 1);
  EXPECT_NE(g.HG, g.Vorschub);
  EXPECT_NE(g.HG, g.Eilgang);
  EXPECT_EQ(g.Eilgang, 0x0000FF) << "rapid moves red (red in the low byte)";
  for (std::size_t p = 0; p < 4; ++p) {
    const Profile& pr = job.profiles[p];
    SCOPED_TRACE(pr.Profil);
    EXPECT_FALSE(pr.Profil.empty());
    EXPECT_FALSE(pr.Suffix.empty());
    EXPECT_TRUE(ParseNumber(pr.REbene).has_value());
    EXPECT_TRUE(ParseNumber(pr.ZEbene).has_value());
    EXPECT_TRUE(pr.Dezipunkt || pr.NNullen);
    EXPECT_FALSE(pr.templates[kSynXY][0].empty());
    for (std::size_t q = 0; q < p; ++q) EXPECT_NE(pr.Profil, job.profiles[q].Profil);
  }
}

}  // namespace
}  // namespace korvane
