#pragma once
// The resize dialog "Größe ändern": current size, new size with the aspect
// ratio linked while the user types, and "Übernehmen", which resamples the
// working image only (the accepted image keeps its size). It never previews.
#include <QDialog>
#include <functional>
#include <string>
#include <utility>

#include "base/picture.h"
#include "image/imageedit_ui.h"
#include "image/resizelink.h"

class QLineEdit;
class QSpinBox;

namespace korvane {

class TFResize : public QDialog {
  Q_OBJECT
 public:
  // The texts of the size fields ImageX and ImageY when the dialog is shown.
  using SizeTexts = std::function<std::pair<std::string, std::string>()>;

  // Without `currentSize` the working image's own size is shown.
  TFResize(Picture& working, SizeTexts currentSize = {}, const CaptionLookup& captions = {},
           QWidget* parent = nullptr);

  void applyCaptions(const CaptionLookup& captions);
  const ResizeLink& link() const { return link_; }

  // "Übernehmen": resample when both new sides are at least 10, then close.
  void ChangeSize();

 signals:
  // The working image was resized: write the size fields and reset the
  // output position as opening a picture does.
  void resized(int width, int height);
  void pictureChanged();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FormShow();
  void AusgabeXChange(int w);
  void AusgabeYChange(int h);

  Picture& working_;
  SizeTexts currentSize_;
  Picture scratch_;  // the resampled picture, swapped into the working image
  ResizeLink link_;
  QLineEdit* sImageX_;
  QLineEdit* sImageY_;
  QSpinBox* ausgabeX_;
  QSpinBox* ausgabeY_;
  bool filling_ = false;  // the dialog fills the fields: no linking
  bool linking_ = false;  // the link sets the other field: no echo
};

}  // namespace korvane
