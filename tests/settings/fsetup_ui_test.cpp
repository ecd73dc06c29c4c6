// The setup dialog through its widgets: page switching, steppers, the number
// format interlock, templates, folder and colour choosers, saving with its
// write error, and the program preview.
#include "settings/fsetup_ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>

#include "core/jobsettings.h"
#include "settings/settings.h"
#include "support/scripted_dialogs.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

using Script = testing::ScriptedDialogs;

const std::string kData = std::string(KORVANE_SOURCE_DIR) + "/data/";

class SetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    config = dir.file("config");
    std::filesystem::copy(kData + "config", config);
    ASSERT_TRUE(LoadSettings(job, config, kData + "lang", script, ""));
    open();
  }
  void open() {
    dlg = std::make_unique<TFSetup>(
        job, SetupPaths{config, kData + "lang", ""}, script, script,
        [this](int n) { return job.language.LangText(n); }, [this] { ++helpCalls; });
    dlg->show();
  }
  template <typename W = QWidget>
  W* w(const char* name) {
    W* found = dlg->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  void click(const char* name) { w<QAbstractButton>(name)->click(); }
  QString text(const char* name) { return w<QLineEdit>(name)->text(); }
  void setText(const char* name, const QString& t) { w<QLineEdit>(name)->setText(t); }
  QString preview() { return w<QPlainTextEdit>("ENCVorschau")->toPlainText(); }
  std::string file(const char* name) { return ReadBytes(config + "/" + name); }

  TempDir dir;
  std::string config;
  Job job;
  Script script;
  int helpCalls = 0;
  std::unique_ptr<TFSetup> dlg;
};

TEST_F(SetupTest, PagesKeepEditsInTheStoreUntilSaved) {
  EXPECT_EQ(dlg->windowTitle(), "Einstellungen");
  EXPECT_TRUE(w("PProgramm")->isVisible());
  click("P1");
  EXPECT_EQ(text("EEProfil"), "DIN/ISO Fräsen");
  setText("EEProfil", "Fräse neu");
  click("P2");
  EXPECT_EQ(job.profiles[0].Profil, "Fräse neu");
  EXPECT_EQ(text("EEProfil"), "DIN/ISO Satznummern");
  setText("EEProfil", "Zweite");
  click("P1");
  EXPECT_EQ(text("EEProfil"), "Fräse neu");
  EXPECT_EQ(job.profiles[1].Profil, "Zweite");
  // "Programm" stores nothing; the shown profile page stays the one to store.
  setText("EEProfil", "Erste");
  click("MP");
  EXPECT_EQ(dlg->shownProfilePage(), 1);
  EXPECT_EQ(job.profiles[0].Profil, "Fräse neu");
  setText("EZieldir", "/tmp/nc-programme");

  const std::string before = file("profil1.ini") + file("main.ini");
  click("Abbrechen");
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_EQ(file("profil1.ini") + file("main.ini"), before);
  EXPECT_EQ(job.profiles[1].Profil, "Zweite");

  // Shown again: page "Programm", no profile page, the controls as left.
  dlg->show();
  EXPECT_EQ(dlg->shownProfilePage(), 0);
  EXPECT_TRUE(w("PProgramm")->isVisible());
  EXPECT_EQ(text("EZieldir"), "/tmp/nc-programme");
  click("Speichern");
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_NE(file("profil1.ini").find("Profil=Fräse neu\n"), std::string::npos);
  EXPECT_NE(file("profil2.ini").find("Profil=Zweite\n"), std::string::npos);
  EXPECT_NE(file("main.ini").find("nc=/tmp/nc-programme\n"), std::string::npos);
  // Loaded again, and the active profile untouched.
  EXPECT_EQ(ReadProfile(config + "/profil1.ini").Profil, job.profiles[0].Profil);
  EXPECT_TRUE(script.messages.empty());
}

TEST_F(SetupTest, TemplatesCloseUpAndKeepTwentyLines) {
  job.profiles[0].templates[kSynS] = {};
  job.profiles[0].templates[kSynS][0] = "%";
  job.profiles[0].templates[kSynS][3] = "G90";
  click("P1");
  auto* start = w<QPlainTextEdit>("ESyntaxS");
  EXPECT_EQ(start->toPlainText(), "%\nG90");
  QStringList lines;
  for (int i = 1; i <= 25; ++i) lines << QStringLiteral("N%1").arg(i);
  start->setPlainText(lines.join('\n'));
  w<QPlainTextEdit>("ESyntaxE")->setPlainText("M30");
  click("P2");
  const auto& stored = job.profiles[0].templates;
  EXPECT_EQ(stored[kSynS][0], "N1");
  EXPECT_EQ(stored[kSynS][19], "N20");
  EXPECT_EQ(stored[kSynE][0], "M30");
  EXPECT_EQ(stored[kSynE][1], "");
  click("Speichern");
  const std::string saved = file("profil1.ini");
  EXPECT_NE(saved.find("SynS20=N20\n"), std::string::npos);
  EXPECT_EQ(saved.find("N21"), std::string::npos);
  EXPECT_NE(saved.find("SynE2=\n"), std::string::npos);
}

TEST_F(SetupTest, Steppers) {
  click("P1");
  struct Case {
    const char* button;
    const char* field;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"SPlus1", "EEStellen", "10", "10"},      {"SPlus1", "EEStellen", "3.7", "4"},
      {"SPlus1", "EEStellen", "-0.5", "1"},     {"SMinus1", "EEStellen", "0", "0"},
      {"SMinus1", "EEStellen", "x", "x"},       {"NPlus1", "EENachkommastellen", "9", "10"},
      {"NMinus1", "EENachkommastellen", "1", "0"}, {"RPlus1", "EERebene", "5", "5.100"},
      {"RPlus1", "EERebene", "abc", "0"},       {"RMinus1", "EERebene", "0.05", "-0.050"},
      {"ZMinus1", "EEZebene", "-0.5", "-0.600"}, {"ZPlus1", "EEZebene", "", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.button) + " on " + c.before);
    setText(c.field, QString::fromUtf8(c.before));
    click(c.button);
    EXPECT_EQ(text(c.field), QString::fromUtf8(c.after));
  }
  // The block-number step copies itself into the start field, also at its limits.
  struct StepCase {
    const char* button;
    const char* before;
    const char* after;
  };
  for (const StepCase& c : {StepCase{"SNMinus1", "1", "1"}, StepCase{"SNPlus1", "99", "99"},
                            StepCase{"SNPlus1", "10", "11"}, StepCase{"SNMinus1", "2", "1"}}) {
    SCOPED_TRACE(std::string(c.button) + " on " + c.before);
    EXPECT_TRUE(w<QLineEdit>("EESatzschritt")->isReadOnly());
    setText("EESatzschritt", c.before);
    setText("EEstart", "500");
    click(c.button);
    EXPECT_EQ(text("EESatzschritt"), c.after);
    EXPECT_EQ(text("EEstart"), c.after);
  }
}

TEST_F(SetupTest, InterlockAndStartField) {
  click("P1");
  auto* dezi = w<QCheckBox>("EEDeziPunkt");
  auto* nullen = w<QCheckBox>("EENNullen");
  ASSERT_TRUE(dezi->isChecked());
  ASSERT_FALSE(nullen->isChecked());
  dezi->click();  // released: trailing zeros go on
  EXPECT_FALSE(dezi->isChecked());
  EXPECT_TRUE(nullen->isChecked());
  nullen->click();  // released: the decimal point goes on
  EXPECT_TRUE(dezi->isChecked());
  EXPECT_FALSE(nullen->isChecked());
  dezi->click();
  dezi->click();  // pressing again leaves the other one as it is
  EXPECT_TRUE(dezi->isChecked());
  EXPECT_TRUE(nullen->isChecked());

  ASSERT_EQ(text("EESatzschritt"), "10");
  for (const char* bad : {"", "abc", "1,5"}) {
    setText("EEstart", bad);
    EXPECT_EQ(text("EEstart"), "10") << bad;
  }
  setText("EEstart", "25");
  EXPECT_EQ(text("EEstart"), "25");
  // A step that is no number itself is taken once, without looping.
  setText("EESatzschritt", "");
  setText("EEstart", "x");
  EXPECT_EQ(text("EEstart"), "");
}

TEST_F(SetupTest, RefusedWriteKeepsTheDialogOpenWithItsEdits) {
  click("P3");
  setText("EEProfil", "Laser neu");
  std::filesystem::remove_all(config);
  click("Speichern");
  ASSERT_EQ(script.messages.size(), 1u);
  EXPECT_EQ(script.messages[0], "In " + config + "/profil1.ini kann nicht geschrieben werden");
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(text("EEProfil"), "Laser neu");
  EXPECT_EQ(job.profiles[2].Profil, "Laser neu");

  std::filesystem::create_directory(config);
  click("Speichern");
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_NE(file("profil3.ini").find("Profil=Laser neu\n"), std::string::npos);
  EXPECT_EQ(ReadGeneralSettings(config + "/main.ini").Profil, 1);
}

TEST_F(SetupTest, FolderChoosers) {
  const std::string exeDir = kData + "lang";
  struct Case {
    const char* field;
    const char* button;
    std::string before;
    std::string start;  // where the chooser opens
    std::string answer;
    std::string after;
  };
  const Case cases[] = {
      {"EZieldir", "BZielDir", "/does/not/exist", exeDir, "", exeDir + "/"},
      {"EZieldir", "BZielDir", "/tmp/", "/tmp", "/var", "/var"},
      {"EVorlagenDir", "BVorlagenDir", "/", "/", "", "/"},
      {"EVorlagenDir", "BVorlagenDir", "", exeDir, "/tmp", "/tmp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    setText(c.field, QString::fromStdString(c.before));
    if (!c.answer.empty()) script.folders.push_back(c.answer);
    click(c.button);
    ASSERT_FALSE(script.folderRequests.empty());
    EXPECT_EQ(script.folderRequests.back().start, c.start);
    EXPECT_EQ(script.folderRequests.back().caption, "Auswahl Verzeichnis");
    EXPECT_EQ(script.folderRequests.back().status, "Verzeichnis auswählen");
    EXPECT_EQ(text(c.field).toStdString(), c.after);
  }
}

TEST_F(SetupTest, ColourSwatchesAndProgramPageAreSaved) {
  auto* swatch = w<ColourSwatch>("EHintergrund");
  EXPECT_EQ(swatch->colour(), 0);
  script.colours = {std::nullopt, 0x00563412};
  QTest::mouseClick(swatch, Qt::LeftButton);  // cancelled
  EXPECT_EQ(swatch->colour(), 0);
  QTest::mouseClick(swatch, Qt::LeftButton);
  EXPECT_EQ(swatch->colour(), 0x00563412);
  EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
  QTest::mouseClick(w<ColourSwatch>("ERohteil"), Qt::LeftButton);
  EXPECT_EQ(script.colourAsked, (std::vector<int32_t>{0, 0, 8421504}));

  click("EStandard3");
  click("XZButt");
  click("AxisButt");
  click("Speichern");
  const GeneralSettings g = ReadGeneralSettings(config + "/main.ini");
  EXPECT_EQ(g.HG, 0x00563412);
  EXPECT_EQ(g.Rohteil, 8421504);
  EXPECT_EQ(g.AVorschub, 16776960);  // hidden, kept as loaded
  EXPECT_EQ(g.Aufloesung, "1");
  EXPECT_EQ(g.Profil, 3);
  EXPECT_TRUE(g.XZ);
  EXPECT_FALSE(g.XYZ);
  EXPECT_FALSE(g.AXIS);
  EXPECT_TRUE(g.G0);
}

TEST_F(SetupTest, LanguageIsSavedAndCaptionsFollow) {
  auto* lang = w<QComboBox>("ESprache");
  ASSERT_EQ(lang->count(), 4);
  EXPECT_EQ(lang->currentText(), "Deutsch");
  EXPECT_EQ(w<QPushButton>("P2")->text(), "Profil 2");
  lang->setCurrentIndex(lang->findText("English"));
  click("Speichern");
  EXPECT_EQ(ReadGeneralSettings(config + "/main.ini").lang, 2);
  EXPECT_EQ(job.language.LangText(2002), "Settings");
  EXPECT_EQ(dlg->windowTitle(), "Settings");
  EXPECT_EQ(w<QPushButton>("Speichern")->text(), "&Save");
  EXPECT_EQ(w<QLabel>("LSprache")->text(), "Language");
  click("Hilfe");
  EXPECT_EQ(helpCalls, 1);
}

TEST_F(SetupTest, PreviewFollowsTheEditedProfile) {
  click("P1");
  QStringList shown = preview().split('\n');
  // The built-in 10 mm square through profile 1.
  ASSERT_GE(shown.size(), 8);
  EXPECT_EQ(shown[0], "%");
  EXPECT_TRUE(shown.contains("G1 X10. Y10. F400") || shown.contains("G1 X10 Y10 F400"))
      << preview().toStdString();
  w<QPlainTextEdit>("ESyntaxS")->setPlainText("(KORVANE)\nG90");
  EXPECT_EQ(preview().split('\n').first(), "(KORVANE)");
  setText("EEVorschubXY", "1234");
  EXPECT_TRUE(preview().contains("F1234"));
  setText("EERebene", "abc");
  EXPECT_EQ(preview(), "'abc' ist kein gültiger Gleitkommawert");
  // Nothing of it reaches the store before the page is stored.
  EXPECT_EQ(job.profiles[0].VorschubXY, "400");

  // An accepted contour replaces the square: its first 40 lines.
  job.contourAccepted = true;
  job.scale = 0.5L;
  for (int k = 0; k < 100; ++k) job.segments.append(k, 0, k + 1, 0);
  click("P2");
  shown = preview().split('\n');
  EXPECT_EQ(shown.size(), 40);
  EXPECT_EQ(shown[0], "%");
  EXPECT_TRUE(preview().contains("X0.5 Y0 F400")) << preview().toStdString();
}

}  // namespace
}  // namespace korvane
