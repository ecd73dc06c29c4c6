// The main window driven through its widgets, with scripted answers for every
// question and file chooser.
#include "app/fmain_ui.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "contour/tooldiameter_ui.h"
#include "core/job.h"
#include "core/tfconvert_ui.h"
#include "editor/nceditor_ui.h"
#include "image/decode.h"
#include "image/pictureview_ui.h"
#include "ncout/fimagepos_ui.h"
#include "ncout/fscale_ui.h"
#include "settings/language.h"

namespace korvane {
namespace {

// Answers questions and file choosers from queues and records what was shown.
class Script : public UserDialogs, public FileDialogs {
 public:
  std::deque<bool> answers;  // ask/confirm, in order; false when exhausted
  std::deque<std::string> files;
  std::vector<std::string> asked, messages;
  std::vector<FileRequest> requests;
  std::vector<std::string> opened;
  std::function<void()> onAsk;  // runs before an ask is answered

  bool ask(const std::string& t) override { return next(t); }
  bool confirm(const std::string& t) override { return next(t); }
  void message(const std::string& t) override { messages.push_back(t); }
  std::string openPicture(const FileRequest& r) override { return file(r); }
  std::string savePicture(const FileRequest& r) override { return file(r); }
  std::string saveNcProgram(const FileRequest& r) override { return file(r); }
  bool openDocument(const std::string& p) override {
    opened.push_back(p);
    return true;
  }

 private:
  bool next(const std::string& t) {
    asked.push_back(t);
    if (onAsk) onAsk();
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::string file(const FileRequest& r) {
    requests.push_back(r);
    if (files.empty()) return {};
    std::string f = files.front();
    files.pop_front();
    return f;
  }
};

Picture MakePicture(int w, int h, uint32_t background) {
  Picture p;
  p.resize(w, h, background);
  return p;
}

// A black-and-white picture with one black block.
Picture BlockPicture() {
  Picture p = MakePicture(40, 30, kWhite);
  for (int y = 8; y < 20; ++y)
    for (int x = 10; x < 28; ++x) p.at(x, y) = kBlack;
  return p;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    configDir = tmp.filePath("config").toStdString() + "/";
    qputenv("KORVANE_CONFIG_DIR", QByteArray::fromStdString(configDir));
  }
  void TearDown() override { qunsetenv("KORVANE_CONFIG_DIR"); }

  std::unique_ptr<Tfmain> makeWindow(bool withArgs = true) {
    auto w = std::make_unique<Tfmain>(std::string(), withArgs);
    w->setDialogs(&script, &script);
    w->setProgramDir(KORVANE_SOURCE_DIR "/data/lang");
    w->resize(1000, 760);
    w->show();
    for (const std::string& m : script.messages) ADD_FAILURE() << "start-up message: " << m;
    script.messages.clear();
    return w;
  }

  std::string writePicture(const std::string& name, const Picture& p) {
    const std::string path = tmp.filePath(QString::fromStdString(name)).toStdString();
    std::string error;
    EXPECT_TRUE(SavePictureBmp32(path, p, error)) << error;
    return path;
  }

  template <class T = QAbstractButton>
  static T* find(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  static QPushButton* loadButton(QWidget& w) {
    return find<QWidget>(w, "PanelMenue")->findChild<QPushButton*>("BTLoad");
  }

  QTemporaryDir tmp;
  std::string configDir;
  Script script;
};

const char* const kLeftColumn[] = {"EAussen",    "EInnen",       "EAbtasten", "EAbtastenn",
                                   "BConvert",   "BScale",       "BPosition", "BDurchmesser",
                                   "BFindLines", "BWayOptimize", "BAllowSwap"};

TEST_F(MainWindowTest, StartStateBeforeAnyPicture) {
  auto w = makeWindow();
  for (const char* name : kLeftColumn) EXPECT_FALSE(find(*w, name)->isEnabled()) << name;
  EXPECT_TRUE(find(*w, "BAllowSwap")->isChecked());
  EXPECT_TRUE(find(*w, "EAussen")->isChecked());
  EXPECT_TRUE(find(*w, "BImage")->isChecked());
  EXPECT_EQ(find<QLabel>(*w, "LMeldung")->text(), QStringLiteral("Keine Bilddatei geladen"));
  EXPECT_EQ(find<QLineEdit>(*w, "EScale")->text(), QStringLiteral("1.000"));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Korvane " KORVANE_VERSION));
  EXPECT_FALSE(w->bild()->bwWarning()->isVisible());
  EXPECT_GE(w->minimumWidth(), 720);
  EXPECT_GE(w->minimumHeight(), 685);
}

TEST_F(MainWindowTest, StartWindowOnlyWithoutArguments) {
  for (bool withArgs : {false, true}) {
    auto w = makeWindow(withArgs);
    EXPECT_EQ(w->startWindow()->isVisible(), !withArgs) << withArgs;
  }
}

TEST_F(MainWindowTest, PictureNamedAtStartIsOpenedWithoutStartWindow) {
  const Picture pic = BlockPicture();
  Tfmain w(writePicture("start.bmp", pic), true);
  w.setDialogs(&script, &script);
  w.setProgramDir(KORVANE_SOURCE_DIR "/data/lang");
  w.show();
  EXPECT_FALSE(w.startWindow()->isVisible());
  EXPECT_EQ(w.job().working, pic);
  EXPECT_TRUE(find(w, "BConvert")->isEnabled());
}

TEST_F(MainWindowTest, InfoDialogNamesVersionLicenceAndLibraries) {
  auto w = makeWindow();
  QString shown, title;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    for (QLabel* l : modal->findChildren<QLabel*>()) shown += l->text();
    title = modal->windowTitle();
    qobject_cast<QDialog*>(modal)->accept();
  });
  find(*w, "BInfo")->click();
  for (const char* part : {KORVANE_VERSION, "GPL-3.0-or-later", "Qt", "libjpeg", "libpng", "libwmf",
                           "libemf2svg", "librsvg"})
    EXPECT_TRUE(shown.contains(QString::fromLatin1(part))) << part;
  EXPECT_TRUE(title.contains(QStringLiteral(KORVANE_VERSION))) << title.toStdString();
}

TEST_F(MainWindowTest, CancellingTheOpenDialogShowsStartWindowOnlyBeforeFirstPicture) {
  auto w = makeWindow(false);
  ASSERT_TRUE(w->startWindow()->isVisible());
  loadButton(*w)->click();  // no scripted file: cancelled
  EXPECT_TRUE(w->startWindow()->isVisible());
  ASSERT_EQ(script.requests.size(), 1u);
  EXPECT_EQ(script.requests[0].selected, 0);
  EXPECT_EQ(script.requests[0].filters[0].description.rfind("Alle", 0), 0u);

  script.files.push_back(writePicture("a.bmp", BlockPicture()));
  loadButton(*w)->click();
  EXPECT_FALSE(w->startWindow()->isVisible());
  loadButton(*w)->click();  // cancelled again, but a picture is loaded now
  EXPECT_FALSE(w->startWindow()->isVisible());
  EXPECT_FALSE(w->pictureFile().empty());
}

TEST_F(MainWindowTest, OpeningAPictureResetsTheJobAndEnablesTheContourCommands) {
  auto w = makeWindow();
  Job& job = w->job();
  job.scale = 2.5L;
  job.lineSpacing = 3.0L;
  job.segments.append({1, 2, 3, 4, false});
  job.moveList = {"8;0;1;2"};
  job.contourAccepted = true;
  job.backupValid = true;
  find(*w, "BProgram")->click();

  const Picture pic = BlockPicture();
  ASSERT_TRUE(w->openPictureFile(writePicture("block.bmp", pic)));
  EXPECT_EQ(job.working, pic);
  EXPECT_EQ(job.accepted, pic);
  EXPECT_EQ(job.scale, 1.0L);
  EXPECT_EQ(job.lineSpacing, 1.0L);
  EXPECT_EQ(job.segments.count(), 0);
  EXPECT_TRUE(job.moveList.empty());
  EXPECT_FALSE(job.contourAccepted);
  EXPECT_FALSE(job.backupValid);
  EXPECT_TRUE(job.graphicViewPending);
  EXPECT_TRUE(job.pictureChanged);
  EXPECT_TRUE(find(*w, "BImage")->isChecked());
  EXPECT_TRUE(find<QWidget>(*w, "PImage")->isVisible());
  EXPECT_EQ(job.accepted.width, 40);
  EXPECT_EQ(job.accepted.height, 30);
  EXPECT_EQ(find<QLabel>(*w, "LMeldung")->text(), QStringLiteral("Bilddatei geladen"));
  EXPECT_EQ(find<QProgressBar>(*w, "VerlaufBar")->value(), 100);

  for (const char* name : {"EAussen", "EInnen", "EAbtasten", "EAbtastenn", "BConvert", "BScale",
                           "BPosition", "BDurchmesser"})
    EXPECT_TRUE(find(*w, name)->isEnabled()) << name;
  for (const char* name : {"BFindLines", "BWayOptimize", "BAllowSwap"})
    EXPECT_FALSE(find(*w, name)->isEnabled()) << name;
}

TEST_F(MainWindowTest, AFailedOpenChangesNothing) {
  auto w = makeWindow();
  const Picture pic = BlockPicture();
  const std::string good = writePicture("good.bmp", pic);
  ASSERT_TRUE(w->openPictureFile(good));
  const std::string bad = tmp.filePath("bad.bmp").toStdString();
  std::ofstream(bad) << "BM not really a bitmap";
  script.messages.clear();
  EXPECT_FALSE(w->openPictureFile(bad));
  EXPECT_EQ(script.messages.size(), 1u);
  EXPECT_EQ(w->pictureFile(), good);
  EXPECT_EQ(w->job().working, pic);
}

TEST_F(MainWindowTest, WarningButtonShowsExactlyForPicturesThatAreNotBlackAndWhite) {
  auto w = makeWindow();
  Picture grey = BlockPicture();
  grey.at(0, 0) = 0xFF808080u;
  Picture lastColumnGrey = BlockPicture();
  lastColumnGrey.at(39, 5) = 0xFF808080u;  // the last column is not examined
  Picture transparentBlack = BlockPicture();
  transparentBlack.at(12, 10) = 0x00000000u;
  const struct {
    const char* name;
    Picture pic;
    bool warn;
  } cases[] = {{"bw.bmp", BlockPicture(), false},
               {"grey.bmp", grey, true},
               {"lastcol.bmp", lastColumnGrey, false},
               {"alpha.bmp", transparentBlack, true}};
  for (const auto& c : cases) {
    ASSERT_TRUE(w->openPictureFile(writePicture(c.name, c.pic))) << c.name;
    EXPECT_EQ(w->bild()->bwWarning()->isVisible(), c.warn) << c.name;
  }
}

TEST_F(MainWindowTest, FindLinesNeedsAnAcceptedTracedContour) {
  auto w = makeWindow();
  ASSERT_TRUE(w->openPictureFile(writePicture("a.bmp", BlockPicture())));
  const struct {
    const char* type;
    bool accepted, findLines, wayOptimize;
  } cases[] = {
      {"EAussen", true, true, true},    {"EInnen", true, true, true},
      {"EAbtasten", true, false, true}, {"EAbtastenn", true, false, true},
      {"EAussen", false, false, false}, {"EAbtasten", false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.type) + (c.accepted ? " accepted" : ""));
    find(*w, c.type)->setChecked(true);
    w->job().contourAccepted = c.accepted;
    w->SetButtons();
    EXPECT_EQ(find(*w, "BFindLines")->isEnabled(), c.findLines);
    EXPECT_EQ(find(*w, "BWayOptimize")->isEnabled(), c.wayOptimize);
    EXPECT_EQ(find(*w, "BAllowSwap")->isEnabled(), c.wayOptimize);
    EXPECT_TRUE(find(*w, "BConvert")->isEnabled());
  }
}

TEST_F(MainWindowTest, LockButtonsDisablesTheThreeBarsTogether) {
  auto w = makeWindow();
  for (bool lock : {true, false}) {
    w->LockButtons(lock);
    for (const char* panel : {"PanelLinks", "PanelMenue", "PAnsicht"})
      EXPECT_EQ(find<QWidget>(*w, panel)->isEnabled(), !lock) << panel;
  }
}

TEST_F(MainWindowTest, ViewButtonsShowExactlyOnePanel) {
  auto w = makeWindow();
  const std::pair<const char*, const char*> views[] = {{"BProgram", "PProgramm"},
                                                       {"BGrafik", "PGrafik"},
                                                       {"BBlank", "PRohteil"},
                                                       {"BImage", "PImage"}};
  for (const auto& [button, panel] : views) {
    QTest::mouseClick(find(*w, button), Qt::LeftButton);
    for (const auto& [b2, p2] : views) {
      EXPECT_EQ(find<QWidget>(*w, p2)->isVisible(), p2 == panel) << button << " " << p2;
      EXPECT_EQ(find(*w, b2)->isChecked(), b2 == button) << button << " " << b2;
    }
  }
}

TEST_F(MainWindowTest, PictureLockRefusesSavingButNotZooming) {
  auto w = makeWindow();
  ASSERT_TRUE(w->openPictureFile(writePicture("a.bmp", BlockPicture())));
  w->job().contourAccepted = true;
  script.files.push_back(tmp.filePath("never.bmp").toStdString());
  find(*w, "BTSave")->click();
  ASSERT_EQ(script.messages.size(), 1u);
  EXPECT_EQ(script.messages[0], kPictureLockText);
  EXPECT_TRUE(script.requests.empty());
  EXPECT_FALSE(std::filesystem::exists(tmp.filePath("never.bmp").toStdString()));

  const float before = w->bild()->zoom();
  find(*w, "BImgPlus")->click();
  EXPECT_FLOAT_EQ(w->bild()->zoom(), before + before / 10);
}

TEST_F(MainWindowTest, SavingThePictureWritesA32BitBitmapWhateverTheExtension) {
  auto w = makeWindow();
  Picture pic = BlockPicture();
  pic.at(3, 3) = 0x40102030u;  // alpha must survive
  const std::string src = writePicture("src.bmp", pic);
  ASSERT_TRUE(w->openPictureFile(src));
  const std::string target = tmp.filePath("copy.jpg").toStdString();
  script.files.push_back(target);
  find(*w, "BTSave")->click();
  ASSERT_EQ(script.requests.size(), 1u);
  EXPECT_EQ(script.requests[0].fileName, src);
  EXPECT_EQ(script.requests[0].defaultSuffix, "bmp");
  Picture back;
  std::string error;
  ASSERT_TRUE(LoadPictureFile(target, back, error)) << error;
  EXPECT_EQ(back, pic);
}

TEST_F(MainWindowTest, ZoomStepsAndFit) {
  auto w = makeWindow();
  ASSERT_TRUE(w->openPictureFile(writePicture("big.bmp", MakePicture(640, 480, kWhite))));
  PictureView* view = w->bild();
  view->resize(856, 536);
  view->fitToView();
  EXPECT_FLOAT_EQ(view->zoom(), 1.0f);
  for (int i = 0; i < 3; ++i) find(*w, "BImgPlus")->click();
  EXPECT_NEAR(view->zoom(), 1.331f, 1e-5);
  view->setZoom(1.0f);
  find(*w, "BImgPlus")->click();
  find(*w, "BImgMinus")->click();
  EXPECT_NEAR(view->zoom(), 0.99f, 1e-6);
  view->setZoom(0.0001f);
  EXPECT_FLOAT_EQ(view->zoom(), 0.001f);

  // The wheel zooms: a positive delta in, zero or less out.
  const struct {
    int delta;
    float factor;
  } wheel[] = {{120, 1.1f}, {-120, 0.9f}, {0, 0.9f}};
  for (const auto& c : wheel) {
    view->setZoom(1.0f);
    QWheelEvent e(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, c.delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &e);
    EXPECT_NEAR(view->zoom(), c.factor, 1e-6) << c.delta;
  }
}

TEST_F(MainWindowTest, ResizingTheWindowFitsThePictureAgain) {
  auto w = makeWindow();
  PictureView* view = w->bild();
  const float untouched = view->zoom();
  w->resize(1100, 800);  // no picture yet: nothing to fit
  QApplication::processEvents();
  EXPECT_FLOAT_EQ(view->zoom(), untouched);
  ASSERT_TRUE(w->openPictureFile(writePicture("big.bmp", MakePicture(640, 480, kWhite))));
  for (const QSize size : {QSize(900, 720), QSize(1300, 900)}) {
    view->setZoom(5.0f);
    w->resize(size);
    QApplication::processEvents();
    const float a = static_cast<float>(view->width() - 56) / 640.0f;
    const float b = static_cast<float>(view->height() - 56) / 480.0f;
    EXPECT_FLOAT_EQ(view->zoom(), std::min(a, b)) << size.width();
  }
}

TEST_F(MainWindowTest, PictureViewDrawsPixelsSharpOnTheDarkBlueBackground) {
  auto w = makeWindow();
  Picture pic = MakePicture(4, 2, kWhite);
  pic.at(1, 0) = kBlack;
  pic.at(2, 1) = kRed;
  ASSERT_TRUE(w->openPictureFile(writePicture("tiny.bmp", pic)));
  PictureView* view = w->bild();
  view->resize(200, 120);
  view->setZoom(10.0f);
  const QImage shot = view->viewport()->grab().toImage();
  // 40 x 20 picture centred in 200 x 120: origin (80, 50).
  const struct {
    int x, y;
    QColor colour;
  } probes[] = {{5, 5, QColor(0, 23, 47)},   {80, 50, Qt::white}, {89, 59, Qt::white},
                {90, 50, Qt::black},         {99, 59, Qt::black}, {100, 50, Qt::white},
                {100, 60, Qt::red},          {109, 69, Qt::red},  {110, 60, Qt::white},
                {120, 60, QColor(0, 23, 47)}};
  for (const auto& p : probes) EXPECT_EQ(shot.pixelColor(p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST_F(MainWindowTest, NcSaveDialogFiltersFollowTheConfiguredExtension) {
  auto w = makeWindow();
  w->findChild<NcEditor*>("NCEditor")->setText("G0 X1\nG1 Y2");
  const std::string describe = w->job().language.LangText(kSaveFilterText);
  const struct {
    std::string suffix, typed, written;
    std::string filter;
    std::string selected;
  } cases[] = {
      {"nc", "teil", "teil.nc", describe + "nc|*.nc", describe + "nc"},
      {"nc", "teil2.txt", "teil2.txt", describe + "nc|*.nc", describe + "nc"},
      {"", "roh", "roh", "HP-GL Fräse (*.plt)|*.plt|BMP (*.bmp)|*.bmp|DXF (*.dxf)|*.dxf|NC|*.nc",
       "NC"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    w->job().active.Suffix = c.suffix;
    script.requests.clear();
    script.files.push_back(tmp.filePath(QString::fromStdString(c.typed)).toStdString());
    find(*w, "Speichern")->click();
    ASSERT_EQ(script.requests.size(), 1u);
    const FileRequest& r = script.requests[0];
    EXPECT_EQ(JoinFilter(r.filters), c.filter);
    EXPECT_EQ(r.filters[r.selected].description, c.selected);
    std::ifstream in(tmp.filePath(QString::fromStdString(c.written)).toStdString());
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(ss.str(), "G0 X1\nG1 Y2\n");
  }
  // Cancelling writes nothing.
  script.files.clear();
  find(*w, "Speichern")->click();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path().toStdString()),
                          std::filesystem::directory_iterator()),
            4);  // config folder and the three saved programs
}

TEST_F(MainWindowTest, EditorCommandsWorkOnTheNcEditor) {
  auto w = makeWindow();
  auto* ed = w->findChild<NcEditor*>("NCEditor");
  find(*w, "BProgram")->click();
  ed->setText("N10 G0 X5");
  ed->selectAll();
  find(*w, "Cut")->click();
  EXPECT_EQ(ed->text(), QString());
  find(*w, "paste1")->click();
  find(*w, "paste1")->click();
  EXPECT_EQ(ed->text(), QStringLiteral("N10 G0 X5N10 G0 X5"));
  find(*w, "Undo2")->click();
  EXPECT_EQ(ed->text(), QStringLiteral("N10 G0 X5"));
  find(*w, "Redo2")->click();
  EXPECT_EQ(ed->text(), QStringLiteral("N10 G0 X5N10 G0 X5"));
}

TEST_F(MainWindowTest, ClosingAsksAndCancelKeepsTheWindow) {
  auto w = makeWindow();
  ASSERT_TRUE(w->openPictureFile(writePicture("a.bmp", BlockPicture())));
  const Picture before = w->job().working;
  script.answers = {false};
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->job().working, before);
  ASSERT_EQ(script.asked.size(), 1u);
  EXPECT_EQ(script.asked[0], w->job().language.LangText(kCloseQuestionText));
  script.answers = {true};
  EXPECT_TRUE(w->close());
  EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, CaptionsComeFromTheLanguageFile) {
  // A blank after the number stays part of the caption; a number the file
  // lacks empties its caption; the first of two lines counts.
  const std::string dir = tmp.filePath("prog").toStdString();
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "/german.txt") << "1002 Bild\r\n3006Scale\n3006Zweite\r1100PROFILE\n";
  auto w = std::make_unique<Tfmain>(std::string(), true);
  w->setDialogs(&script, &script);
  w->setProgramDir(dir);
  w->show();
  EXPECT_TRUE(script.messages.empty());
  const struct {
    const char* control;
    const char* caption;
  } cases[] = {{"BImage", " Bild"},
               {"BScale", "Scale"},
               {"BProfil", "PROFILE"},
               {"BProgram", ""},
               {"LAnsicht", ""}};
  for (const auto& c : cases) {
    QWidget* control = find<QWidget>(*w, c.control);
    const QString text = qobject_cast<QLabel*>(control)
                             ? qobject_cast<QLabel*>(control)->text()
                             : qobject_cast<QAbstractButton*>(control)->text();
    EXPECT_EQ(text.toStdString(), c.caption) << c.control;
  }
}

TEST_F(MainWindowTest, BlackAndWhiteDialogIsRefusedWhileAContourIsAccepted) {
  auto w = makeWindow();
  Picture grey = BlockPicture();
  grey.at(0, 0) = 0xFF808080u;
  ASSERT_TRUE(w->openPictureFile(writePicture("grey.bmp", grey)));
  w->job().contourAccepted = true;
  for (QAbstractButton* b :
       {find(*w, "BBw"), static_cast<QAbstractButton*>(w->bild()->bwWarning())}) {
    script.messages.clear();
    b->click();  // a modal dialog here would hang the test
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0], kPictureLockText);
    EXPECT_EQ(w->job().working, grey);
  }
}

TEST_F(MainWindowTest, HelpFileIsOpenedBesideTheProgramOrReported) {
  auto w = makeWindow();
  const std::string dir = tmp.filePath("prog").toStdString();
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "/handbuch.html") << "<html></html>";
  w->setProgramDir(dir);
  const struct {
    const char* name;
    bool opens;
  } cases[] = {{"handbuch.html", true}, {"kein-solches-handbuch.html", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    script.messages.clear();
    script.opened.clear();
    w->job().language.lines = {std::string("9203") + c.name, "9204Hilfedatei fehlt"};
    find(*w, "BHelp")->click();
    if (c.opens) {
      ASSERT_EQ(script.opened.size(), 1u);
      EXPECT_EQ(std::filesystem::canonical(script.opened[0]),
                std::filesystem::canonical(dir + "/" + c.name));
      EXPECT_TRUE(script.messages.empty());
    } else {
      EXPECT_TRUE(script.opened.empty());
      ASSERT_EQ(script.messages.size(), 1u);
      EXPECT_EQ(script.messages[0], "Hilfedatei fehlt");
    }
  }
}

TEST_F(MainWindowTest, AFailedNcSaveIsReportedAndKeepsTheModifiedMark) {
  auto w = makeWindow();
  auto* ed = w->findChild<NcEditor*>("NCEditor");
  ASSERT_NE(ed, nullptr);
  ed->setText("G0 X1");
  ed->setModified(true);
  w->job().active.Suffix = "nc";
  const std::string path = tmp.filePath("no-such-folder/teil.nc").toStdString();
  script.files.push_back(path);
  find(*w, "Speichern")->click();
  ASSERT_EQ(script.messages.size(), 1u);
  EXPECT_NE(script.messages[0].find(path), std::string::npos);
  EXPECT_TRUE(ed->isModified());
  // A successful save clears the mark.
  script.files.push_back(tmp.filePath("teil").toStdString());
  find(*w, "Speichern")->click();
  EXPECT_FALSE(ed->isModified());
}

TEST_F(MainWindowTest, DroppingAPictureFileOpensIt) {
  auto w = makeWindow();
  const Picture pic = BlockPicture();
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(writePicture("drop.bmp", pic)))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.get(), &drop);
  EXPECT_EQ(w->job().working, pic);
  EXPECT_TRUE(find(*w, "BConvert")->isEnabled());
}

// ---- Shell: commands, captions, views and the mends that go with them -----

// Answers every message box that comes up while it lives with No / Cancel /
// OK, and records its text and the widget it was parented to.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen.push_back({box->text().toStdString(), box->parentWidget()});
      for (auto b : {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok})
        if (QAbstractButton* button = box->button(b)) {
          button->click();
          return;
        }
    });
    timer_.start();
  }
  std::vector<std::pair<std::string, QWidget*>> seen;

 private:
  QTimer timer_;
};

// Presses the conversion dialog's cancel button at the first progress report
// while the dialog shows.
void ClickCancelOnceDuringTheRun(Tfmain& w, bool& clicked) {
  w.setProgressHook([&w, &clicked](const std::string&, int) {
    if (clicked || !w.convertDialog()->isVisible()) return;
    clicked = true;
    w.convertDialog()->findChild<QPushButton*>("BAbbruch")->click();
  });
}

// A grey picture: neither black nor white anywhere.
Picture GreyPicture() { return MakePicture(20, 10, 0xFF808080u); }

TEST_F(MainWindowTest, ACommaTypedOrPastedIntoASpinFieldIsADecimalPoint) {
  Job job;
  TFDurchmesser diameter(job);
  fimagepos position(job);
  FScale scale(job);
  const struct {
    QWidget* dialog;
    const char* field;
    const char* text;
    double value;
  } cases[] = {
      {&diameter, "EDurchmesser", "1,5", 1.5},
      {&position, "StartX", "-12,5", -12.5},
      {&position, "StartY", "-0,5", -0.5},
      {&scale, "AusgabeX", "100,5", 100.5},
  };
  for (const auto& c : cases) {
    for (bool pasted : {false, true}) {
      SCOPED_TRACE(std::string(c.field) + (pasted ? " pasted" : " typed"));
      c.dialog->show();
      auto* spin = c.dialog->findChild<QDoubleSpinBox*>(QString::fromLatin1(c.field));
      ASSERT_NE(spin, nullptr);
      auto* edit = spin->findChild<QLineEdit*>();
      edit->selectAll();
      if (pasted)
        edit->insert(QString::fromLatin1(c.text));
      else
        QTest::keyClicks(spin, QString::fromLatin1(c.text));
      spin->interpretText();
      EXPECT_DOUBLE_EQ(spin->value(), c.value);
      c.dialog->hide();
    }
  }
}

TEST_F(MainWindowTest, CommaInTheDiameterDialogReachesTheMainWindowAsAPoint) {
  auto w = makeWindow();
  ASSERT_TRUE(w->openPictureFile(writePicture("a.bmp", BlockPicture())));
  QTimer::singleShot(0, [] {
    QWidget* dlg = QApplication::activeModalWidget();
    ASSERT_NE(dlg, nullptr);
    auto* spin = dlg->findChild<QDoubleSpinBox*>("EDurchmesser");
    spin->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(spin, QStringLiteral("1,5"));
    dlg->findChild<QPushButton*>("BStore")->click();
  });
  find(*w, "BDurchmesser")->click();
  EXPECT_EQ(find<QLineEdit>(*w, "EDurchmesser")->text(), QStringLiteral("1.5"));
}

TEST_F(MainWindowTest, CancellingTheBlackAndWhiteDialogStopsTheConvertCommand) {
  auto w = makeWindow();
  const Picture grey = GreyPicture();
  ASSERT_TRUE(w->openPictureFile(writePicture("grey.bmp", grey)));
  script.answers = {true};  // yes, convert to black and white first
  bool converted = false;
  w->setProgressHook(
      [&](const std::string&, int) { converted |= w->convertDialog()->isVisible(); });
  QTimer::singleShot(0, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
  });
  find(*w, "BConvert")->click();
  EXPECT_FALSE(converted);
  EXPECT_EQ(script.asked, std::vector<std::string>{kAskBlackWhiteText});
  EXPECT_EQ(w->job().working, grey);
  EXPECT_EQ(w->job().segments.count(), 0);
  EXPECT_FALSE(w->job().contourAccepted);
}

TEST_F(MainWindowTest, QuestionsDuringTheRunOpenAboveTheConversionDialog) {
  auto w = makeWindow();
  w->setDialogs(nullptr, &script);  // real message boxes
  ASSERT_TRUE(w->openPictureFile(writePicture("a.bmp", BlockPicture())));
  BoxAnswerer boxes;
  bool clicked = false;
  ClickCancelOnceDuringTheRun(*w, clicked);
  find(*w, "BConvert")->click();
  ASSERT_TRUE(clicked);
  ASSERT_FALSE(boxes.seen.empty());
  EXPECT_EQ(boxes.seen[0].first, kAskCancelText);
  EXPECT_EQ(boxes.seen[0].second, w->convertDialog());
}

TEST_F(MainWindowTest, RefusedOrCancelledRunLeavesAStatusThatSaysSo) {
  auto w = makeWindow();
  ASSERT_TRUE(w->openPictureFile(writePicture("a.bmp", BlockPicture())));
  script.answers = {false};  // "Gefundene Kontur übernehmen?" No
  find(*w, "BConvert")->click();
  EXPECT_EQ(find<QLabel>(*w, "LMeldung")->text().toStdString(), kRefusedText);

  script.answers = {true};  // "Vorgang abbrechen?" Yes
  bool clicked = false;
  ClickCancelOnceDuringTheRun(*w, clicked);
  find(*w, "BConvert")->click();
  ASSERT_TRUE(clicked);
  EXPECT_EQ(find<QLabel>(*w, "LMeldung")->text().toStdString(), kCancelledText);
}

TEST_F(MainWindowTest, OpeningAPictureClearsTheEditorAndItsCounters) {
  auto w = makeWindow();
  ASSERT_TRUE(w->openPictureFile(writePicture("a.bmp", BlockPicture())));
  script.answers = {true};
  find(*w, "BConvert")->click();
  ASSERT_TRUE(w->job().contourAccepted);
  ASSERT_NE(find<QLineEdit>(*w, "EZeilen")->text(), QStringLiteral("0"));
  ASSERT_TRUE(w->openPictureFile(writePicture("b.bmp", BlockPicture())));
  EXPECT_TRUE(w->findChild<NcEditor*>("NCEditor")->text().isEmpty());
  for (const char* counter : {"EZeilen", "EZeichen", "EMaxWeg"})
    EXPECT_EQ(find<QLineEdit>(*w, counter)->text(), QStringLiteral("0")) << counter;
}

// Replaces the line starting with `key=` in a settings file.
void SetIniValue(const std::string& file, const std::string& key, const std::string& value) {
  std::ifstream in(file);
  std::stringstream out;
  for (std::string line; std::getline(in, line);)
    out << (line.rfind(key + "=", 0) == 0 ? key + "=" + value : line) << "\n";
  in.close();
  std::ofstream(file) << out.str();
}

TEST_F(MainWindowTest, MissingLanguageFileKeepsGermanCaptionsButActivatesTheStandardProfile) {
  makeWindow().reset();  // writes the shipped settings into the folder
  SetIniValue(configDir + "main.ini", "lang", "2");
  SetIniValue(configDir + "main.ini", "Profil", "3");
  const std::string dir = tmp.filePath("prog").toStdString();
  std::filesystem::create_directories(dir);  // no english.txt here
  auto w = std::make_unique<Tfmain>(std::string(), true);
  w->setDialogs(&script, &script);
  w->setProgramDir(dir);
  w->show();
  ASSERT_EQ(script.messages.size(), 1u);
  EXPECT_NE(script.messages[0].find("english.txt"), std::string::npos) << script.messages[0];
  EXPECT_EQ(find(*w, "BImage")->text(), QStringLiteral("Bild"));
  EXPECT_EQ(find<QLabel>(*w, "LRAbstand")->text(), QStringLiteral("Sicherheitsabstand (R)"));
  EXPECT_EQ(w->job().active.number, 3);
  EXPECT_TRUE(find(*w, "Profil3")->isChecked());
  EXPECT_FALSE(find<QLineEdit>(*w, "REbeneauswahl")->text().isEmpty());
}

TEST_F(MainWindowTest, StandardProfileIsFoundByItsKeyTextButButtonsActivateByNumber) {
  makeWindow().reset();
  SetIniValue(configDir + "main.ini", "Profil", "2");
  SetIniValue(configDir + "profil4.ini", "Profil", "2");  // profile 4 is named "2"
  auto w = makeWindow();
  EXPECT_EQ(w->job().active.number, 4);  // by key: the last profile that answers "2"
  find(*w, "Profil2")->click();
  EXPECT_EQ(w->job().active.number, 2);
}

TEST_F(MainWindowTest, EveryCaptionOfTheTableFollowsTheLanguageFile) {
  makeWindow().reset();
  SetIniValue(configDir + "main.ini", "lang", "2");
  auto w = makeWindow();
  const LanguageTexts& texts = w->job().language;
  ASSERT_EQ(texts.LangText(3301), "Safety distance (R)");
  int checked = 0;
  for (const CaptionEntry& c : MainWindowCaptions()) {
    const QString name = QString::fromLatin1(c.control);
    QString shown;
    if (auto* b = w->findChild<QAbstractButton*>(name))
      shown = b->text();
    else if (auto* l = w->findChild<QLabel*>(name))
      shown = l->text();
    else if (auto* a = w->findChild<QAction*>(name))
      shown = a->text().remove('&');
    else
      continue;  // a page that is not built yet
    ++checked;
    EXPECT_EQ(shown.toStdString(), texts.LangText(c.number)) << c.control;
  }
  // The profile panel's four captions are among them.
  for (const char* name : {"LRAbstand", "LZAbstand", "LZVorschub", "LXYVorschub"})
    EXPECT_NE(w->findChild<QLabel*>(name), nullptr) << name;
  EXPECT_GE(checked, 4 + 4 + 5);
}

TEST_F(MainWindowTest, ShortcutsRunTheirCommands) {
  auto w = makeWindow();
  QApplication::setActiveWindow(w.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  w->findChild<NcEditor*>("NCEditor")->setText("G0 X1");
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    const char* command;
  } cases[] = {
      {Qt::Key_O, Qt::ControlModifier, "BTLoad"},
      {Qt::Key_S, Qt::ControlModifier, "NCProgrammspeichern1"},
      {Qt::Key_F1, Qt::NoModifier, "Hilfe1"},
      {Qt::Key_Q, Qt::ControlModifier, "MClose"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    QAction* a = w->command(c.command);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->shortcut(), QKeySequence(c.key | c.mods));
    int runs = 0;
    auto counter = QObject::connect(a, &QAction::triggered, [&] { ++runs; });
    QTest::keyClick(w.get(), c.key, c.mods);
    QObject::disconnect(counter);
    EXPECT_EQ(runs, 1);
  }
  // What they ran: the open and save choosers, the help file, the close question.
  ASSERT_EQ(script.requests.size(), 2u);
  EXPECT_EQ(script.opened.size() + script.messages.size(), 1u);
  EXPECT_EQ(script.asked, std::vector<std::string>{w->LangText(kCloseQuestionText)});
  EXPECT_TRUE(w->isVisible());  // the question was answered Cancel
}

TEST_F(MainWindowTest, MenuItemsHaveMnemonics) {
  auto w = makeWindow();
  QList<QAction*> items = w->menuBar()->actions();
  for (QAction* menu : w->menuBar()->actions())
    if (menu->menu())
      for (QAction* a : menu->menu()->actions()) items.push_back(a);
  for (QAction* a : items) {
    if (a->isSeparator()) continue;
    EXPECT_TRUE(a->text().contains('&')) << a->text().toStdString();
  }
}

TEST_F(MainWindowTest, ButtonsWithoutAFullCaptionHaveATooltip) {
  auto w = makeWindow();
  int seen = 0;
  for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
    if (b->text().size() > 2 || b->objectName().startsWith(QStringLiteral("qt_"))) continue;
    if (b->window() != w.get()) continue;  // the dialogs the window owns have their own checks
    ++seen;
    EXPECT_FALSE(b->toolTip().isEmpty()) << b->objectName().toStdString();
  }
  EXPECT_GE(seen, 4 + 6 + 4);  // profile, tool-bar and stepper buttons at least
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(find(*w, QStringLiteral("Profil%1").arg(k).toLatin1().constData())->toolTip(),
              QString::fromStdString(w->job().profiles[static_cast<size_t>(k - 1)].Profil));
  }
}

TEST_F(MainWindowTest, ButtonsAndMenuItemsShareTheirCommand) {
  auto w = makeWindow();
  w->findChild<NcEditor*>("NCEditor")->setText("G0 X1");
  find(*w, "BProgram")->click();
  find(*w, "Speichern")->click();
  w->command("NCProgrammspeichern1")->trigger();
  EXPECT_EQ(script.requests.size(), 2u);
  // A rule disables the action and the button with it.
  EXPECT_FALSE(w->command("BConvert")->isEnabled());
  ASSERT_TRUE(w->openPictureFile(writePicture("a.bmp", BlockPicture())));
  EXPECT_TRUE(w->command("BConvert")->isEnabled());
  EXPECT_TRUE(find(*w, "BConvert")->isEnabled());
}

TEST_F(MainWindowTest, ConversionDialogIsMadeOnceAndAsksThroughTheCurrentDialogs) {
  auto w = makeWindow();
  TFConvert* dialog = w->convertDialog();
  Script other;
  w->setDialogs(&other, &script);
  EXPECT_EQ(w->convertDialog(), dialog);
  ASSERT_TRUE(w->openPictureFile(writePicture("a.bmp", BlockPicture())));
  other.answers = {true};
  find(*w, "BConvert")->click();
  EXPECT_EQ(other.asked, std::vector<std::string>{kAskAcceptText});
  EXPECT_TRUE(w->job().contourAccepted);
}

TEST_F(MainWindowTest, JobEventsTellTheViewsWhatHappened) {
  Tfmain w(std::string(), true);
  w.setDialogs(&script, &script);
  w.setProgramDir(KORVANE_SOURCE_DIR "/data/lang");
  std::vector<std::string> events;
  JobEvents& ev = w.events();
  QObject::connect(&ev, &JobEvents::pictureOpened, [&] { events.push_back("opened"); });
  QObject::connect(&ev, &JobEvents::pictureChanged, [&] { events.push_back("changed"); });
  QObject::connect(&ev, &JobEvents::runStarted, [&] { events.push_back("run"); });
  QObject::connect(&ev, &JobEvents::contourAccepted, [&] { events.push_back("accepted"); });
  QObject::connect(&ev, &JobEvents::programBuilt,
                   [&](bool ok) { events.push_back(ok ? "built" : "failed"); });
  QObject::connect(&ev, &JobEvents::settingsApplied, [&] { events.push_back("settings"); });
  w.show();
  EXPECT_EQ(events, std::vector<std::string>{"settings"});

  events.clear();
  ASSERT_TRUE(w.openPictureFile(writePicture("a.bmp", BlockPicture())));
  EXPECT_EQ(events, (std::vector<std::string>{"opened", "changed"}));

  events.clear();
  script.answers = {true};
  find(w, "BConvert")->click();
  // Marked result shown, program built, then the command reports acceptance.
  EXPECT_EQ(events, (std::vector<std::string>{"run", "changed", "built", "accepted", "changed"}));
}

}  // namespace
}  // namespace korvane
