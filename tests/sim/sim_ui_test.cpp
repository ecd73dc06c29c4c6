#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

#include "base/numtext.h"
#include "core/convert.h"
#include "sim/fclock_ui.h"
#include "sim/ncgrafik_ui.h"
#include "sim/ncgraphicview_ui.h"
#include "sim/prohteil_ui.h"

namespace korvane {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00;

GraphicOptions Colours() {
  GraphicOptions o;
  o.background = {255, 255, 255};
  o.feed = {255, 0, 0};
  o.rapid = {0, 0, 255};
  o.stock = {0, 255, 0};
  o.axes = {0, 0, 0};
  o.preset = ViewPreset::XY;
  return o;
}

int Count(const QImage& img, QRgb colour) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) n += row[x] == colour;
  }
  return n;
}

// A built program: two separate paths.
LineStore BuiltMoveList() {
  Job job;
  job.active.REbene = "5";
  job.active.ZEbene = "-1";
  job.joinGap = 1;
  job.segments.append(10, 10, 40, 10);
  job.segments.append(40, 10, 40, 30);
  job.segments.append(-30, -20, -10, -20);
  job.rect = FindWayRect(job.segments);
  NullProgress progress;
  EXPECT_TRUE(ConvertToNC(job, progress).ok());
  return job.moveList;
}

struct Page {
  Page() {
    view.resize(700, 500);
    view.setMoveList(&list);
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.applyOptions(Colours());
    view.view().SetWorldBox(-60, -60, -10, 60, 60, 10);
    view.redrawTimer().stop();  // the pass after showing is not what the tests look at
    QObject::connect(&view, &TNCGraphicView::passDone, [this](bool ok) {
      ++passes;
      lastOk = ok;
    });
  }
  QToolButton* button(const char* name) { return view.findChild<QToolButton*>(name); }
  const QImage& image() { return view.surface()->image(); }

  MoveList list;
  TNCGraphicView view;
  int passes = 0;
  bool lastOk = false;
};

TEST(NCGraphicView, RapidMovesHiddenAndShown) {
  Page p;
  p.list.assign(BuiltMoveList());
  ASSERT_FALSE(p.button("G0Butt")->isChecked());
  p.view.RefreshClick();
  EXPECT_EQ(p.passes, 1);
  EXPECT_GT(Count(p.image(), kRed), 40);
  EXPECT_EQ(Count(p.image(), kBlue), 0) << "rapid moves are drawn only with G0Butt down";

  p.button("G0Butt")->click();
  EXPECT_EQ(p.passes, 2);
  EXPECT_GT(Count(p.image(), kBlue), 5);
  EXPECT_GT(Count(p.image(), kRed), 40);

  // The grabbed widget shows the pass.
  EXPECT_GT(Count(p.view.surface()->grab().toImage().convertToFormat(QImage::Format_RGB32), kBlue),
            0);
}

TEST(NCGraphicView, AxesStockAndAnEmptyList) {
  Page p;
  p.view.setStockDefinition("ROHDEF QUAD XM-20 YP20 ZP0 XP20 YM-20 ZM-5");
  p.view.RefreshClick();
  EXPECT_GT(Count(p.image(), kGreen), 100);
  EXPECT_EQ(Count(p.image(), 0xFF000000), 0);
  p.button("AxisButt")->click();
  EXPECT_GT(Count(p.image(), 0xFF000000), 100);
  EXPECT_EQ(Count(p.image(), kRed), 0);
  EXPECT_GT(Count(p.image(), kWhite), 300000);

  // A hidden page draws nothing.
  p.view.hide();
  const int before = p.passes;
  p.view.RefreshClick();
  EXPECT_EQ(p.passes, before);
}

TEST(NCGraphicView, FailedPassUnlocksAndFailsAgain) {
  Page p;
  p.list.assign({"8;0;;-1", "0;1;1", "1;2;2"});
  std::vector<bool> locks;
  QStringList errors;
  p.view.setLockHook([&](bool on) { locks.push_back(on); });
  QObject::connect(&p.view, &TNCGraphicView::passFailed, [&](const QString& e) { errors << e; });
  p.view.RefreshClick();
  p.view.RefreshClick();
  EXPECT_EQ(locks, (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ(errors, QStringList(2, QString::fromUtf8("'' ist kein gültiger Gleitkommawert")));
  EXPECT_FALSE(p.lastOk);
  p.view.DrawSimulation(true);  // the pass after a build stays silent
  EXPECT_EQ(errors.size(), 2);
  EXPECT_EQ(Count(p.image(), kRed), 0);
}

TEST(NCGraphicView, PassAskedForDuringAPassRunsAfterIt) {
  Page p;
  p.list.assign(BuiltMoveList());
  bool again = true;
  QObject::connect(&p.view, &TNCGraphicView::passDone, [&](bool) {
    if (!again) return;
    again = false;
    EXPECT_TRUE(p.view.passRunning());
    p.view.RefreshClick();  // deferred
    EXPECT_EQ(p.passes, 1);
  });
  p.view.RefreshClick();
  EXPECT_EQ(p.passes, 2);
  EXPECT_FALSE(p.view.passRunning());
}

TEST(NCGraphicView, PresetButtons) {
  Page p;  // the XY preset was applied to the start view, which already looks that way
  EXPECT_TRUE(p.button("XYButt")->isChecked());
  EXPECT_EQ(p.view.view().D3Yrotation(), 0);
  EXPECT_EQ(p.view.view().D3Zrotation(), -90);

  p.passes = 0;
  p.button("XYButt")->click();
  EXPECT_EQ(p.passes, 0) << "already there: no turn, no pass";

  p.button("XZButt")->click();
  EXPECT_TRUE(p.button("XZButt")->isChecked());
  EXPECT_FALSE(p.button("XYButt")->isChecked());
  EXPECT_EQ(p.passes, 10);
  EXPECT_NEAR(double(p.view.view().D3Yrotation()), 90, 1e-6);
  EXPECT_EQ(p.view.view().D3Zrotation(), -90) << "270 and -90 are the same azimuth";

  p.passes = 0;
  p.button("XYZButt")->click();
  EXPECT_EQ(p.passes, 10);
  EXPECT_NEAR(double(p.view.view().D3Yrotation()), 55, 1e-5);
  EXPECT_NEAR(double(p.view.view().D3Zrotation()), 255, 1e-5);
}

TEST(NCGraphicView, RotationKeysWheelAndTimer) {
  Page p;
  QTimer& timer = p.view.redrawTimer();
  timer.stop();
  p.passes = 0;
  p.button("ZM_ROT")->click();
  EXPECT_EQ(p.view.view().D3Zrotation(), -95);
  EXPECT_TRUE(timer.isActive());
  EXPECT_EQ(p.passes, 0) << "rotation buttons only restart the timer";

  QTest::keyClick(p.view.surface(), Qt::Key_Up);
  EXPECT_EQ(p.view.view().D3Yrotation(), 5);
  QTest::keyClick(p.view.surface(), Qt::Key_PageUp);
  EXPECT_EQ(p.view.view().X1(), -72);
  EXPECT_EQ(p.view.view().Z2(), 12);
  QTest::keyClick(p.view.surface(), Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(p.view.view().X1(), -58);
  EXPECT_FALSE(p.view.handleKey(Qt::Key_A, Qt::NoModifier));

  // A burst of changes costs one pass, 100 ms after the last.
  EXPECT_TRUE(QTest::qWaitFor([&] { return p.passes > 0; }, 2000));
  QTest::qWait(150);
  EXPECT_EQ(p.passes, 1);

  QWheelEvent up(QPointF(350, 235), p.view.surface()->mapToGlobal(QPointF(350, 235)), QPoint(),
                 QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  const long double width = p.view.view().X2() - p.view.view().X1();
  QApplication::sendEvent(p.view.surface(), &up);
  EXPECT_NEAR(double(p.view.view().X2() - p.view.view().X1()), double(0.9L * width), 1e-9);
  EXPECT_TRUE(timer.isActive());
}

TEST(NCGraphicView, ZoomInModeAndPointerReadout) {
  Page p;
  QWidget* s = p.view.surface();
  QTest::mouseMove(s, QPoint(100, 120));
  const World3 w = p.view.view().PixelToWorld(100, 120);
  auto* x = p.view.findChild<QLabel*>("LAchseXWert");
  auto* z = p.view.findChild<QLabel*>("LAchseZWert");
  ASSERT_TRUE(x && z);
  EXPECT_EQ(x->text().toStdString(), FormatFixed(w.x, 3));
  EXPECT_EQ(z->text(), "0.000") << "the XY preset shows the box centre's Z";

  p.button("Zoomin")->click();
  EXPECT_TRUE(p.view.zoomInMode());
  EXPECT_EQ(s->cursor().shape(), Qt::BitmapCursor);
  p.passes = 0;
  QTest::mouseClick(s, Qt::LeftButton, Qt::NoModifier, QPoint(100, 120));
  EXPECT_FALSE(p.view.zoomInMode());
  EXPECT_EQ(p.passes, 1);
  EXPECT_NEAR(double(p.view.view().X1()), double(w.x - 30), 1e-9);
  EXPECT_EQ(p.view.view().Z2(), 1);
  EXPECT_EQ(s->cursor().shape(), Qt::ArrowCursor);
}

TEST(FClock, SpeedBarSetsThePause) {
  TFClock clock;
  EXPECT_EQ(clock.pausePerLine(), 0);
  EXPECT_EQ(clock.size(), QSize(219, 35));
  EXPECT_EQ(clock.speed()->value(), 2000);
  clock.speed()->setValue(1);
  EXPECT_EQ(clock.pausePerLine(), 2000);
  clock.speed()->setValue(2000);
  EXPECT_EQ(clock.pausePerLine(), 1);
}

TEST(FClock, SlowedSimulationClosedMidwayFinishesAtFullSpeed) {
  Page p;
  std::vector<std::string> lines = {"8;0;5;-1", "0;0;0"};
  for (int i = 1; i <= 60; ++i) lines.push_back("1;" + std::to_string(i % 2 ? -40 : 40) + ";" +
                                                std::to_string(i - 30));
  p.list.assign(LineStore(lines));
  std::vector<int> slowLines;
  QObject::connect(&p.view, &TNCGraphicView::lineReplayed, [&](int i) { slowLines.push_back(i); });
  TFClock* clock = p.view.clock();
  clock->speed()->setValue(2000 - 29);  // 30 ms per line
  p.passes = 0;

  p.button("B1Delay")->click();
  EXPECT_TRUE(p.button("B1Delay")->isChecked());
  EXPECT_TRUE(clock->isVisible());
  EXPECT_TRUE(clock->startTimer().isActive());
  // Close the clock after a few slowed lines, from inside the running pass.
  QObject::connect(&p.view, &TNCGraphicView::lineReplayed, clock, [&](int i) {
    if (i == 4) clock->findChild<QToolButton*>("Schliessen")->click();
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.passes == 1; }, 10000));
  EXPECT_TRUE(p.lastOk);
  EXPECT_FALSE(p.button("B1Delay")->isChecked());
  EXPECT_FALSE(clock->isVisible());
  EXPECT_EQ(clock->pausePerLine(), 30);
  EXPECT_EQ(slowLines, (std::vector<int>{0, 1, 2, 3, 4})) << "no pauses after closing";
  EXPECT_GT(Count(p.image(), kRed), 1000) << "all lines drawn";
}

TEST(FClock, SlowPassEndsTheClockAndReleasesTheButton) {
  Page p;
  p.list.assign(BuiltMoveList());
  p.passes = 0;
  p.button("B1Delay")->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return p.passes == 1; }, 5000));
  EXPECT_FALSE(p.button("B1Delay")->isChecked());
  EXPECT_FALSE(p.view.clock()->isVisible());
  EXPECT_EQ(p.view.clock()->pausePerLine(), 1);
}

TEST(PRohteil, ShapesFieldsAndCommands) {
  TPRohteil page;
  page.show();
  int shown = 0;
  QObject::connect(&page, &TPRohteil::showGraphic, [&] { ++shown; });
  EXPECT_TRUE(page.definition().empty());
  EXPECT_TRUE(page.findChild<QWidget*>("PANELQUADER1")->isVisible());

  page.findChild<QToolButton*>("ZYL2")->click();
  for (const char* panel : {"PANELQUADER1", "PANELZYL1", "PANELZYL3"}) {
    EXPECT_FALSE(page.findChild<QWidget*>(panel)->isVisible()) << panel;
  }
  EXPECT_TRUE(page.findChild<QWidget*>("PANELZYL2")->isVisible());
  page.findChild<QPushButton*>("RAnzeigen")->click();
  EXPECT_EQ(page.definition(), "ROHDEF ZYL2 XM0 YC0 RA25 ZC0 XP50");
  EXPECT_EQ(shown, 1);

  page.findChild<QToolButton*>("QUADER1")->click();
  QLineEdit* xp = page.field(QUADER1_XP);
  xp->clear();
  QTest::keyClicks(xp, "12,5x");  // a comma types a point, a letter nothing
  EXPECT_EQ(xp->text(), "12.5");
  page.findChild<QPushButton*>("RAnzeigen")->click();
  EXPECT_EQ(page.definition(), "ROHDEF QUAD XM0 YP50 ZP0 XP12.5 YM0 ZM-10");
  EXPECT_EQ(ReadStockValue(page.definition(), "XP"), 12.5L);

  page.findChild<QPushButton*>("RDelete")->click();
  EXPECT_TRUE(page.definition().empty());
  EXPECT_EQ(xp->text(), "12.5") << "the typed values stay";
  EXPECT_EQ(shown, 3);

  page.applyCaptions([](int n) { return QStringLiteral("T%1").arg(n); });
  EXPECT_EQ(page.findChild<QPushButton*>("RDelete")->text(), "T3202");
  EXPECT_EQ(page.findChild<QLabel*>("LMittelpunkt3")->text(), "T3206");
  EXPECT_EQ(page.findChild<QLabel*>("LRInfo")->text(), "T3203");
}

TEST(PRohteil, DeletedStockIsNotDrawn) {
  Page p;
  TPRohteil stock;
  QObject::connect(&stock, &TPRohteil::definitionChanged,
                   [&](const QString& d) { p.view.setStockDefinition(d.toStdString()); });
  QObject::connect(&stock, &TPRohteil::showGraphic, &p.view, &TNCGraphicView::RefreshClick);
  stock.RAnzeigenClick();
  EXPECT_GT(Count(p.image(), kGreen), 100);
  stock.RDeleteClick();
  EXPECT_EQ(Count(p.image(), kGreen), 0);
}

}  // namespace
}  // namespace korvane
