// The desktop program: `korvane [PICTURE]`.
//
// `korvane --screenshot PREFIX PICTURE` is a demonstration run for the
// documentation: it opens the picture, thresholds it when needed, converts it
// with the outline, accepts the result and saves screen shots of the
// conversion dialog and of the picture and NC program views as PREFIX-*.png.
#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <clocale>
#include <string>

#include "app/fmain_ui.h"
#include "image/pictureview_ui.h"
#include "core/tfconvert_ui.h"
#include "image/blackwhite.h"

namespace {

class AnswerYes : public korvane::UserDialogs, public korvane::FileDialogs {
 public:
  bool ask(const std::string&) override { return true; }
  bool confirm(const std::string&) override { return true; }
  void message(const std::string&) override {}
  std::string openPicture(const korvane::FileRequest&) override { return {}; }
  std::string savePicture(const korvane::FileRequest&) override { return {}; }
  std::string saveNcProgram(const korvane::FileRequest&) override { return {}; }
  bool openDocument(const std::string&) override { return false; }
};

void Shoot(const QString& file) {
  QApplication::processEvents();
  QGuiApplication::primaryScreen()->grabWindow(0).save(file);
}

void RunScreenshots(korvane::Tfmain& w, const QString& prefix) {
  static AnswerYes yes;
  w.setDialogs(&yes, &yes);
  korvane::Job& job = w.job();
  if (!korvane::IsBlackWhite(job.working)) {
    korvane::ThresholdImage(job.working, korvane::kDefaultThreshold);
    job.accepted = job.working;
    w.bild()->bwWarning()->hide();
    w.bild()->pictureChanged();
  }
  bool shotDialog = false;
  w.setProgressHook([&, prefix](const std::string&, int percent) {
    if (!shotDialog && percent >= 60 && w.convertDialog()->isVisible()) {
      shotDialog = true;
      Shoot(prefix + QStringLiteral("-convert.png"));
    }
  });
  w.BConvertClick();
  w.BImageClick();
  Shoot(prefix + QStringLiteral("-bild.png"));
  w.BProgramClick();
  Shoot(prefix + QStringLiteral("-programm.png"));
  QApplication::quit();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Korvane"));
  QApplication::setApplicationDisplayName(QStringLiteral("Korvane"));
  // Numbers are written and read with "." whatever the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());

  std::string picture;
  QString screenshotPrefix;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--screenshot" && i + 1 < argc)
      screenshotPrefix = QString::fromLocal8Bit(argv[++i]);
    else if (picture.empty() && !arg.empty())
      picture = arg;
  }
  korvane::Tfmain w(picture, argc > 1);
  if (screenshotPrefix.isEmpty()) {
    w.showMaximized();
  } else {
    w.resize(1000, 700);
    w.show();
  }
  if (!screenshotPrefix.isEmpty() && !picture.empty())
    QTimer::singleShot(1500, &w, [&w, screenshotPrefix] { RunScreenshots(w, screenshotPrefix); });
  return app.exec();
}
