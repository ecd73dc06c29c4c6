#include "image/tffilter_ui.h"

#include <QGridLayout>
#include <QPushButton>

namespace korvane {

TFFilter::TFFilter(Picture& working, Picture& accepted, const CaptionLookup& captions,
                   QWidget* parent)
    : ImageEditDialog(working, accepted, parent) {
  MakeToolWindow(*this, "TFFilter");
  const auto table = FilterDialogCaptions();
  auto* grid = new QGridLayout(this);
  const struct {
    const char* name;
    FilterKind kind;
  } filters[] = {{"BGrenzwert", FilterKind::Grenzwert}, {"BHipass", FilterKind::Hipass},
                 {"BEdge", FilterKind::Kanten},         {"BScharf", FilterKind::Scharf},
                 {"BPraegen", FilterKind::Praegen},     {"BWeich", FilterKind::Weich}};
  int i = 0;
  for (const auto& f : filters) {
    QPushButton* b = CaptionedButton(this, table, f.name);
    grid->addWidget(b, i / 2, i % 2);
    const FilterKind kind = f.kind;
    connect(b, &QPushButton::clicked, this, [this, kind] { DoFilter(KernelOf(kind)); });
    ++i;
  }
  QPushButton* grey = CaptionedButton(this, table, "BGraustufen");
  QPushButton* invert = CaptionedButton(this, table, "BInvert");
  grid->addWidget(grey, 3, 0);
  grid->addWidget(invert, 3, 1);
  connect(grey, &QPushButton::clicked, this, &TFFilter::BGraustufenClick);
  connect(invert, &QPushButton::clicked, this, &TFFilter::BInvertClick);

  QPushButton* restore = CaptionedButton(this, table, "BRestore");
  QPushButton* undo = CaptionedButton(this, table, "BUndo");
  QPushButton* store = CaptionedButton(this, table, "BStore");
  auto* bottom = new QGridLayout;
  bottom->addWidget(restore, 0, 0);
  bottom->addWidget(undo, 0, 1);
  bottom->addWidget(store, 0, 2);
  grid->addLayout(bottom, 4, 0, 1, 2);
  connect(restore, &QPushButton::clicked, this, &TFFilter::BRestoreClick);
  connect(undo, &QPushButton::clicked, this, &TFFilter::BUndoClick);
  connect(store, &QPushButton::clicked, this, &TFFilter::BStoreClick);
  applyCaptions(captions);
}

void TFFilter::applyCaptions(const CaptionLookup& captions) {
  ApplyCaptions(*this, FilterDialogCaptions(), captions);
}

// The convolution reads the rows as they were before the pass, so it works
// on the working image directly instead of through a scratch copy.
void TFFilter::DoFilter(const FilterKernel& kernel) {
  Convolve3x3(kernel, working_);
  emit pictureChanged();
}

void TFFilter::BGraustufenClick() {
  GreyImage(working_);
  emit pictureChanged();
}

void TFFilter::BInvertClick() {
  InvertImage(working_);
  emit pictureChanged();
}

}  // namespace korvane
