// A whole session through the real widgets: open, black-and-white, convert,
// accept; the NC program must be the one korvane-cli writes for the same
// picture and settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include "editor/nceditor_ui.h"
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <deque>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/job.h"
#include "app/fmain_ui.h"
#include "image/pictureview_ui.h"
#include "core/convert.h"
#include "core/tfconvert_ui.h"
#include "image/decode.h"
#include "base/numtext.h"
#include "sim/movequery.h"
#include "sim/ncgrafik_ui.h"
#include "sim/ncgraphicview_ui.h"
#include "sim/simclock.h"
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include "image/picturesave.h"
#include "base/messages.h"

namespace korvane {
namespace {

class Script : public UserDialogs, public FileDialogs {
 public:
  std::deque<bool> answers;
  std::deque<std::string> files;
  std::vector<std::string> asked, messages;
  std::function<void(const std::string&)> onAsk;

  bool ask(const std::string& t) override { return next(t); }
  bool confirm(const std::string& t) override { return next(t); }
  void message(const std::string& t) override { messages.push_back(t); }
  std::string openPicture(const FileRequest&) override { return file(); }
  std::string savePicture(const FileRequest& r) override {
    offeredName = r.fileName;
    return file();
  }
  std::string offeredName;
  std::string saveNcProgram(const FileRequest&) override { return file(); }
  bool openDocument(const std::string&) override { return true; }

 private:
  bool next(const std::string& t) {
    asked.push_back(t);
    if (onAsk) onAsk(t);
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::string file() {
    if (files.empty()) return {};
    std::string f = files.front();
    files.pop_front();
    return f;
  }
};

// Grey shapes on a light background: not black and white until thresholded.
Picture ShapesPicture() {
  Picture p;
  p.resize(60, 40, 0xFFE0E0E0u);
  for (int y = 5; y < 20; ++y)
    for (int x = 6; x < 25; ++x) p.at(x, y) = 0xFF303030u;
  for (int y = 22; y < 36; ++y)
    for (int x = 30 + (y - 22); x < 55; ++x) p.at(x, y) = 0xFF101010u;
  p.at(45, 8) = 0xFF7F7F7Fu;  // a lone dark pixel (mean 127)
  return p;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> out;
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    out.push_back(l);
  }
  return out;
}

std::vector<std::string> EditorLines(NcEditor* ed) {
  std::vector<std::string> out;
  const QString text = ed->text();
  if (text.isEmpty()) return out;
  for (const QString& l : text.split('\n')) out.push_back(l.toStdString());
  return out;
}

// While a modal black-and-white dialog is up, press its "Übernehmen".
void AcceptBlackWhiteDialogSoon() {
  QTimer::singleShot(50, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return AcceptBlackWhiteDialogSoon();
    if (auto* store = modal->findChild<QPushButton*>(QStringLiteral("BStore"))) store->click();
  });
}

// Once a modal dialog is up, run `act` on it.
void OnModalSoon(std::function<void(QWidget*)> act) {
  QTimer::singleShot(50, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return OnModalSoon(act);
    act(modal);
  });
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    configDir = tmp.filePath("config").toStdString() + "/";
    qputenv("KORVANE_CONFIG_DIR", QByteArray::fromStdString(configDir));
    picture = tmp.filePath("shapes.bmp").toStdString();
    std::string error;
    ASSERT_TRUE(SavePictureBmp32(picture, ShapesPicture(), error)) << error;
    w = std::make_unique<Tfmain>(std::string(), true);
    w->setDialogs(&script, &script);
    w->setProgramDir(KORVANE_SOURCE_DIR "/data/lang");
    w->resize(1000, 760);
    w->show();
  }
  void TearDown() override {
    w.reset();
    qunsetenv("KORVANE_CONFIG_DIR");
  }

  QAbstractButton* button(const char* name) {
    auto* b = w->findChild<QAbstractButton*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
  }

  void openPicture() {
    script.files.push_back(picture);
    w->findChild<QWidget*>("PanelMenue")->findChild<QPushButton*>("BTLoad")->click();
    ASSERT_EQ(w->pictureFile(), picture);
  }

  // Open through the button bar, answer the black-and-white question, take
  // the threshold, and answer the acceptance question with `accept`.
  void openAndConvert(bool accept, const char* contourType = "EAussen") {
    script.files.push_back(picture);
    w->findChild<QWidget*>("PanelMenue")->findChild<QPushButton*>("BTLoad")->click();
    ASSERT_EQ(w->pictureFile(), picture);
    button(contourType)->click();
    ASSERT_TRUE(w->bild()->bwWarning()->isVisible());
    script.answers = {true, accept};
    script.onAsk = [](const std::string& t) {
      if (t == kAskBlackWhiteText) AcceptBlackWhiteDialogSoon();
    };
    button("BConvert")->click();
    script.onAsk = nullptr;
  }

  QTemporaryDir tmp;
  std::string configDir, picture;
  Script script;
  std::unique_ptr<Tfmain> w;
};

TEST_F(SessionTest, EveryContourTypeGivesTheProgramOfTheCommandLineTool) {
  const struct {
    const char* button;
    const char* cli;
    int frame;  // traced types work on the picture with a white frame
  } cases[] = {{"EAussen", "outline", 2},
               {"EInnen", "centreline", 2},
               {"EAbtasten", "scan", 0},
               {"EAbtastenn", "scan-negative", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    script.asked.clear();
    openAndConvert(true, c.button);
    ASSERT_TRUE(w->job().contourAccepted);
    EXPECT_EQ(script.asked, (std::vector<std::string>{kAskBlackWhiteText, kAskAcceptText}));
    EXPECT_EQ(w->job().working.width, 60 + c.frame);
    EXPECT_EQ(w->job().working.height, 40 + c.frame);

    const std::string out = tmp.filePath(QString::fromLatin1(c.cli) + ".nc").toStdString();
    const std::string cmd = std::string(KORVANE_CLI) + " '" + picture + "' -o '" + out +
                            "' --contour " + c.cli + " --origin top-left --config '" +
                            configDir + "' --quiet";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    const std::vector<std::string> cli = ReadLines(out);
    ASSERT_FALSE(cli.empty());
    EXPECT_EQ(EditorLines(w->findChild<NcEditor*>("NCEditor")), cli);
    EXPECT_EQ(w->findChild<QLineEdit*>("EMaxWeg")->text().toInt(), w->job().segments.count());
  }
}

// A new tool diameter while a surface scan is accepted scans again from the
// untouched picture with the new line spacing, silently, without a view change.
TEST_F(SessionTest, DiameterChangeRescansTheSurfaceSilently) {
  openAndConvert(true, "EAbtasten");
  ASSERT_TRUE(w->job().contourAccepted);
  button("BProgram")->click();
  script.asked.clear();
  QTimer::singleShot(50, [] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    modal->findChild<QDoubleSpinBox*>(QStringLiteral("EDurchmesser"))->setValue(2.5);
    modal->findChild<QPushButton*>(QStringLiteral("BStore"))->click();
  });
  button("BDurchmesser")->click();

  EXPECT_TRUE(script.asked.empty());
  EXPECT_TRUE(w->job().contourAccepted);
  EXPECT_EQ(w->job().lineSpacing, 2.5L);
  EXPECT_TRUE(button("BProgram")->isChecked());
  const std::string out = tmp.filePath("scan-d.nc").toStdString();
  const std::string cmd = std::string(KORVANE_CLI) + " '" + picture + "' -o '" + out +
                          "' --contour scan --diameter 2.5 --origin top-left --config '" + configDir +
                          "' --quiet";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  EXPECT_EQ(EditorLines(w->findChild<NcEditor*>("NCEditor")), ReadLines(out));
}

TEST_F(SessionTest, AnotherContourTypeAfterAcceptanceRestoresThePreparedPicture) {
  openAndConvert(true);
  ASSERT_EQ(script.asked.size(), 2u);
  EXPECT_EQ(script.asked[0], kAskBlackWhiteText);
  EXPECT_EQ(script.asked[1], kAskAcceptText);
  Job& job = w->job();
  ASSERT_TRUE(job.contourAccepted);
  EXPECT_TRUE(job.backupValid);
  EXPECT_GT(job.segments.count(), 0);
  // The backup is the thresholded picture, the working image the marked result.
  EXPECT_EQ(job.backup.width, 60);
  EXPECT_EQ(job.working.width, 62);
  EXPECT_EQ(job.working.height, 42);

  // Another contour type brings back the prepared picture and the picture view.
  button("BProgram")->click();
  const Picture backup = job.backup;
  button("EAbtasten")->click();
  EXPECT_EQ(job.working, backup);
  EXPECT_FALSE(job.contourAccepted);
  EXPECT_FALSE(job.backupValid);
  EXPECT_TRUE(button("BImage")->isChecked());
  EXPECT_FALSE(button("BWayOptimize")->isEnabled());
  // A second click changes nothing more.
  button("EAbtasten")->click();
  EXPECT_EQ(job.working, backup);
}

TEST_F(SessionTest, RefusingTheResultRestoresThePicture) {
  openAndConvert(false);
  Job& job = w->job();
  EXPECT_FALSE(job.contourAccepted);
  // The thresholded picture, not the marked one, is in the view again.
  ASSERT_EQ(job.working.width, 60);
  for (uint32_t px : job.working.px) EXPECT_TRUE(px == kBlack || px == kWhite);
  EXPECT_FALSE(w->bild()->bwWarning()->isVisible());
  EXPECT_FALSE(button("BFindLines")->isEnabled());
  EXPECT_TRUE(w->findChild<NcEditor*>("NCEditor")->text().isEmpty());
}

std::vector<Segment> LiveSegments(const Job& job) {
  std::vector<Segment> out;
  for (int32_t i = 0; i < job.segments.count(); ++i) out.push_back(job.segments[i]);
  return out;
}

bool SameSegments(const std::vector<Segment>& a, const std::vector<Segment>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Segment& p, const Segment& q) {
    return p.x1 == q.x1 && p.x2 == q.x2 && p.y1 == q.y1 && p.y2 == q.y2 && p.done == q.done;
  });
}

// The program a fresh build of the job's current list gives.
std::vector<std::string> FreshBuild(const Job& job) {
  Job copy = job;
  NullProgress quiet;
  EXPECT_TRUE(RebuildProgram(copy, quiet));
  return std::vector<std::string>(copy.ncLines.begin(), copy.ncLines.end());
}

TEST_F(SessionTest, ListCommandsKeepOrRestoreAndRebuildTheProgram) {
  openAndConvert(true);
  ASSERT_TRUE(w->job().contourAccepted);
  // A list both commands improve: a straight run in one-pixel pieces (line
  // following merges it) and three short paths in a wasteful order (path
  // optimisation reorders them).
  Job accepted = w->job();
  accepted.segments.setCount(0);
  for (int x = 10; x < 20; ++x) accepted.segments.append({x * 1.0L, x + 1.0L, 5, 5, false});
  accepted.segments.append({0, 1, 0, 0, false});
  accepted.segments.append({100, 101, 100, 100, false});
  accepted.segments.append({2, 3, 0, 0, false});
  const std::vector<Segment> fixture = LiveSegments(accepted);
  const std::vector<std::string> program = FreshBuild(accepted);
  auto* ed = w->findChild<NcEditor*>("NCEditor");

  const struct {
    const char* command;
    bool keep;
  } cases[] = {
      {"BFindLines", false}, {"BFindLines", true}, {"BWayOptimize", false}, {"BWayOptimize", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + (c.keep ? " kept" : " refused"));
    w->job() = accepted;
    ed->setText(QString());
    script.asked.clear();
    script.answers = {c.keep};
    // While the command runs, the window takes no input.
    bool lockedDuringRun = true;
    w->setProgressHook([&](const std::string&, int) {
      lockedDuringRun = lockedDuringRun && !w->centralWidget()->isEnabled();
    });
    button(c.command)->click();
    w->setProgressHook(nullptr);
    EXPECT_TRUE(lockedDuringRun);
    EXPECT_TRUE(w->centralWidget()->isEnabled());
    EXPECT_EQ(script.asked.size(), 1u);
    if (c.keep) {
      EXPECT_FALSE(SameSegments(LiveSegments(w->job()), fixture));
      EXPECT_EQ(EditorLines(ed), FreshBuild(w->job()));
    } else {
      EXPECT_TRUE(SameSegments(LiveSegments(w->job()), fixture));
      EXPECT_EQ(EditorLines(ed), program);
    }
  }
}

TEST_F(SessionTest, ConvertWhileAcceptedOnlyRebuildsTheProgram) {
  openAndConvert(true);
  ASSERT_TRUE(w->job().contourAccepted);
  auto* ed = w->findChild<NcEditor*>("NCEditor");
  const std::vector<std::string> program = EditorLines(ed);
  const Picture marked = w->job().working;
  ed->setText("edited by hand");
  script.asked.clear();
  bool dialogShown = false;
  w->setProgressHook([&](const std::string&, int) {
    dialogShown = dialogShown || w->convertDialog()->isVisible();
  });
  button("BConvert")->click();
  EXPECT_TRUE(script.asked.empty());
  EXPECT_FALSE(dialogShown);
  EXPECT_EQ(EditorLines(ed), program);
  EXPECT_EQ(w->job().working, marked);
}

TEST_F(SessionTest, StatusLineNamesEachStepAndReportsTheProgramOnlyOnceShown) {
  // The first build after acceptance, a rebuild by the convert command and
  // one after line following: each step after the builder's own is named,
  // and "NC-Programm erstellt!" comes last, when the editor holds the program.
  auto* ed = w->findChild<NcEditor*>("NCEditor");
  std::vector<std::string> texts;
  std::vector<std::string> shownAtDone;
  w->setProgressHook([&](const std::string& text, int percent) {
    if (texts.empty() || texts.back() != text) texts.push_back(text);
    if (text == kBuildDoneText) {
      EXPECT_EQ(percent, 100);
      shownAtDone = EditorLines(ed);
    }
  });
  const std::vector<std::string> afterBuild = {kBuildProgressText, kMovesReadText, kEditorLoadText,
                                               kBuildDoneText};
  const std::function<void()> commands[] = {
      [&] { openAndConvert(true); },
      [&] { button("BConvert")->click(); },
      [&] {
        // Collinear touching pieces that line following merges.
        SegmentList& list = w->job().segments;
        list.clear();
        for (int i = 0; i < 8; ++i) list.append(i, 5, i + 1, 5);
        script.answers = {true};
        button("BFindLines")->click();
      },
  };
  for (const auto& command : commands) {
    texts.clear();
    shownAtDone.clear();
    command();
    ASSERT_GE(texts.size(), afterBuild.size());
    EXPECT_EQ(std::vector<std::string>(texts.end() - static_cast<long>(afterBuild.size()),
                                       texts.end()),
              afterBuild);
    EXPECT_EQ(shownAtDone, std::vector<std::string>(w->job().ncLines.begin(), w->job().ncLines.end()));
    EXPECT_EQ(w->findChild<QLabel*>("LMeldung")->text().toStdString(), kBuildDoneText);
  }
  w->setProgressHook(nullptr);
}

TEST_F(SessionTest, CancellingDuringTheRunRestoresThePictureWithoutAsking) {
  // The cancel button, and Escape on the dialog, which must not close it while
  // the method still works but ask the same question.
  const std::function<void(QWidget*)> ways[] = {
      [](QWidget* dlg) { dlg->findChild<QPushButton*>("BAbbruch")->click(); },
      [](QWidget* dlg) { QTest::keyClick(dlg, Qt::Key_Escape); },
  };
  for (const auto& cancel : ways) {
    script.files.push_back(picture);
    w->findChild<QWidget*>("PanelMenue")->findChild<QPushButton*>("BTLoad")->click();
    // Threshold beforehand, through the dialog, so the convert command asks nothing.
    AcceptBlackWhiteDialogSoon();
    button("BBw")->click();
    ASSERT_FALSE(w->bild()->bwWarning()->isVisible());
    const Picture before = w->job().working;

    // The first progress report of the run cancels, as a click or key arriving
    // through the report's event processing would.
    bool pressed = false;
    w->setProgressHook([&](const std::string&, int) {
      if (!pressed && w->convertDialog()->running()) {
        pressed = true;
        cancel(w->convertDialog());
      }
    });
    script.asked.clear();
    script.answers = {true};  // "Vorgang abbrechen?"
    button("BConvert")->click();
    w->setProgressHook(nullptr);
    ASSERT_TRUE(pressed);
    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0], kAskCancelText);
    EXPECT_FALSE(w->job().contourAccepted);
    EXPECT_EQ(w->job().working, before);
    EXPECT_EQ(w->findChild<QLabel*>("LMeldung")->text().toStdString(), kCancelledText);
    EXPECT_EQ(w->findChild<QProgressBar*>("VerlaufBar")->value(), 0);
    EXPECT_FALSE(w->convertDialog()->isVisible());
  }
}

// ---- The NC graphic view on the real main window ----------------------------

int CountColour(const QImage& img, QRgb c) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFFu) == (c & 0xFFFFFFu);
  return n;
}

QRgb ColourOf(const Rgb& c) { return qRgb(c.r, c.g, c.b); }

class GraphicSessionTest : public SessionTest {
 protected:
  TNCGraphicView* graphic() { return w->findChild<TNCGraphicView*>("PGrafik"); }
  NcEditor* editor() { return w->findChild<NcEditor*>("NCEditor"); }
};

TEST_F(GraphicSessionTest, FirstAcceptanceShowsTheFittedProgramWithRapidMovesHiddenAndShown) {
  openAndConvert(true);
  ASSERT_TRUE(w->job().contourAccepted);
  TNCGraphicView* g = graphic();
  ASSERT_TRUE(g->isVisible()) << "the first acceptance shows the graphic view";
  EXPECT_TRUE(button("BGrafik")->isChecked());
  EXPECT_TRUE(w->findChild<QWidget*>("PanelLinks")->isEnabled()) << "unlocked after the pass";

  const GraphicOptions o = GraphicOptionsOf(w->job().general);
  const QImage& img = g->surface()->image();
  // Fitted to the machine extents: the feed moves fill a good part of the surface.
  int minX = img.width(), maxX = -1, minY = img.height(), maxY = -1;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFFu) == (ColourOf(o.feed) & 0xFFFFFFu)) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  ASSERT_GE(maxX, 0) << "feed moves drawn";
  EXPECT_GT(std::max(maxX - minX, maxY - minY), img.width() / 4);

  auto* g0 = g->findChild<QToolButton*>("G0Butt");
  g0->setChecked(true);
  g->G0ButtClick();
  const int withRapid = CountColour(g->surface()->image(), ColourOf(o.rapid));
  g0->setChecked(false);
  g->G0ButtClick();
  const int without = CountColour(g->surface()->image(), ColourOf(o.rapid));
  EXPECT_GT(withRapid, 0);
  EXPECT_EQ(without, 0);

  const PathLengths l = MeasurePaths(w->job().moveRecords);
  EXPECT_GT(l.feed, 0);
  EXPECT_EQ(g->statusLine()->text(),
            QStringLiteral("Vorschubweg: %1 mm    Eilgangweg: %2 mm")
                .arg(QString::fromStdString(FormatFixed(l.feed, 3)),
                     QString::fromStdString(FormatFixed(l.rapid, 3))));
}

TEST_F(GraphicSessionTest, EditorCaretAndClicksOnTheDrawingPointAtEachOther) {
  openAndConvert(true);
  ASSERT_TRUE(w->job().contourAccepted);
  const Job& job = w->job();
  TNCGraphicView* g = graphic();
  // Drawing -> editor: a click on the middle of a feed move.
  size_t rec = 0;
  for (size_t i = job.moveRecords.size(); i-- > 0;)
    if (job.moveRecords.records()[i].kind == MoveKind::Feed) {
      rec = i;
      break;
    }
  ASSERT_GT(rec, 0u);
  const std::optional<MoveSpan> m = MoveOfLine(job.moveRecords, static_cast<int32_t>(rec));
  ASSERT_TRUE(m);
  const Pixel a = g->view().Project(m->from.x, m->from.y, m->from.z);
  const Pixel b = g->view().Project(m->to.x, m->to.y, m->to.z);
  const QPoint mid((a.x + b.x) / 2, (a.y + b.y) / 2);
  QTest::mouseClick(g->surface(), Qt::LeftButton, Qt::NoModifier, mid);
  const int clicked = g->markedLine();
  ASSERT_GE(clicked, 0);
  EXPECT_EQ(editor()->caretLine(), job.moveLines[static_cast<size_t>(clicked)]);
  const std::optional<MoveSpan> hit = MoveOfLine(job.moveRecords, clicked);
  const Pixel ha = g->view().Project(hit->from.x, hit->from.y, hit->from.z);
  const Pixel hb = g->view().Project(hit->to.x, hit->to.y, hit->to.z);
  const double dx = hb.x - ha.x, dy = hb.y - ha.y, len2 = dx * dx + dy * dy;
  const double t =
      len2 > 0 ? std::clamp(((mid.x() - ha.x) * dx + (mid.y() - ha.y) * dy) / len2, 0.0, 1.0) : 0;
  EXPECT_LE(std::hypot(ha.x + t * dx - mid.x(), ha.y + t * dy - mid.y()), 6.0)
      << "the marked move passes the clicked point";

  // Editor -> drawing: the caret on the NC line of another move marks it.
  button("BProgram")->click();
  const int target = job.moveLines[1];  // the first rapid move
  editor()->setCursorPosition(target, 0);
  QApplication::processEvents();
  editor()->repaint();
  QApplication::processEvents();
  EXPECT_EQ(g->markedLine(), 1);
  EXPECT_TRUE(g->surface()->hasMark());

  // Editing the text leaves the drawing as the build made it.
  button("BGrafik")->click();
  const QImage before = g->surface()->image();
  editor()->setText(QStringLiteral("G0 X999 Y999\n"));
  g->RefreshClick();
  EXPECT_EQ(g->surface()->image(), before);
}

TEST_F(GraphicSessionTest, KeysTurnAndZoomTheShownGraphicWhereverTheFocusIs) {
  openAndConvert(true);
  TNCGraphicView* g = graphic();
  ASSERT_TRUE(g->isVisible());
  QWidget* focus = button("BConvert");
  focus->setFocus();
  const struct {
    int key;
    Qt::KeyboardModifiers mods;
    long double dz, dy;  // expected change of the two angles
    bool zooms;
  } cases[] = {{Qt::Key_Left, Qt::NoModifier, -5, 0, false},
               {Qt::Key_Right, Qt::NoModifier, 5, 0, false},
               {Qt::Key_Up, Qt::NoModifier, 0, 5, false},
               {Qt::Key_Down, Qt::NoModifier, 0, -5, false},
               {Qt::Key_PageUp, Qt::NoModifier, 0, 0, true},
               {Qt::Key_Minus, Qt::KeypadModifier, 0, 0, true},
               {Qt::Key_PageDown, Qt::NoModifier, 0, 0, true},
               {Qt::Key_Plus, Qt::KeypadModifier, 0, 0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const View3D before = g->view();
    QTest::keyClick(focus, static_cast<Qt::Key>(c.key), c.mods);
    const long double dz = g->view().D3Zrotation() - before.D3Zrotation();
    const long double dy = g->view().D3Yrotation() - before.D3Yrotation();
    EXPECT_NEAR(double(std::fabs(dz)), double(std::fabs(c.dz)), 1e-9);
    EXPECT_NEAR(double(std::fabs(dy)), double(std::fabs(c.dy)), 1e-9);
    EXPECT_EQ(g->view().X2() - g->view().X1() != before.X2() - before.X1(), c.zooms);
  }
  // With another view shown the keys stay with the window.
  button("BImage")->click();
  const long double z = g->view().D3Zrotation();
  QTest::keyClick(focus, Qt::Key_Left);
  EXPECT_EQ(g->view().D3Zrotation(), z);
}

TEST_F(GraphicSessionTest, SlowedSimulationMovesTheEditorLineAlong) {
  openAndConvert(true);
  TNCGraphicView* g = graphic();
  ASSERT_TRUE(g->isVisible());
  std::vector<int> lines;
  QObject::connect(g, &TNCGraphicView::lineReplayed, [&](int l) { lines.push_back(l); });
  bool done = false;
  QObject::connect(g, &TNCGraphicView::passDone, [&](bool) { done = true; });
  g->findChild<QToolButton*>("B1Delay")->click();  // the clock starts its pass
  QTRY_VERIFY_WITH_TIMEOUT(done, 20000);
  ASSERT_EQ(lines.size(), w->job().moveRecords.size());
  EXPECT_EQ(editor()->caretLine(), w->job().moveLines.back());
  EXPECT_TRUE(w->findChild<QWidget*>("PanelLinks")->isEnabled());
}

}  // namespace

// Opening and resizing leave the offsets at "0.0" with the centre button down
// (the next scale change places by it); a rotation is accepted at once.
TEST_F(SessionTest, OpenResizeAndRotateResetTheOutputPosition) {
  auto text = [&](const char* name) {
    return w->findChild<QLineEdit*>(QString::fromLatin1(name))->text().toStdString();
  };
  auto centreDown = [&] { return w->findChild<QPushButton*>(QStringLiteral("BM"))->isChecked(); };
  openPicture();
  EXPECT_EQ(text("EXVersatz"), "0.0");
  EXPECT_EQ(text("EYVersatz"), "0.0");
  EXPECT_TRUE(centreDown());

  OnModalSoon([](QWidget* m) {
    m->findChild<QPushButton*>(QStringLiteral("BLU"))->click();
    m->findChild<QPushButton*>(QStringLiteral("BStore"))->click();
  });
  button("BPosition")->click();
  EXPECT_EQ(text("EYVersatz"), "40.0");
  EXPECT_FALSE(centreDown());

  OnModalSoon([](QWidget* m) {
    m->findChild<QSpinBox*>(QStringLiteral("AusgabeX"))->setValue(120);
    m->findChild<QSpinBox*>(QStringLiteral("AusgabeY"))->setValue(80);
    m->findChild<QPushButton*>(QStringLiteral("BStore"))->click();
  });
  button("BResize")->click();
  EXPECT_EQ(w->job().working.width, 120);
  EXPECT_EQ(w->job().working.height, 80);
  EXPECT_EQ(w->job().accepted.width, 60);  // the resize works on the working image only
  EXPECT_EQ(text("EXVersatz"), "0.0");
  EXPECT_EQ(text("EYVersatz"), "0.0");
  EXPECT_EQ(text("EScale"), "1.000");
  EXPECT_TRUE(centreDown());

  button("BRot90")->click();
  EXPECT_EQ(w->job().working.width, 80);
  EXPECT_EQ(w->job().working.height, 120);
  EXPECT_EQ(w->job().accepted.px, w->job().working.px);
  const uint32_t topLeft = w->job().working.at(0, 0);
  button("BFlipV")->click();
  EXPECT_EQ(w->job().accepted.px, w->job().working.px);
  EXPECT_EQ(w->job().working.at(79, 0), topLeft);
}

// With a contour accepted every picture edit is refused by the picture lock.
TEST_F(SessionTest, PictureToolsAreRefusedWhileAContourIsAccepted) {
  openAndConvert(true);
  ASSERT_TRUE(w->job().contourAccepted);
  button("BImage")->click();
  const std::vector<uint32_t> before = w->job().working.px;
  for (const char* b : {"BHkg", "BEFilter", "BRot90", "BFlipV", "BFlipH", "BResize"}) {
    SCOPED_TRACE(b);
    script.messages.clear();
    button(b)->click();
    EXPECT_EQ(script.messages, std::vector<std::string>{kPictureLockText});
    EXPECT_EQ(w->job().working.px, before);
  }
}

// Saving offers the picture's name as a bitmap and replaces an existing file
// only after the question.
TEST_F(SessionTest, SavingThePictureOffersABitmapNameAndAsksBeforeReplacing) {
  openPicture();
  const std::string jpg = tmp.filePath("photo.jpg").toStdString();
  { std::ofstream(jpg) << "JPEG"; }
  script.files.push_back(jpg);
  script.answers = {false};
  button("BTSave")->click();
  EXPECT_EQ(script.offeredName, tmp.filePath("shapes.bmp").toStdString());
  EXPECT_EQ(script.asked, std::vector<std::string>{PictureReplaceQuestion(jpg)});
  EXPECT_EQ(ReadLines(jpg), std::vector<std::string>{"JPEG"});

  script.files.push_back(jpg);
  script.answers = {true};
  button("BTSave")->click();
  // A bitmap under the typed name: read it back as one.
  const std::string asBmp = tmp.filePath("check.bmp").toStdString();
  ASSERT_TRUE(QFile::copy(QString::fromStdString(jpg), QString::fromStdString(asBmp)));
  Picture saved;
  std::string error;
  ASSERT_TRUE(LoadPictureFile(asBmp, saved, error)) << error;
  EXPECT_EQ(saved.px, w->job().working.px);
}

}  // namespace korvane
