#include "base/spinfield_ui.h"

#include <QLocale>
#include <QSignalBlocker>
#include <QWidget>

namespace korvane {

namespace {

// "," is the decimal point a German user types; the C locale would read it as
// a thousands separator ("1,5" as 15). Typed or pasted, it becomes ".".
class DecimalSpinBox : public QDoubleSpinBox {
 public:
  using QDoubleSpinBox::QDoubleSpinBox;

  QValidator::State validate(QString& input, int& pos) const override {
    input.replace(QLatin1Char(','), QLatin1Char('.'));
    return QDoubleSpinBox::validate(input, pos);
  }
  double valueFromText(const QString& text) const override {
    QString t = text;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return QDoubleSpinBox::valueFromText(t);
  }
};

}  // namespace

QDoubleSpinBox* MakeSpinField(QWidget* parent, const char* objectName, double min, double max) {
  auto* spin = new DecimalSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(objectName));
  QLocale c = QLocale::c();
  c.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
  spin->setLocale(c);
  spin->setDecimals(1);
  spin->setRange(min, max);
  spin->setSingleStep(0.1);  // PageUp/PageDown step ten times that: 1
  spin->setKeyboardTracking(true);
  return spin;
}

void SetSpinQuietly(QDoubleSpinBox* spin, double value) {
  const QSignalBlocker block(spin);
  spin->setValue(value);
}

void PlaceBeside(QWidget* dialog, const QWidget* button) {
  if (!button) return;
  const QPoint topRight = button->mapToGlobal(QPoint(button->width(), 0));
  dialog->move(topRight.x() + 15, topRight.y());
}

}  // namespace korvane
