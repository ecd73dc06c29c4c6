#pragma once
// The correction dialog "Korrektur": brightness, contrast and gamma sliders
// with a live preview. Every slider move builds one tone table from all eight
// values and applies it to the accepted image into the working image, so the
// preview never accumulates.
#include "image/imageedit_ui.h"

class QSlider;
class QSpinBox;

namespace korvane {

class TFHkg : public ImageEditDialog {
  Q_OBJECT
 public:
  TFHkg(Picture& working, Picture& accepted, const CaptionLookup& captions = {},
        QWidget* parent = nullptr);

  void applyCaptions(const CaptionLookup& captions);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FormShow();
  void sbChange();

  QSlider* sbBrightness_;
  QSlider* sbContrast_;
  QSlider* sbGamma_;
  // The five level values: fixed, never shown, no change action.
  QSpinBox* sbLow_;
  QSpinBox* sbMid_;
  QSpinBox* sbHigh_;
  QSpinBox* sbRangeLow_;
  QSpinBox* sbRangeHigh_;
};

}  // namespace korvane
