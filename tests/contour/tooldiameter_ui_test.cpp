#include "core/job.h"
#include "core/parameters.h"
#include "contour/tooldiameter_ui.h"

#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace korvane {
namespace {

struct DiameterCase {
  const char* name;
  ContourType type;
  bool accepted;
  const char* before;  // EDurchmesser before the dialog
  const char* typed;   // nullptr: "Abbrechen"
  const char* after;
  ParameterRerun rerun;
  long double spacing;
};

TEST(ToolDiameterUi, Command) {
  const DiameterCase cases[] = {
      {"3 mm at 0.5 mm per pixel", ContourType::Scan, false, "0", "3", "3",
       ParameterRerun::RescanSurface, 6.0L},
      {"0.01 mm", ContourType::ScanNegative, false, "0", "0.01", "0", ParameterRerun::None, 1.0L},
      {"0.1 mm", ContourType::Scan, false, "0", "0.1", "0.1", ParameterRerun::RescanSurface, 0.2L},
      {"back to 0", ContourType::Scan, false, "2", "0", "0", ParameterRerun::RescanSurface, 1.0L},
      {"same value", ContourType::Scan, true, "2.5", "2.5", "2.5", ParameterRerun::None, 1.0L},
      {"cancelled", ContourType::Scan, true, "2.5", nullptr, "2.5", ParameterRerun::None, 1.0L},
      {"outline accepted", ContourType::Outline, true, "0", "1.5", "1.5",
       ParameterRerun::RebuildProgram, 1.0L},
      {"centre line not accepted", ContourType::CentreLine, false, "0", "1.5", "1.5",
       ParameterRerun::None, 1.0L},
  };
  for (const DiameterCase& c : cases) {
    SCOPED_TRACE(c.name);
    Job job;
    job.scale = 0.5L;
    job.contourType = c.type;
    job.contourAccepted = c.accepted;
    TFDurchmesser dlg(job);
    QSignalSpy text(&dlg, &TFDurchmesser::diameterTextChanged);
    QSignalSpy rerun(&dlg, &TFDurchmesser::rerunNeeded);
    QTimer::singleShot(0, &dlg, [&] {
      auto* spin = dlg.findChild<QDoubleSpinBox*>("EDurchmesser");
      ASSERT_NE(spin, nullptr);
      EXPECT_EQ(QString::number(spin->value()), QString(c.before));
      if (c.typed) {
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, c.typed);
      }
      dlg.findChild<QPushButton*>(c.typed ? "BStore" : "BRestore")->click();
    });
    EXPECT_EQ(dlg.runCommand(nullptr, c.before), c.rerun);
    EXPECT_EQ(dlg.fieldText(), c.after);
    EXPECT_EQ(text.size(), c.typed ? 1 : 0);
    EXPECT_EQ(rerun.size(), c.rerun == ParameterRerun::None ? 0 : 1);
    EXPECT_EQ(job.lineSpacing, c.spacing);
    EXPECT_EQ(job.autoAccept, c.rerun == ParameterRerun::RescanSurface);
  }
}

}  // namespace
}  // namespace korvane
