#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>

#include "core/job.h"
#include "core/parameters.h"
#include "ncout/fimagepos_ui.h"
#include "ncout/fscale_ui.h"
#include "base/numkeyfilter_ui.h"
#include "ncout/pprofil_ui.h"

namespace korvane {
namespace {

template <typename T>
T* Child(QWidget& w, const char* name) {
  T* c = w.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

// Run `script` on the dialog once its modal loop runs; the script ends the
// dialog with one of its buttons. A script that forgets to would hang, so a
// second timer closes the dialog as a fallback and the test fails.
void WhileModal(QDialog& dlg, std::function<void()> script) {
  QTimer::singleShot(0, &dlg, [&dlg, script] {
    dlg.activateWindow();
    // The width/height fields act on the focus, which needs an active window.
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
    script();
    if (dlg.isVisible()) {
      ADD_FAILURE() << "dialog still open after the script";
      dlg.reject();
    }
  });
}

void TypeInto(QDoubleSpinBox* spin, const QString& text) {
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, text);
}

// ------------------------------------------------------------- PProfil

Job ProfileJob() {
  Job job;
  const char* names[] = {"Fräsen", "Gravur", "Laser", "Plotter"};
  for (int k = 0; k < 4; ++k) {
    Profile& p = job.profiles[static_cast<size_t>(k)];
    p.Profil = names[k];
    p.REbene = std::to_string(5 + k);
    p.ZEbene = "-" + std::to_string(k + 1);
    p.VorschubZ = std::to_string(100 * (k + 1));
    p.VorschubXY = "F" + std::to_string(200 * (k + 1));
  }
  return job;
}

TEST(PProfilUi, ProfileButtonsFillTheFieldsAndDiscardEdits) {
  Job job = ProfileJob();
  PProfil panel(job);
  panel.show();
  for (int k : {2, 1}) {
    Child<QPushButton>(panel, ("Profil" + std::to_string(k)).c_str())->click();
    const Profile& p = job.profiles[static_cast<size_t>(k - 1)];
    EXPECT_EQ(Child<QLineEdit>(panel, "NCProfilname")->text().toStdString(), p.Profil);
    EXPECT_EQ(Child<QLineEdit>(panel, "REbeneauswahl")->text().toStdString(), p.REbene);
    EXPECT_EQ(Child<QLineEdit>(panel, "ZEbeneauswahl")->text().toStdString(), p.ZEbene);
    EXPECT_EQ(Child<QLineEdit>(panel, "EVorschubZ")->text().toStdString(), p.VorschubZ);
    EXPECT_EQ(Child<QLineEdit>(panel, "EVorschubXY")->text().toStdString(), p.VorschubXY);
    EXPECT_EQ(job.active.number, k);
  }
  Child<QLineEdit>(panel, "REbeneauswahl")->setText("9.5");
  EXPECT_EQ(job.active.REbene, "9.5");
  EXPECT_EQ(job.profiles[0].REbene, "5");  // the store is untouched
  Child<QPushButton>(panel, "Profil1")->click();
  EXPECT_EQ(Child<QLineEdit>(panel, "REbeneauswahl")->text(), "5");
  EXPECT_EQ(job.active.REbene, "5");
}

TEST(PProfilUi, ButtonKActivatesProfileKWhateverTheNames) {
  Job job = ProfileJob();
  job.profiles[2].Profil = "1";  // profile 3 named like button 1
  PProfil panel(job);
  panel.show();
  Child<QPushButton>(panel, "Profil1")->click();
  EXPECT_EQ(job.active.number, 1);
  EXPECT_EQ(Child<QLineEdit>(panel, "NCProfilname")->text().toStdString(), job.profiles[0].Profil);
  EXPECT_EQ(Child<QLineEdit>(panel, "REbeneauswahl")->text().toStdString(), job.profiles[0].REbene);
  EXPECT_TRUE(Child<QPushButton>(panel, "Profil1")->isChecked());
}

TEST(PProfilUi, FieldEditsEnableConvertOnlyWithAnAcceptedContour) {
  for (bool accepted : {false, true}) {
    Job job = ProfileJob();
    PProfil panel(job);
    panel.show();
    panel.activateProfile(1);
    job.contourAccepted = accepted;
    QPushButton* convert = Child<QPushButton>(panel, "BConvertNew");
    EXPECT_FALSE(convert->isEnabled());
    Child<QLineEdit>(panel, "EVorschubXY")->setText("F999");
    EXPECT_EQ(job.active.VorschubXY, "F999");
    EXPECT_EQ(convert->isEnabled(), accepted);
    QSignalSpy spy(&panel, &PProfil::convertRequested);
    convert->click();
    EXPECT_EQ(spy.isEmpty(), !accepted);
  }
}

TEST(PProfilUi, Steppers) {
  struct Row {
    const char* button;
    const char* field;
    const char* before;
    const char* after;
  };
  const Row rows[] = {
      {"RMinus", "REbeneauswahl", "0", "-0.10"},  {"RMinus", "REbeneauswahl", "0.05", "-0.05"},
      {"RPlus", "REbeneauswahl", "5", "5.10"},    {"ZMinus", "ZEbeneauswahl", "-1", "-1.10"},
      {"ZPlus", "ZEbeneauswahl", "-0.1", "0.00"}, {"ZPlus", "ZEbeneauswahl", "abc", "abc"},
  };
  Job job = ProfileJob();
  PProfil panel(job);
  panel.show();
  panel.activateProfile(1);
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.button << " on " << r.before);
    QLineEdit* field = Child<QLineEdit>(panel, r.field);
    field->setText(r.before);
    Child<QPushButton>(panel, r.button)->click();
    EXPECT_EQ(field->text(), r.after);
    const std::string& active =
        std::string(r.field) == "REbeneauswahl" ? job.active.REbene : job.active.ZEbene;
    EXPECT_EQ(active, r.after);
  }
}

TEST(PProfilUi, KeyFilterOnRAndZButNotOnFeeds) {
  struct Row {
    const char* field;
    const char* typed;
    const char* shown;
  };
  const Row rows[] = {
      {"REbeneauswahl", "a1,5 x-+", "1.5-+"},
      {"ZEbeneauswahl", "-2.e5;", "-2.5"},
      {"EVorschubZ", "F1,5 x", "F1,5 x"},
      {"EVorschubXY", "abc", "abc"},
  };
  Job job = ProfileJob();
  PProfil panel(job);
  panel.show();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.field);
    QLineEdit* field = Child<QLineEdit>(panel, r.field);
    field->clear();
    QTest::keyClicks(field, r.typed);
    EXPECT_EQ(field->text(), r.shown);
  }
  // Backspace and the cursor keys still edit a filtered field.
  QLineEdit* r = Child<QLineEdit>(panel, "REbeneauswahl");
  r->setText("12");
  QTest::keyClick(r, Qt::Key_Left);
  QTest::keyClick(r, Qt::Key_Backspace);
  EXPECT_EQ(r->text(), "2");
}

TEST(NumKeyFilterUi, WorksOnSpinFieldsToo) {
  QDoubleSpinBox spin;
  spin.setLocale(QLocale::c());
  spin.setDecimals(2);
  spin.setRange(-100, 100);
  NumKeyFilter::installOn(&spin);
  spin.show();
  spin.setFocus();
  spin.selectAll();
  QTest::keyClicks(&spin, "-1x,2 5");
  EXPECT_EQ(spin.value(), -1.25);
}

// --------------------------------------------------------------- FScale

struct ScaleRun {
  Job job;
  FScale dlg{job};
  QSignalSpy scaleText{&dlg, &FScale::scaleTextChanged};
  QSignalSpy offsets{&dlg, &FScale::offsetsChanged};
  QSignalSpy rerun{&dlg, &FScale::rerunNeeded};
  ScaleChangeResult result;
};

TEST(FScaleUi, TypedWidthGivesHalfMillimetreAndTheProgramIsRebuilt) {
  ScaleRun run;
  run.job.contourAccepted = true;
  run.job.xOffsetText = "1.0";
  run.job.yOffsetText = "2.0";
  WhileModal(run.dlg, [&] {
    EXPECT_EQ(Child<QLineEdit>(run.dlg, "SImageX")->text(), "200");
    EXPECT_EQ(Child<QLineEdit>(run.dlg, "SImageY")->text(), "100");
    EXPECT_EQ(Child<QSlider>(run.dlg, "ScaleProz")->value(), 100);
    TypeInto(Child<QDoubleSpinBox>(run.dlg, "AusgabeX"), "100");
    EXPECT_EQ(run.dlg.model().pending(), 0.5L);
    EXPECT_EQ(Child<QDoubleSpinBox>(run.dlg, "AusgabeY")->value(), 50.0);
    Child<QPushButton>(run.dlg, "BStore")->click();
  });
  run.result = run.dlg.runCommand(nullptr, 200, 100, Placement::kCentre, "0");
  EXPECT_EQ(run.job.scale, 0.5L);
  ASSERT_EQ(run.scaleText.size(), 1);
  EXPECT_EQ(run.scaleText[0][0].toString(), "0.500");
  EXPECT_EQ(run.job.xOffsetText, "-50.0");
  EXPECT_EQ(run.job.yOffsetText, "25.0");
  EXPECT_EQ(run.offsets.size(), 1);
  ASSERT_EQ(run.rerun.size(), 1);
  EXPECT_EQ(run.rerun[0][0].value<ParameterRerun>(), ParameterRerun::RebuildProgram);
}

TEST(FScaleUi, SliderSetsTheWidthOnly) {
  ScaleRun run;
  WhileModal(run.dlg, [&] {
    Child<QSlider>(run.dlg, "ScaleProz")->setValue(250);
    EXPECT_EQ(Child<QDoubleSpinBox>(run.dlg, "AusgabeX")->value(), 500.0);
    EXPECT_EQ(Child<QDoubleSpinBox>(run.dlg, "AusgabeY")->value(), 100.0);
    Child<QPushButton>(run.dlg, "BStore")->click();
  });
  run.dlg.runCommand(nullptr, 200, 100, Placement::kNone, "0");
  EXPECT_EQ(run.job.scale, 2.5L);
  EXPECT_EQ(run.job.xOffsetText, "0");  // no placement down: offsets stay
  EXPECT_TRUE(run.offsets.isEmpty());
  EXPECT_TRUE(run.rerun.isEmpty());  // nothing accepted, no surface scan
}

TEST(FScaleUi, NoChangeNoRerun) {
  struct Row {
    const char* name;
    const char* button;
    bool edit;
  };
  for (const Row& r : {Row{"store without edits", "BStore", false},
                       Row{"cancel after an edit", "BRestore", true}}) {
    SCOPED_TRACE(r.name);
    ScaleRun run;
    run.job.scale = 0.25L;
    run.job.contourAccepted = true;
    run.job.contourType = ContourType::Scan;
    WhileModal(run.dlg, [&] {
      EXPECT_EQ(Child<QDoubleSpinBox>(run.dlg, "AusgabeX")->value(), 50.0);
      EXPECT_EQ(Child<QSlider>(run.dlg, "ScaleProz")->value(), 25);
      if (r.edit) TypeInto(Child<QDoubleSpinBox>(run.dlg, "AusgabeX"), "10");
      Child<QPushButton>(run.dlg, r.button)->click();
    });
    run.result = run.dlg.runCommand(nullptr, 200, 100, Placement::kCentre, "3");
    EXPECT_EQ(run.job.scale, 0.25L);
    EXPECT_EQ(run.result.rerun, ParameterRerun::None);
    EXPECT_TRUE(run.rerun.isEmpty());
    EXPECT_TRUE(run.offsets.isEmpty());
  }
}

TEST(FScaleUi, SurfaceScanGetsANewLineSpacing) {
  ScaleRun run;
  run.job.contourType = ContourType::ScanNegative;
  QSignalSpy spacing(&run.dlg, &FScale::lineSpacingChanged);
  WhileModal(run.dlg, [&] {
    TypeInto(Child<QDoubleSpinBox>(run.dlg, "AusgabeY"), "50");  // height drives the width
    EXPECT_EQ(Child<QDoubleSpinBox>(run.dlg, "AusgabeX")->value(), 100.0);
    Child<QPushButton>(run.dlg, "BStore")->click();
  });
  run.dlg.runCommand(nullptr, 200, 100, Placement::kTopLeft, "3");
  EXPECT_EQ(run.job.scale, 0.5L);
  EXPECT_EQ(run.job.lineSpacing, 6.0L);
  ASSERT_EQ(spacing.size(), 1);
  EXPECT_EQ(spacing[0][0].toString(), "6.0");
  ASSERT_EQ(run.rerun.size(), 1);
  EXPECT_EQ(run.rerun[0][0].value<ParameterRerun>(), ParameterRerun::RescanSurface);
}

// ------------------------------------------------------------- fimagepos

TEST(FimageposUi, PlacementsOfA200x100PictureAtHalfMillimetre) {
  struct Row {
    const char* button;
    double startX, startY;
    const char* endX;
    const char* endY;
  };
  const Row rows[] = {
      {"BM", -50, 25, "50.0", "-25.0"}, {"BLU", 0, 50, "100.0", "0.0"},
      {"BLO", 0, 0, "100.0", "-50.0"},  {"BRU", -100, 50, "0.0", "0.0"},
      {"BRO", -100, 0, "0.0", "-50.0"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.button);
    Job job;
    job.scale = 0.5L;
    fimagepos dlg(job);
    dlg.setPlacement(Placement::kNone);  // a click on the button that is down releases it
    QSignalSpy convert(&dlg, &fimagepos::convertRequested);
    WhileModal(dlg, [&] {
      Child<QPushButton>(dlg, r.button)->click();
      EXPECT_EQ(Child<QDoubleSpinBox>(dlg, "StartX")->value(), r.startX);
      EXPECT_EQ(Child<QDoubleSpinBox>(dlg, "StartY")->value(), r.startY);
      EXPECT_EQ(Child<QLineEdit>(dlg, "EndX")->text(), r.endX);
      EXPECT_EQ(Child<QLineEdit>(dlg, "EndY")->text(), r.endY);
      Child<QPushButton>(dlg, "BStore")->click();
    });
    EXPECT_TRUE(dlg.runCommand(nullptr, 200, 100));
    EXPECT_EQ(job.xOffsetText, QString::number(r.startX, 'f', 1).toStdString());
    EXPECT_EQ(job.yOffsetText, QString::number(r.startY, 'f', 1).toStdString());
    EXPECT_TRUE(convert.isEmpty());  // no contour accepted
    EXPECT_EQ(dlg.placement(), dlg.model().placement());
  }
}

// At most one placement button is down; clicking the one that is down
// releases it and leaves the fields, so a later scale change keeps them.
TEST(FimageposUi, ClickingTheButtonThatIsDownReleasesIt) {
  Job job;
  job.scale = 0.5L;
  job.xOffsetText = "3.0";
  job.yOffsetText = "4.0";
  fimagepos dlg(job);
  const auto down = [&] {
    std::string names;
    for (const char* b : {"BM", "BLO", "BLU", "BRU", "BRO"})
      if (Child<QPushButton>(dlg, b)->isChecked()) names += b;
    return names;
  };
  EXPECT_EQ(down(), "BM");
  WhileModal(dlg, [&] {
    Child<QPushButton>(dlg, "BM")->click();
    EXPECT_EQ(down(), "");
    EXPECT_EQ(Child<QDoubleSpinBox>(dlg, "StartX")->value(), 3.0);
    EXPECT_EQ(Child<QDoubleSpinBox>(dlg, "StartY")->value(), 4.0);
    Child<QPushButton>(dlg, "BLU")->click();
    EXPECT_EQ(down(), "BLU");
    EXPECT_EQ(Child<QDoubleSpinBox>(dlg, "StartY")->value(), 50.0);
    Child<QPushButton>(dlg, "BRO")->click();
    EXPECT_EQ(down(), "BRO");
    Child<QPushButton>(dlg, "BRO")->click();
    EXPECT_EQ(down(), "");
    Child<QPushButton>(dlg, "BStore")->click();
  });
  EXPECT_TRUE(dlg.runCommand(nullptr, 200, 100));
  EXPECT_EQ(dlg.placement(), Placement::kNone);
  EXPECT_EQ(job.xOffsetText, "-100.0");  // BRO's start, kept when it was released
  EXPECT_EQ(job.yOffsetText, "0.0");
}

TEST(FimageposUi, TypedStartMovesTheEndAndAcceptedContourIsRebuilt) {
  Job job;
  job.scale = 0.5L;
  job.contourAccepted = true;
  job.xOffsetText = "10.0";
  job.yOffsetText = "-4.5";
  fimagepos dlg(job);
  dlg.setPlacement(Placement::kBottomLeft);
  QSignalSpy convert(&dlg, &fimagepos::convertRequested);
  QSignalSpy offsets(&dlg, &fimagepos::offsetsChanged);
  WhileModal(dlg, [&] {
    EXPECT_EQ(Child<QDoubleSpinBox>(dlg, "StartX")->value(), 10.0);
    EXPECT_EQ(Child<QLineEdit>(dlg, "EndX")->text(), "110.0");
    EXPECT_EQ(Child<QLineEdit>(dlg, "EndY")->text(), "-54.5");
    TypeInto(Child<QDoubleSpinBox>(dlg, "StartX"), "-20.5");
    EXPECT_EQ(Child<QLineEdit>(dlg, "EndX")->text(), "79.5");
    EXPECT_TRUE(Child<QPushButton>(dlg, "BLU")->isChecked());  // stays down
    Child<QPushButton>(dlg, "BStore")->click();
  });
  dlg.runCommand(nullptr, 200, 100);
  EXPECT_EQ(job.xOffsetText, "-20.5");
  EXPECT_EQ(job.yOffsetText, "-4.5");
  EXPECT_EQ(offsets.size(), 1);
  EXPECT_EQ(convert.size(), 1);

  // "Abbrechen" keeps the offsets.
  WhileModal(dlg, [&] {
    Child<QPushButton>(dlg, "BM")->click();
    Child<QPushButton>(dlg, "BRestore")->click();
  });
  EXPECT_FALSE(dlg.runCommand(nullptr, 200, 100));
  EXPECT_EQ(job.xOffsetText, "-20.5");
  EXPECT_EQ(convert.size(), 1);
}

TEST(FimageposUi, FieldsShowTheOffsetsThatAreApplied) {
  // Centre of 7 x 3 pixels at 0.1 mm: -0.35 and 0.15, halves at the shown
  // decimal; the fields and the applied offsets must agree.
  Job job;
  job.scale = 0.1L;
  fimagepos dlg(job);
  QString shownX, shownY;
  WhileModal(dlg, [&] {
    Child<QPushButton>(dlg, "BM")->click();
    shownX = Child<QDoubleSpinBox>(dlg, "StartX")->text();
    shownY = Child<QDoubleSpinBox>(dlg, "StartY")->text();
    Child<QPushButton>(dlg, "BStore")->click();
  });
  dlg.runCommand(nullptr, 7, 3);
  EXPECT_EQ(shownX.toStdString(), job.xOffsetText);
  EXPECT_EQ(shownY.toStdString(), job.yOffsetText);
}

TEST(FimageposUi, PressCentreForANewPicture) {
  Job job;
  job.scale = 0.5L;
  fimagepos dlg(job);
  dlg.setPlacement(Placement::kTopRight);
  dlg.pressCentre(200, 100);
  EXPECT_EQ(dlg.placement(), Placement::kCentre);
  EXPECT_TRUE(Child<QPushButton>(dlg, "BM")->isChecked());
  EXPECT_EQ(Child<QLineEdit>(dlg, "EndX")->text(), "50.0");
  EXPECT_EQ(Child<QLineEdit>(dlg, "EndY")->text(), "-25.0");
  EXPECT_EQ(job.xOffsetText, "0");  // applied only by "Übernehmen"
}

TEST(FimageposUi, NoPlacementDown) {
  Job job;
  fimagepos dlg(job);
  dlg.setPlacement(Placement::kNone);
  for (const char* name : {"BM", "BLO", "BLU", "BRU", "BRO"}) {
    EXPECT_FALSE(Child<QPushButton>(dlg, name)->isChecked()) << name;
  }
  EXPECT_EQ(dlg.placement(), Placement::kNone);
}

}  // namespace
}  // namespace korvane
