// The main window's settings and export commands, and what a saved setup
// changes in the running program.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "app/fmain_ui.h"
#include "export/fexport_ui.h"
#include "image/decode.h"
#include "settings/fsetup_ui.h"
#include "settings/qttranslations_ui.h"
#include "support/scripted_dialogs.h"

namespace korvane {
namespace {

// Answers every question Yes (the contour is accepted) and keeps the messages.
class AcceptingDialogs : public testing::ScriptedDialogs {
 public:
  bool ask(const std::string&) override { return true; }
};

class SettingsExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    qputenv("KORVANE_CONFIG_DIR", tmp.filePath("config").toUtf8() + "/");
    w = std::make_unique<Tfmain>(std::string(), true);
    w->setDialogs(&script, &script);
    w->setProgramDir(KORVANE_SOURCE_DIR "/data/lang");
    w->show();
    ASSERT_TRUE(script.messages.empty()) << script.messages.front();
  }
  void TearDown() override {
    w.reset();
    qunsetenv("KORVANE_CONFIG_DIR");
  }

  // The modal dialog that shows while `action` runs (closed again at once).
  QWidget* modalDuring(const std::function<void()>& action) {
    QWidget* seen = nullptr;
    QTimer::singleShot(0, [&seen] {
      seen = QApplication::activeModalWidget();
      if (auto* d = qobject_cast<QDialog*>(seen)) d->reject();
    });
    action();
    QApplication::processEvents();
    return seen;
  }

  QAbstractButton* button(const char* name) {
    auto* b = w->findChild<QAbstractButton*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
  }

  void saveLanguage(int lang) {
    auto* box = w->setupDialog()->findChild<QComboBox*>(QStringLiteral("ESprache"));
    ASSERT_NE(box, nullptr);
    ASSERT_GE(box->findData(lang), 0) << lang;
    box->setCurrentIndex(box->findData(lang));
    w->setupDialog()->SpeichernClick();
    ASSERT_TRUE(script.messages.empty()) << script.messages.front();
  }

  static QString yesButtonText() {
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&'));
  }

  QTemporaryDir tmp;
  AcceptingDialogs script;
  std::unique_ptr<Tfmain> w;
};

TEST_F(SettingsExportTest, MenuAndButtonShowTheOneSetupDialog) {
  ASSERT_NE(w->setupDialog(), nullptr);
  EXPECT_EQ(w->setupDialog()->objectName(), QStringLiteral("FSetup"));
  EXPECT_EQ(modalDuring([&] { button("BSetup")->click(); }), w->setupDialog());
  EXPECT_EQ(modalDuring([&] { w->command("Einstellungen1")->trigger(); }), w->setupDialog());
}

TEST_F(SettingsExportTest, ExportShowsTheMessageWithoutAContourAndTheDialogWithOne) {
  QAction* exportCommand = w->command("MExport");
  ASSERT_NE(exportCommand, nullptr);
  EXPECT_TRUE(exportCommand->isEnabled());
  EXPECT_EQ(modalDuring([&] { exportCommand->trigger(); }), nullptr);
  EXPECT_EQ(script.messages, std::vector<std::string>{kNoContourText});

  Picture p;
  p.resize(40, 30, kWhite);
  for (int y = 8; y < 20; ++y)
    for (int x = 10; x < 28; ++x) p.at(x, y) = kBlack;
  const std::string file = tmp.filePath("block.bmp").toStdString();
  std::string error;
  ASSERT_TRUE(SavePictureBmp32(file, p, error)) << error;
  ASSERT_TRUE(w->openPictureFile(file));
  button("BConvert")->click();
  ASSERT_TRUE(w->job().contourAccepted);
  EXPECT_TRUE(exportCommand->isEnabled());
  EXPECT_EQ(modalDuring([&] { exportCommand->trigger(); }), w->exportDialog());
}

TEST_F(SettingsExportTest, SavedLanguageRecaptionsEveryWindowAndQtsOwnTexts) {
  int applied = 0;
  QObject::connect(&w->events(), &JobEvents::settingsApplied, [&applied] { ++applied; });
  const auto bBlank = [&] { return button("BBlank")->text(); };
  ASSERT_EQ(bBlank(), QStringLiteral("Rohteil"));
  ASSERT_EQ(yesButtonText(), QStringLiteral("Ja"));

  saveLanguage(2);
  EXPECT_EQ(applied, 1);
  EXPECT_EQ(bBlank(), QStringLiteral("Stock"));
  EXPECT_EQ(w->setupDialog()->windowTitle(), QStringLiteral("Settings"));
  EXPECT_EQ(w->exportDialog()->windowTitle(), QStringLiteral("Export"));
  EXPECT_EQ(yesButtonText(), QStringLiteral("Yes"));

  saveLanguage(1);
  EXPECT_EQ(bBlank(), QStringLiteral("Rohteil"));
  EXPECT_EQ(w->exportDialog()->windowTitle(), QStringLiteral("Exportieren"));
  EXPECT_EQ(yesButtonText(), QStringLiteral("Ja"));
}

TEST(QtTranslations, LanguageNumbersAndTheirQtTexts) {
  const struct {
    int lang;
    const char* code;
    bool loads;
  } cases[] = {{0, "de", true}, {1, "de", true}, {2, "en", true}, {3, "fr", true},
               {4, "es", true}, {5, "", false}, {-1, "", false}};
  QObject owner;
  QtTranslations translations(&owner);
  for (const auto& c : cases) {
    EXPECT_EQ(QtLanguageCode(c.lang), c.code) << c.lang;
    EXPECT_EQ(translations.use(c.lang), c.loads) << c.lang;
  }
  // French, then a number without a language: Qt's English texts again.
  ASSERT_TRUE(translations.use(3));
  EXPECT_EQ(QApplication::translate("QPlatformTheme", "&Yes").remove('&'), QStringLiteral("Oui"));
  translations.use(9);
  EXPECT_EQ(QApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
}

}  // namespace
}  // namespace korvane
