#include "base/numkeyfilter_ui.h"

#include <QAbstractSpinBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "base/numtext.h"

namespace korvane {

void NumKeyFilter::installOn(QObject* field) { field->installEventFilter(new NumKeyFilter(field)); }

bool NumKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  // Only keys that type a character are filtered; cursor keys, Delete, Tab
  // and shortcuts (Ctrl+C, ...) keep working.
  if (key->key() == Qt::Key_Backspace || key->text().isEmpty() ||
      (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) || key->key() == Qt::Key_Tab ||
      key->key() == Qt::Key_Backtab) {
    return QObject::eventFilter(watched, event);
  }
  const char32_t typed = key->text().toUcs4().value(0);
  const std::optional<char32_t> c = CheckNumKey(typed);
  if (!c) return true;  // dropped
  if (*c == typed) return QObject::eventFilter(watched, event);
  // The key types something else (a "," typing "."): send that key instead.
  const QString text(QChar(static_cast<char16_t>(*c)));
  QKeyEvent replaced(QEvent::KeyPress, Qt::Key_Period, key->modifiers(), text);
  QObject* target = watched;
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(watched)) {
    if (QLineEdit* edit = spin->findChild<QLineEdit*>()) target = edit;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(target)) {
    edit->insert(text);
    return true;
  }
  return QCoreApplication::sendEvent(target, &replaced);
}

}  // namespace korvane
