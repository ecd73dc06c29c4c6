// The export dialog through its widgets: generation into the preview with
// progress, saving with the filter and CR LF line ends, and the errors.
#include "export/fexport_ui.h"

#include <QListView>
#include <QPushButton>
#include <gtest/gtest.h>

#include <deque>

#include "support/scripted_dialogs.h"
#include "export/export.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

using Script = testing::ScriptedDialogs;

// Records each report and whether the dialog let a second command start.
class Progress : public ProgressSink {
 public:
  std::function<void()> onReport;
  std::vector<std::pair<std::string, int>> seen;
  void report(const std::string& text, int percent) override {
    seen.emplace_back(text, percent);
    if (onReport) onReport();
  }
};

class ExportDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    job.contourAccepted = true;
    job.working.resize(20, 10, 0xFFFFFFFFu);
    job.segments.append(3, 0, 5, 2);
    job.segments.append(5, 2, 8, 2);
    job.general.ncPath = dir.path();
    dlg = std::make_unique<TFExport>(job, script, script, progress, [](int n) {
      return n == 4119 ? std::string("Kontur *.") : "T" + std::to_string(n);
    });
    dlg->show();
  }
  QPushButton* button(const char* name) {
    auto* b = dlg->findChild<QPushButton*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
  }
  QListView* editor() { return dlg->findChild<QListView*>("ExportEditor"); }
  // The preview's rows joined by line feeds.
  QString shown() {
    QStringList rows;
    for (int r = 0; r < editor()->model()->rowCount(); ++r)
      rows << editor()->model()->index(r, 0).data().toString();
    return rows.join('\n');
  }

  TempDir dir;
  Job job;
  Script script;
  Progress progress;
  std::unique_ptr<TFExport> dlg;
};

TEST_F(ExportDialogTest, GeneratesIntoThePreview) {
  EXPECT_EQ(dlg->windowTitle(), "T4301");
  EXPECT_EQ(button("Speichern")->text(), "T4117");
  EXPECT_FALSE(button("Speichern")->isEnabled());
  EXPECT_FALSE(editor()->isEnabled());
  EXPECT_EQ(editor()->editTriggers(), QAbstractItemView::NoEditTriggers);
  std::vector<bool> enabledDuringRun;
  progress.onReport = [&] {
    for (const char* b : {"BDXF", "BHPGL", "BSVG", "Abbrechen", "Speichern"})
      enabledDuringRun.push_back(button(b)->isEnabled());
  };
  button("BHPGL")->click();
  EXPECT_EQ(shown(), "IN;\nWU0;\nSP1;\nLT;\nPUPA3,10;\nPDPA5,8;\nPDPA8,8;\nPU;\nSP0;");
  EXPECT_EQ(progress.seen,
            (std::vector<std::pair<std::string, int>>{{"Export ...", 50}, {"Export ...", 100}}));
  EXPECT_EQ(enabledDuringRun, std::vector<bool>(10, false));
  EXPECT_TRUE(button("Speichern")->isEnabled());
  EXPECT_TRUE(button("BDXF")->isEnabled());
  EXPECT_EQ(dlg->extension(), "plt");

  // Shown again: empty and nothing to save.
  dlg->hide();
  dlg->show();
  EXPECT_EQ(shown(), "");
  EXPECT_FALSE(button("Speichern")->isEnabled());
}

TEST_F(ExportDialogTest, SavesTheLastFormatWithCrLf) {
  button("BDXF")->click();
  button("BSVG")->click();
  script.files = {dir.file("kontur")};
  button("Speichern")->click();
  ASSERT_EQ(script.requests.size(), 1u);
  const FileRequest& r = script.requests[0];
  EXPECT_EQ(r.directory, dir.path());
  EXPECT_EQ(r.fileName, "");
  EXPECT_EQ(r.defaultSuffix, "svg");
  ASSERT_EQ(r.filters.size(), 1u);
  EXPECT_EQ(r.filters[0].description, "Kontur *.svg");
  EXPECT_EQ(r.filters[0].pattern, "*.svg");
  NullProgress quiet;
  EXPECT_EQ(ReadBytes(dir.file("kontur.svg")),
            ExportSvg(ExportInputOf(job.segments, 20, 10), quiet));
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_TRUE(script.messages.empty());
}

TEST_F(ExportDialogTest, WriteErrorKeepsTheDialogOpenAndCancelCloses) {
  button("BDXF")->click();
  const QString text = shown();
  const std::string bad = dir.file("missing/kontur.dxf");
  script.files = {bad};
  button("Speichern")->click();
  EXPECT_EQ(script.messages, std::vector<std::string>{"Datei " + bad + " kann nicht erstellt werden"});
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(shown(), text);

  button("Speichern")->click();  // the save dialog cancelled: closed, nothing written
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(script.messages.size(), 1u);
}

TEST_F(ExportDialogTest, NoAcceptedContourShowsTheMessageInstead) {
  dlg->hide();
  job.contourAccepted = false;
  EXPECT_EQ(dlg->run(), QDialog::Rejected);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(script.messages,
            std::vector<std::string>{"Es wurde noch keine Kontur erstellt!\r\n\r\n[Bilddatei öffnen] "
                                     "-> [Konturtyp wählen] -> [Erstelle NC-Programm]"});
}

}  // namespace
}  // namespace korvane
