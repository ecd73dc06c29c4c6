#pragma once
// The position dialog "Position": where the picture's corners lie in machine
// coordinates, with five placement buttons. The arithmetic is
// PositionDialogModel's; this class shows it and passes edits in.
#include <QDialog>

#include "core/job.h"
#include "ncout/outparams.h"

class QButtonGroup;
class QDoubleSpinBox;
class QLineEdit;

namespace korvane {

class fimagepos : public QDialog {
  Q_OBJECT
 public:
  explicit fimagepos(Job& job, QWidget* parent = nullptr);

  // Picture width and height as ImageX / ImageY hold them; read on showing.
  void setPictureSize(int32_t w, int32_t h);

  // The position command: place beside `button` and show modally. Returns
  // true when "Übernehmen" changed the job's offsets.
  bool runCommand(const QWidget* button, int32_t w, int32_t h);

  // The placement button that is down (kNone when all are up); it stays down
  // between openings. Opening or resizing a picture presses the centre.
  Placement placement() const { return model_.placement(); }
  void setPlacement(Placement p);

  // Opening or resizing a picture: press the centre button and recompute the
  // dialog's fields for the new size. The job's offsets are not touched; the
  // fields are filled from them again when the dialog is shown.
  void pressCentre(int32_t w, int32_t h);

  const PositionDialogModel& model() const { return model_; }

  void BStoreClick();
  void BRestoreClick() { reject(); }

 signals:
  // "Übernehmen": the job's offset texts changed (EXVersatz / EYVersatz).
  void offsetsChanged();
  // "Übernehmen" with a contour accepted: run the convert command, which
  // rebuilds the NC program.
  void convertRequested();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FormShow();
  void placementClicked(int id);
  void showStart();
  void showEnd();

  Job& job_;
  PositionDialogModel model_;
  int32_t w_ = 0, h_ = 0;
  bool filling_ = false;
  QDoubleSpinBox* startX_;
  QDoubleSpinBox* startY_;
  QLineEdit* endX_;
  QLineEdit* endY_;
  QButtonGroup* placements_;
};

}  // namespace korvane
