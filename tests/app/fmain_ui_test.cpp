// The main window driven through its widgets, with scripted answers for every
// question and file chooser.
#include "app/fmain_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
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

#include "app/pictureview_ui.h"
#include "core/tfconvert_ui.h"
#include "editor/nceditor_ui.h"
#include "image/decode.h"
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
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Korvane 1.0"));
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
  QString shown;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    for (QLabel* l : modal->findChildren<QLabel*>()) shown += l->text();
    qobject_cast<QDialog*>(modal)->accept();
  });
  find(*w, "BInfo")->click();
  for (const char* part : {KORVANE_VERSION, "GPL-3.0-or-later", "Qt", "libjpeg", "libpng"})
    EXPECT_TRUE(shown.contains(QString::fromLatin1(part))) << part;
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
  EXPECT_EQ(find<QLineEdit>(*w, "ImageX")->text(), QStringLiteral("40"));
  EXPECT_EQ(find<QLineEdit>(*w, "ImageY")->text(), QStringLiteral("30"));
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

}  // namespace
}  // namespace korvane
