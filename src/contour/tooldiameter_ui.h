#pragma once
// The tool-diameter dialog "Werkzeugdurchmesser" and its command. The
// decisions (line spacing, re-run) are those of contour/tooldiameter.h.
#include <QDialog>
#include <string>

#include "contour/tooldiameter.h"
#include "core/parameters.h"

class QDoubleSpinBox;

namespace korvane {

class TFDurchmesser : public QDialog {
  Q_OBJECT
 public:
  explicit TFDurchmesser(Job& job, QWidget* parent = nullptr);

  // The main window's EDurchmesser text; read when the dialog is shown.
  void setFieldText(const std::string& text) { fieldText_ = text; }
  // The text "Übernehmen" wrote back (unchanged after "Abbrechen").
  const std::string& fieldText() const { return fieldText_; }

  // BDurchmesserClick: place beside `button`, show modally, then decide what
  // follows. Emits diameterTextChanged and rerunNeeded as needed. For a
  // surface scan the job's line spacing is set and auto accept is on.
  ParameterRerun runCommand(const QWidget* button, const std::string& fieldText);

  void BStoreClick();
  void BRestoreClick() { reject(); }

 signals:
  // "Übernehmen": the new text of EDurchmesser.
  void diameterTextChanged(const QString& text);
  // RescanSurface: re-select the contour type and convert as a re-run
  // (auto accept is set); RebuildProgram: convert as a re-run.
  void rerunNeeded(korvane::ParameterRerun rerun);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  Job& job_;
  std::string fieldText_ = "0";
  QDoubleSpinBox* spin_;
};

}  // namespace korvane
