#include "base/spinfield_ui.h"

#include <QLocale>
#include <QSignalBlocker>
#include <QWidget>

namespace korvane {

QDoubleSpinBox* MakeSpinField(QWidget* parent, const char* objectName, double min, double max) {
  auto* spin = new QDoubleSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(objectName));
  spin->setLocale(QLocale::c());
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
