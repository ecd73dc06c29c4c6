#pragma once
// The black-and-white dialog "Konvertierung Schwarz/Weiss": a threshold slider
// with a live preview in the picture view. The picture steps are the image
// layer's (BeginBlackWhite, PreviewThreshold); accept and cancel are those of
// every picture dialog.
#include "core/job.h"
#include "core/picturejob.h"
#include "image/imageedit_ui.h"

class QSlider;

namespace korvane {

class TFBW : public ImageEditDialog {
  Q_OBJECT
 public:
  explicit TFBW(Job& job, QWidget* parent = nullptr);

  QSlider* slider() const { return gaugeBar_; }

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
