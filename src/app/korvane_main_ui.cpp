// The desktop program: `korvane [PICTURE]`.
//
// `korvane --screenshot PREFIX PICTURE` is a demonstration run for the
// documentation: it opens the picture, thresholds it when needed, converts it
// with the outline, accepts the result and saves screen shots of the
// conversion dialog, of the picture and NC program views, of the setup dialog
// and the export dialog, of the stock page, of the NC graphic (oblique with a
// stock block, and from above) and of the slowed simulation with its clock as
// PREFIX-*.png.
//
// `korvane --measure PICTURE [--follow-lines] [--optimise] [--accept-shot PNG]`
// is a measured run of a large job (app/jobprobe_ui.h).
#include <QApplication>
#include <QEventLoop>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <new>
#include <string>

#include "app/fmain_ui.h"
#include "app/jobprobe_ui.h"
#include "export/fexport_ui.h"
#include "settings/fsetup_ui.h"
#include "base/messages.h"
#include "base/numtext.h"
#include "sim/fclock_ui.h"
#include "sim/ncgraphicview_ui.h"
#include "sim/prohteil_ui.h"
#include "image/pictureview_ui.h"
#include "image/tffilter_ui.h"
#include "image/tfhkg_ui.h"
#include "image/tfresize_ui.h"
#include "core/tfconvert_ui.h"
#include "image/blackwhite.h"

namespace {

// The last guard: a command that runs out of memory where no step of its own
// catches it ends with a message, and the program goes on, instead of an
// abort that loses the user's work.
class KorvaneApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
      std::fprintf(stderr, "%s\n", korvane::kCommandOutOfMemoryText);
      QMessageBox::warning(nullptr, QStringLiteral("Korvane"),
                           QString::fromUtf8(korvane::kCommandOutOfMemoryText));
      return false;
    }
  }
};

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
  // Views lay their rows out on a timer: let a moment of events pass.
  QEventLoop settle;
  QTimer::singleShot(200, &settle, &QEventLoop::quit);
  settle.exec();
  QGuiApplication::primaryScreen()->grabWindow(0).save(file);
}

void RunScreenshots(korvane::Tfmain& w, const QString& prefix) {
  static AnswerYes yes;
  w.setDialogs(&yes, &yes);
  korvane::Job& job = w.job();
  if (!korvane::IsBlackWhite(job.working)) {
    // A grey picture: the three preparation dialogs with their live preview,
    // each cancelled again, so the picture is as opened afterwards.
    w.BImageClick();
    auto* hkg = w.findChild<korvane::TFHkg*>();
    hkg->show();
    hkg->findChild<QSlider*>(QStringLiteral("sbContrast"))->setValue(40);
    hkg->findChild<QSlider*>(QStringLiteral("sbGamma"))->setValue(-30);
    Shoot(prefix + QStringLiteral("-korrektur.png"));
    hkg->reject();
    auto* filter = w.findChild<korvane::TFFilter*>();
    filter->show();
    filter->findChild<QPushButton*>(QStringLiteral("BEdge"))->click();
    Shoot(prefix + QStringLiteral("-filter.png"));
    filter->reject();
    auto* resize = w.findChild<korvane::TFResize*>();
    resize->show();
    Shoot(prefix + QStringLiteral("-groesse.png"));
    resize->reject();
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
  // The setup dialog's page "Programm", then profile 1 with its preview, and
  // the export dialog with the DXF text (shown without their modal loops).
  korvane::TFSetup* setup = w.setupDialog();
  setup->show();
  Shoot(prefix + QStringLiteral("-setup.png"));
  setup->PClick(1);
  Shoot(prefix + QStringLiteral("-profil.png"));
  setup->hide();
  korvane::TFExport* exporter = w.exportDialog();
  exporter->show();
  exporter->Export(1);
  Shoot(prefix + QStringLiteral("-export.png"));
  exporter->hide();

  // The graphic view: a block around the machine extents, then the presets.
  w.BBlankClick();
  auto* stock = w.findChild<korvane::TPRohteil*>(QStringLiteral("PRohteil"));
  const korvane::MachineExtents& e = job.extents;
  const long double box[] = {std::min(e.xMin, e.xMax) - 3, std::max(e.xMin, e.xMax) + 3,
                             std::min(e.yMin, e.yMax) - 3, std::max(e.yMin, e.yMax) + 3, -3, 0};
  for (int f = korvane::QUADER1_XM; f <= korvane::QUADER1_ZP; ++f)
    stock->field(static_cast<korvane::StockField>(f))
        ->setText(QString::fromStdString(korvane::FormatFixed(box[f], 1)));
  Shoot(prefix + QStringLiteral("-rohteil.png"));
  stock->RAnzeigenClick();
  auto* g = w.findChild<korvane::TNCGraphicView*>(QStringLiteral("PGrafik"));
  g->ZoomallClick();
  g->XYButtClick();
  Shoot(prefix + QStringLiteral("-grafik-xy.png"));
  g->XYZButtClick();
  Shoot(prefix + QStringLiteral("-grafik.png"));
  // The slowed simulation with its clock, shot while it draws.
  g->clock()->findChild<QSlider*>(QStringLiteral("DSpeed"))->setValue(1990);
  QTimer::singleShot(2500, [prefix, g] {
    Shoot(prefix + QStringLiteral("-clock.png"));
    g->clock()->SchliessenClick();
  });
  g->findChild<QToolButton*>(QStringLiteral("B1Delay"))->click();
  QTimer::singleShot(3500, [] { QApplication::quit(); });
}

}  // namespace

int main(int argc, char** argv) {
  KorvaneApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Korvane"));
  QApplication::setApplicationDisplayName(QStringLiteral("Korvane"));
  // Numbers are written and read with "." whatever the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());

  std::string picture;
  QString screenshotPrefix;
  bool measure = false;
  korvane::MeasureOptions measureOptions;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--screenshot" && i + 1 < argc)
      screenshotPrefix = QString::fromLocal8Bit(argv[++i]);
    else if (arg == "--measure")
      measure = true;
    else if (measure && arg == "--follow-lines")
      measureOptions.followLines = true;
    else if (measure && arg == "--optimise")
      measureOptions.optimise = true;
    else if (measure && arg == "--accept-shot" && i + 1 < argc)
      measureOptions.acceptShot = QString::fromLocal8Bit(argv[++i]);
    else if (picture.empty() && !arg.empty())
      picture = arg;
  }
  korvane::Tfmain w(picture, argc > 1);
  if (measure) {
    // Without a window manager a maximised window keeps its size: fill the screen.
    w.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    w.show();
  } else if (screenshotPrefix.isEmpty()) {
    w.showMaximized();
  } else {
    w.resize(1000, 700);
    w.show();
  }
  if (measure && !picture.empty())
    QTimer::singleShot(1000, &w, [&w, measureOptions] { korvane::RunMeasuredJob(w, measureOptions); });
  if (!screenshotPrefix.isEmpty() && !picture.empty())
    QTimer::singleShot(1500, &w, [&w, screenshotPrefix] { RunScreenshots(w, screenshotPrefix); });
  return app.exec();
}
