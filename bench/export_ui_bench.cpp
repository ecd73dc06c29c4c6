// The export dialog's DXF preview of a large contour, offscreen: the dialog's
// generation into its list view, against the same text handed to a
// QPlainTextEdit in one piece. Rounds alternate, because timings on a shared
// machine drift between runs.
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/dialogs_ui.h"
#include "base/interaction.h"
#include "export/export.h"
#include "export/fexport_ui.h"

namespace {

template <typename F>
double Ms(F f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  QCoreApplication::processEvents();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

class NoDialogs : public korvane::FileDialogs {
 public:
  std::string openPicture(const korvane::FileRequest&) override { return {}; }
  std::string savePicture(const korvane::FileRequest&) override { return {}; }
  std::string saveNcProgram(const korvane::FileRequest&) override { return {}; }
  bool openDocument(const std::string&) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int segments = argc > 1 ? std::atoi(argv[1]) : 125000;
  korvane::Job job;
  job.contourAccepted = true;
  job.working.resize(4096, 4096, 0xFFFFFFFFu);
  for (int k = 0; k < segments; ++k)
    job.segments.append(k % 4000 + 0.5L, k / 4000, k % 4000 + 1.25L, k / 4000 + 1.0L / 3);
  korvane::FixedAnswers ui;
  NoDialogs files;
  korvane::NullProgress progress;
  korvane::TFExport dialog(job, ui, files, progress);
  dialog.show();
  QPushButton* dxf = dialog.findChild<QPushButton*>(QStringLiteral("BDXF"));
  QPlainTextEdit plain;
  plain.setReadOnly(true);
  plain.show();
  double best[2] = {1e300, 1e300};
  for (int round = 0; round < 2; ++round) {
    best[0] = std::min(best[0], Ms([&] { dxf->click(); }));
    best[1] = std::min(best[1], Ms([&] {
      const std::string text = korvane::ExportDxf(
          korvane::ExportInputOf(job.segments, job.working.width, job.working.height), progress);
      plain.setPlainText(QString::fromStdString(text));
    }));
    plain.clear();
  }
  std::printf("export preview DXF %d segments: list view %.0f ms, plain text edit %.0f ms, %.1fx\n",
              segments, best[0], best[1], best[1] / best[0]);
  return 0;
}
