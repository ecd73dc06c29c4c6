#include "image/tfresize_ui.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <exception>

#include "image/imageedit_ui.h"
#include "image/imageops.h"

namespace korvane {

TFResize::TFResize(Picture& working, SizeTexts currentSize, const CaptionLookup& captions,
                   QWidget* parent)
    : QDialog(parent), working_(working), currentSize_(std::move(currentSize)) {
  MakeToolWindow(*this, "TFResize");
  const auto table = ResizeDialogCaptions();
  auto* grid = new QGridLayout(this);
  auto* current = new QLabel(this);
  current->setObjectName(QStringLiteral("LAktuell"));
  auto* next = new QLabel(this);
  next->setObjectName(QStringLiteral("LNeu"));
  grid->addWidget(current, 0, 1);
  grid->addWidget(next, 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("X"), this), 1, 0);
  grid->addWidget(new QLabel(QStringLiteral("Y"), this), 2, 0);
  sImageX_ = new QLineEdit(this);
  sImageY_ = new QLineEdit(this);
  ausgabeX_ = new QSpinBox(this);
  ausgabeY_ = new QSpinBox(this);
  const struct {
    QLineEdit* field;
    const char* name;
  } shown[] = {{sImageX_, "SImageX"}, {sImageY_, "SImageY"}};
  for (const auto& s : shown) {
    s.field->setObjectName(QString::fromLatin1(s.name));
    s.field->setReadOnly(true);
  }
  const struct {
    QSpinBox* field;
    const char* name;
  } spins[] = {{ausgabeX_, "AusgabeX"}, {ausgabeY_, "AusgabeY"}};
  for (const auto& s : spins) {
    s.field->setObjectName(QString::fromLatin1(s.name));
    s.field->setRange(kResizeFieldMin, kResizeFieldMax);
    s.field->setSingleStep(1);
  }
  grid->addWidget(sImageX_, 1, 1);
  grid->addWidget(sImageY_, 2, 1);
  grid->addWidget(ausgabeX_, 1, 2);
  grid->addWidget(ausgabeY_, 2, 2);
  QPushButton* restore = CaptionedButton(this, table, "BRestore");
  QPushButton* store = CaptionedButton(this, table, "BStore");
  grid->addWidget(restore, 3, 1);
  grid->addWidget(store, 3, 2);
  connect(ausgabeX_, &QSpinBox::valueChanged, this, &TFResize::AusgabeXChange);
  connect(ausgabeY_, &QSpinBox::valueChanged, this, &TFResize::AusgabeYChange);
  connect(store, &QPushButton::clicked, this, &TFResize::ChangeSize);
  // "Abbrechen" changes nothing: the dialog never previews.
  connect(restore, &QPushButton::clicked, this, &TFResize::reject);
  setMinimumWidth(290);
  applyCaptions(captions);
}

void TFResize::applyCaptions(const CaptionLookup& captions) {
  ApplyCaptions(*this, ResizeDialogCaptions(), captions);
}

void TFResize::showEvent(QShowEvent* e) {
  FormShow();
  QDialog::showEvent(e);
}

void TFResize::FormShow() {
  filling_ = true;
  const auto texts = currentSize_ ? currentSize_()
                                  : std::pair{std::to_string(working_.width),
                                              std::to_string(working_.height)};
  sImageX_->setText(QString::fromStdString(texts.first));
  sImageY_->setText(QString::fromStdString(texts.second));
  // Text that is no number reads as 0, which the field raises to its minimum.
  ausgabeX_->setValue(sImageX_->text().toInt());
  ausgabeY_->setValue(sImageY_->text().toInt());
  link_.begin(ausgabeX_->value(), ausgabeY_->value());
  filling_ = false;
}

// Only the field the user edits drives the other one; the change the link
// makes to the other field is not echoed back.
void TFResize::AusgabeXChange(int w) {
  if (filling_) return;
  link_.widthChanged(w, !linking_);
  if (linking_) return;
  linking_ = true;
  ausgabeY_->setValue(link_.newHeight());
  linking_ = false;
}

void TFResize::AusgabeYChange(int h) {
  if (filling_) return;
  link_.heightChanged(h, !linking_);
  if (linking_) return;
  linking_ = true;
  ausgabeX_->setValue(link_.newWidth());
  linking_ = false;
}

void TFResize::ChangeSize() {
  const int w = ausgabeX_->value();
  const int h = ausgabeY_->value();
  // Failures are dropped without a message; the dialog closes in every case.
  try {
    if (w >= kMinResizeSide && h >= kMinResizeSide && ResizeNearest(working_, w, h, scratch_)) {
      std::swap(working_, scratch_);
      emit pictureChanged();
      emit resized(w, h);
    }
  } catch (const std::exception&) {
  }
  accept();
}

}  // namespace korvane
