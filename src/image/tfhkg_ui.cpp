#include "image/tfhkg_ui.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include "image/imageops.h"

namespace korvane {

TFHkg::TFHkg(Picture& working, Picture& accepted, const CaptionLookup& captions, QWidget* parent)
    : ImageEditDialog(working, accepted, parent) {
  MakeToolWindow(*this, "TFHkg");
  const auto table = CorrectionDialogCaptions();
  auto* grid = new QGridLayout(this);
  const struct {
    const char* label;
    const char* slider;
    QSlider** out;
  } rows[] = {{"LHelligkeit", "sbBrightness", &sbBrightness_},
              {"LKontrast", "sbContrast", &sbContrast_},
              {"LGamma", "sbGamma", &sbGamma_}};
  int row = 0;
  for (const auto& r : rows) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(r.label));
    grid->addWidget(label, row, 0, 1, 3);
    auto* s = new QSlider(Qt::Horizontal, this);
    s->setObjectName(QString::fromLatin1(r.slider));
    s->setRange(-100, 100);
    s->setSingleStep(1);
    s->setPageStep(10);
    s->setValue(0);
    s->setMinimumWidth(220);
    grid->addWidget(s, row + 1, 0, 1, 2);
    // The slider's number, so that a setting can be found again.
    auto* value = new QLabel(QStringLiteral("0"), this);
    value->setObjectName(QString::fromLatin1(r.slider) + QStringLiteral("Value"));
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("-100")));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(value, row + 1, 2);
    connect(s, &QSlider::valueChanged, value, [value](int v) { value->setNum(v); });
    connect(s, &QSlider::valueChanged, this, &TFHkg::sbChange);
    *r.out = s;
    row += 2;
  }
  const struct {
    const char* name;
    int value;
    QSpinBox** out;
  } levels[] = {{"sbLow", kLevelLow, &sbLow_},
                {"sbMid", kLevelMid, &sbMid_},
                {"sbHigh", kLevelHigh, &sbHigh_},
                {"sbRangeLow", kLevelRangeLow, &sbRangeLow_},
                {"sbRangeHigh", kLevelRangeHigh, &sbRangeHigh_}};
  for (const auto& l : levels) {
    auto* s = new QSpinBox(this);
    s->setObjectName(QString::fromLatin1(l.name));
    s->setRange(0, 255);
    s->setValue(l.value);
    s->hide();
    *l.out = s;
  }
  QPushButton* restore = CaptionedButton(this, table, "BRestore");
  QPushButton* store = CaptionedButton(this, table, "BStore");
  grid->addWidget(restore, row, 0);
  grid->addWidget(store, row, 1, 1, 2);
  connect(store, &QPushButton::clicked, this, &TFHkg::BStoreClick);
  connect(restore, &QPushButton::clicked, this, &TFHkg::BRestoreClick);
  applyCaptions(captions);
}

void TFHkg::applyCaptions(const CaptionLookup& captions) {
  ApplyCaptions(*this, CorrectionDialogCaptions(), captions);
}

void TFHkg::showEvent(QShowEvent* e) {
  FormShow();
  ImageEditDialog::showEvent(e);
}

void TFHkg::FormShow() {
  // In this order; a slider that moves fires its change action, one already
  // at its position does not.
  sbBrightness_->setValue(0);
  sbContrast_->setValue(0);
  sbGamma_->setValue(0);
  sbLow_->setValue(kLevelLow);
  sbMid_->setValue(kLevelMid);
  sbHigh_->setValue(kLevelHigh);
  sbRangeLow_->setValue(kLevelRangeLow);
  sbRangeHigh_->setValue(kLevelRangeHigh);
}

void TFHkg::sbChange() {
  const ToneTable t =
      BuildLevelsTable(sbBrightness_->value(), sbContrast_->value(), sbGamma_->value(),
                       sbLow_->value(), sbMid_->value(), sbHigh_->value(), sbRangeLow_->value(),
                       sbRangeHigh_->value());
  ApplyToneTable(accepted_, t, working_);
  emit pictureChanged();
}

}  // namespace korvane
