#pragma once
// The filter dialog "Filter": six 3x3 filters, grey and invert, each applied
// at once to the working image on top of the previous ones; "Rückgängig"
// returns to the accepted image and leaves the dialog open.
#include "image/imageedit_ui.h"
#include "image/imageops.h"

namespace korvane {

class TFFilter : public ImageEditDialog {
  Q_OBJECT
 public:
  TFFilter(Picture& working, Picture& accepted, const CaptionLookup& captions = {},
           QWidget* parent = nullptr);

  void applyCaptions(const CaptionLookup& captions);

  void DoFilter(const FilterKernel& kernel);
  void BGraustufenClick();
  void BInvertClick();
  void BUndoClick() { restoreWorking(); }
};

}  // namespace korvane
