#pragma once
// The scale dialog "Skalierung": output size in millimetres or per cent of one
// millimetre per pixel. All arithmetic is ScaleDialogModel's; this class only
// shows it and passes edits in.
#include <QDialog>
#include <string>

#include "ncout/outparams.h"
#include "core/parameters.h"

class QDoubleSpinBox;
class QLineEdit;
class QSlider;

namespace korvane {

class FScale : public QDialog {
  Q_OBJECT
 public:
  explicit FScale(Job& job, QWidget* parent = nullptr);

  // Picture width and height as the main window's ImageX / ImageY hold them;
  // read when the dialog is shown.
  void setPictureSize(int32_t w, int32_t h);

  // The whole scale command: place beside `button`, show modally, then apply
  // the consequences of a changed scale (position re-applied with the
  // placement that is down, line spacing for the surface scans). Emits the
  // signals below for what the main window must show or run.
  ScaleChangeResult runCommand(const QWidget* button, int32_t w, int32_t h, Placement placement,
                               const std::string& diameterText);

  const ScaleDialogModel& model() const { return model_; }

  void BStoreClick();
  void BRestoreClick() { reject(); }

 signals:
  // "Übernehmen": the new text of EScale.
  void scaleTextChanged(const QString& text);
  // The job's offset texts changed (EXVersatz / EYVersatz must show them).
  void offsetsChanged();
  // The line spacing was recomputed: text for the line-spacing field.
  void lineSpacingChanged(const QString& text);
  // A re-run is needed (RescanSurface or RebuildProgram).
  void rerunNeeded(korvane::ParameterRerun rerun);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FormShow();
  void AusgabeXChange(double v);
  void AusgabeYChange(double v);
  void ScaleProzChange(int position);
  void showModel();

  Job& job_;
  ScaleDialogModel model_;
  int32_t w_ = 0, h_ = 0;
  bool filling_ = false;
  QLineEdit* sImageX_;
  QLineEdit* sImageY_;
  QDoubleSpinBox* ausgabeX_;
  QDoubleSpinBox* ausgabeY_;
  QSlider* scaleProz_;
};

}  // namespace korvane
