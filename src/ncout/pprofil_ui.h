#pragma once
// The profile panel "PProfil" of the NC program view: which output profile is
// active, and the retract height, infeed depth and feeds of the current job.
// Edits reach the job's active values only, never the stored profiles.
#include <QWidget>

#include "core/job.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace korvane {

class PProfil : public QWidget {
  Q_OBJECT
 public:
  explicit PProfil(Job& job, QWidget* parent = nullptr);

  // Profile button k (1..4): activate profile k and show its values.
  void activateProfile(int k);
  // Show the active values without activating (the main window's start,
  // after it activated the standard profile itself).
  void fillFromActive();

  void RMinusClick() { step(rEbene_, -1); }
  void RPlusClick() { step(rEbene_, +1); }
  void ZMinusClick() { step(zEbene_, -1); }
  void ZPlusClick() { step(zEbene_, +1); }

  QPushButton* convertButton() const { return convertNew_; }

 signals:
  // "Erstelle NC-Programm  ..." pressed: run the convert command.
  void convertRequested();

 private:
  void step(QLineEdit* field, int direction);
  void fieldsChanged();
  void showActiveName();

  Job& job_;
  bool filling_ = false;
  QButtonGroup* profiles_;
  QLineEdit* name_;
  QLineEdit* rEbene_;
  QLineEdit* zEbene_;
  QLineEdit* vorschubZ_;
  QLineEdit* vorschubXY_;
  QPushButton* convertNew_;
};

}  // namespace korvane
