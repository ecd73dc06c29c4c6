#pragma once
// The black-and-white dialog "Konvertierung Schwarz/Weiss": a threshold slider
// with a live preview in the picture view. The picture steps are the image
// layer's (BeginBlackWhite, PreviewThreshold, AcceptImageEdit, CancelImageEdit).
#include <QDialog>

#include "core/job.h"
#include "core/picturejob.h"

class QSlider;

namespace korvane {

class TFBW : public QDialog {
  Q_OBJECT
 public:
  explicit TFBW(Job& job, QWidget* parent = nullptr);

  QSlider* slider() const { return gaugeBar_; }

  void BStoreClick();
  void BRestoreClick();

 signals:
  // The working image changed: repaint the picture view.
  void pictureChanged();
  // "Übernehmen": show (true) or hide (false) the warning button BBWWarning.
  void bwWarningChanged(bool visible);

 public slots:
  // Closing the window any other way is "Abbrechen": the preview is dropped.
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FormShow();
  void GaugeBar1Change(int t);

  Job& job_;
  QSlider* gaugeBar_;
  bool filling_ = false;
};

}  // namespace korvane
