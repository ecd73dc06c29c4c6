#include "settings/widgets_ui.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvane {

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const char* icon) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  if (icon) b->setIcon(QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(icon) + ".svg"));
  b->setAutoDefault(false);
  return b;
}

QPushButton* ToolButton(QWidget* parent, const char* name, const QString& hint, const char* icon) {
  QPushButton* b = Button(parent, name, QString(), icon);
  b->setToolTip(hint);
  b->setFixedSize(30, 30);
  b->setIconSize(QSize(20, 20));
  return b;
}

QLineEdit* ReadOnlyField(QWidget* parent, const char* name, const QString& text) {
  auto* e = new QLineEdit(text, parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setReadOnly(true);
  e->setAlignment(Qt::AlignRight);
  return e;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

QWidget* Panel(QWidget* parent, const char* name) {
  auto* w = new QWidget(parent);
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

}  // namespace korvane
