#include "core/job.h"
#include "image/tfbw_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>
#include <functional>

namespace korvane {
namespace {

constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// One row of grey-ish pixels around the default threshold, plus a transparent
// white and a dark pixel.
Picture Greys() {
  Picture p;
  p.resize(6, 1, kWhite);
  p.px = {Argb(255, 128, 128, 129), Argb(255, 129, 129, 128), Argb(255, 129, 129, 129),
          Argb(0, 255, 255, 255),   Argb(255, 5, 10, 20),     Argb(255, 200, 10, 10)};
  return p;
}

void WhileModal(QDialog& dlg, std::function<void(QSlider*)> script) {
  QTimer::singleShot(0, &dlg, [&dlg, script] {
    script(dlg.findChild<QSlider*>("GaugeBar1"));
    if (dlg.isVisible()) {
      ADD_FAILURE() << "dialog still open after the script";
      dlg.reject();
    }
  });
}

void Click(QDialog& dlg, const char* name) {
  QPushButton* b = dlg.findChild<QPushButton*>(name);
  ASSERT_NE(b, nullptr) << name;
  b->click();
}

TEST(TfbwUi, PreviewAtTheDefaultThresholdThenCancelRestores) {
  Job job;
  job.working = Greys();
  const Picture before = job.working;
  TFBW dlg(job);
  QSignalSpy repaint(&dlg, &TFBW::pictureChanged);
  QSignalSpy warning(&dlg, &TFBW::bwWarningChanged);
  WhileModal(dlg, [&](QSlider* s) {
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->value(), 128);
    EXPECT_EQ(s->minimum(), 0);
    EXPECT_EQ(s->maximum(), 255);
    // Means 128, 128, 129, 255, 11, 73 against t = 128.
    EXPECT_EQ(job.working.px,
              (std::vector<uint32_t>{kBlack, kBlack, kWhite, kWhite, kBlack, kBlack}));
    s->setValue(10);
    EXPECT_EQ(job.working.px,
              (std::vector<uint32_t>{kWhite, kWhite, kWhite, kWhite, kWhite, kWhite}));
    s->setValue(200);
    EXPECT_EQ(job.working.px,
              (std::vector<uint32_t>{kBlack, kBlack, kBlack, kWhite, kBlack, kBlack}));
    Click(dlg, "BRestore");
  });
  EXPECT_EQ(dlg.exec(), QDialog::Rejected);
  EXPECT_EQ(job.working, before);
  EXPECT_GE(repaint.size(), 4);  // show, two moves, cancel
  EXPECT_TRUE(warning.isEmpty());
}

TEST(TfbwUi, AcceptKeepsTheResultAndASecondOpeningStartsAt128) {
  Job job;
  job.working = Greys();
  TFBW dlg(job);
  QSignalSpy warning(&dlg, &TFBW::bwWarningChanged);
  WhileModal(dlg, [&](QSlider* s) {
    s->setValue(100);
    Click(dlg, "BStore");
  });
  EXPECT_EQ(dlg.exec(), QDialog::Accepted);
  const Picture accepted = job.working;
  EXPECT_EQ(job.accepted, accepted);
  ASSERT_EQ(warning.size(), 1);
  EXPECT_FALSE(warning[0][0].toBool());

  // The already black-and-white picture stays as it is up to 254 and turns
  // black at 255.
  WhileModal(dlg, [&](QSlider* s) {
    EXPECT_EQ(s->value(), 128);
    for (int t : {0, 1, 127, 128, 254}) {
      s->setValue(t);
      EXPECT_EQ(job.working, accepted) << t;
    }
    s->setValue(255);
    EXPECT_EQ(job.working.px, std::vector<uint32_t>(accepted.px.size(), kBlack));
    Click(dlg, "BRestore");
  });
  dlg.exec();
  EXPECT_EQ(job.working, accepted);
}

TEST(TfbwUi, ClosingTheWindowIsCancel) {
  Job job;
  job.working = Greys();
  const Picture before = job.working;
  TFBW dlg(job);
  WhileModal(dlg, [&](QSlider* s) {
    s->setValue(3);
    dlg.close();
  });
  dlg.exec();
  EXPECT_EQ(job.working, before);
}

TEST(TfbwUi, EmptyPictureLeavesTheWarning) {
  Job job;
  TFBW dlg(job);
  QSignalSpy warning(&dlg, &TFBW::bwWarningChanged);
  WhileModal(dlg, [&](QSlider*) { Click(dlg, "BStore"); });
  dlg.exec();
  ASSERT_EQ(warning.size(), 1);
  EXPECT_TRUE(warning[0][0].toBool());
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

TEST(TfbwUi, ShowsTheThresholdAsANumberAndFitsItsCaption) {
  Job job;
  job.working = Greys();
  TFBW dlg(job);
  dlg.show();
  QLabel* number = dlg.findChild<QLabel*>("LSchwelleWert");
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->text(), "128");
  dlg.slider()->setValue(37);
  EXPECT_EQ(number->text(), "37");
  // Beside the slider, on its row.
  EXPECT_GT(number->geometry().left(), dlg.slider()->geometry().right());
  EXPECT_GE(dlg.width(), dlg.fontMetrics().horizontalAdvance(dlg.windowTitle()) + 100);
  dlg.reject();
  dlg.show();
  EXPECT_EQ(number->text(), "128");  // the slider starts at 128 again
  dlg.reject();
}

}  // namespace
}  // namespace korvane
