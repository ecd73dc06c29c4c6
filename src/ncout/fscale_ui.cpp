#include "ncout/fscale_ui.h"
#include "core/parameters.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "base/spinfield_ui.h"

namespace korvane {

FScale::FScale(Job& job, QWidget* parent) : QDialog(parent), job_(job) {
  setObjectName(QStringLiteral("FScale"));
  setWindowTitle(QStringLiteral("Skalierung"));
  auto* grid = new QGridLayout(this);

  sImageX_ = new QLineEdit(this);
  sImageX_->setObjectName(QStringLiteral("SImageX"));
  sImageY_ = new QLineEdit(this);
  sImageY_->setObjectName(QStringLiteral("SImageY"));
  for (QLineEdit* e : {sImageX_, sImageY_}) e->setReadOnly(true);
  ausgabeX_ = MakeSpinField(this, "AusgabeX", static_cast<double>(ScaleDialogModel::kMinOut),
                            static_cast<double>(ScaleDialogModel::kMaxOut));
  ausgabeY_ = MakeSpinField(this, "AusgabeY", static_cast<double>(ScaleDialogModel::kMinOut),
                            static_cast<double>(ScaleDialogModel::kMaxOut));
  scaleProz_ = new QSlider(Qt::Horizontal, this);
  scaleProz_->setObjectName(QStringLiteral("ScaleProz"));
  scaleProz_->setRange(ScaleDialogModel::kMinPercent, ScaleDialogModel::kMaxPercent);

  grid->addWidget(new QLabel(QStringLiteral("Bildformat"), this), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("NC-Ausgabe"), this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("Breite"), this), 1, 0);
  grid->addWidget(sImageX_, 1, 1);
  grid->addWidget(ausgabeX_, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Höhe"), this), 2, 0);
  grid->addWidget(sImageY_, 2, 1);
  grid->addWidget(ausgabeY_, 2, 2);
  grid->addWidget(new QLabel(QStringLiteral("Pixel"), this), 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("Millimeter"), this), 3, 2);
  grid->addWidget(new QLabel(QStringLiteral("Prozent"), this), 4, 0);
  grid->addWidget(scaleProz_, 4, 1, 1, 2);

  auto* restore = new QPushButton(QStringLiteral("Abbrechen"), this);
  restore->setObjectName(QStringLiteral("BRestore"));
  auto* store = new QPushButton(QStringLiteral("Übernehmen"), this);
  store->setObjectName(QStringLiteral("BStore"));
  for (QPushButton* b : {restore, store}) b->setAutoDefault(false);
  grid->addWidget(restore, 5, 1);
  grid->addWidget(store, 5, 2);

  connect(ausgabeX_, &QDoubleSpinBox::valueChanged, this, &FScale::AusgabeXChange);
  connect(ausgabeY_, &QDoubleSpinBox::valueChanged, this, &FScale::AusgabeYChange);
  connect(scaleProz_, &QSlider::valueChanged, this, &FScale::ScaleProzChange);
  connect(store, &QPushButton::clicked, this, &FScale::BStoreClick);
  connect(restore, &QPushButton::clicked, this, &FScale::BRestoreClick);
}

void FScale::setPictureSize(int32_t w, int32_t h) {
  w_ = w;
  h_ = h;
}

void FScale::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

void FScale::FormShow() {
  filling_ = true;
  sImageX_->setText(QString::number(w_));
  sImageY_->setText(QString::number(h_));
  model_.show(w_, h_, job_.scale);
  showModel();
  filling_ = false;
}

// Show the model's values; the fields' own change signals are not edits.
void FScale::showModel() {
  SetSpinQuietly(ausgabeX_, static_cast<double>(model_.outputX()));
  SetSpinQuietly(ausgabeY_, static_cast<double>(model_.outputY()));
  const QSignalBlocker block(scaleProz_);
  scaleProz_->setValue(model_.percent());
}

void FScale::AusgabeXChange(double v) {
  if (filling_) return;
  model_.setOutputX(v, ausgabeX_->hasFocus());
  SetSpinQuietly(ausgabeY_, static_cast<double>(model_.outputY()));
}

void FScale::AusgabeYChange(double v) {
  if (filling_) return;
  model_.setOutputY(v, ausgabeY_->hasFocus());
  SetSpinQuietly(ausgabeX_, static_cast<double>(model_.outputX()));
}

void FScale::ScaleProzChange(int position) {
  if (filling_) return;
  model_.setPercent(position);
  SetSpinQuietly(ausgabeX_, static_cast<double>(model_.outputX()));
}

void FScale::BStoreClick() {
  emit scaleTextChanged(QString::fromStdString(model_.apply(job_.scale)));
  accept();
}

ScaleChangeResult FScale::runCommand(const QWidget* button, int32_t w, int32_t h,
                                     Placement placement, const std::string& diameterText) {
  const long double before = job_.scale;
  const std::string xBefore = job_.xOffsetText, yBefore = job_.yOffsetText;
  setPictureSize(w, h);
  PlaceBeside(this, button);
  exec();
  const ScaleChangeResult r = AfterScaleDialog(job_, before, placement, w, h, diameterText);
  if (job_.xOffsetText != xBefore || job_.yOffsetText != yBefore) emit offsetsChanged();
  if (r.lineSpacingText) emit lineSpacingChanged(QString::fromStdString(*r.lineSpacingText));
  if (r.rerun != ParameterRerun::None) emit rerunNeeded(r.rerun);
  return r;
}

}  // namespace korvane
