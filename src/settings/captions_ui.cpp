#include "settings/captions_ui.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QWidget>

namespace korvane {
namespace {

void SetCaption(QWidget* root, const char* name, const QString& text) {
  const QString n = QString::fromLatin1(name);
  if (root->objectName() == n) root->setWindowTitle(text);
  for (QObject* o : root->findChildren<QObject*>(n)) {
    if (auto* b = qobject_cast<QAbstractButton*>(o)) {
      b->setText(text);
    } else if (auto* l = qobject_cast<QLabel*>(o)) {
      l->setText(text);
    } else if (auto* a = qobject_cast<QAction*>(o)) {
      // A menu item keeps a mnemonic when its text brings none.
      const bool inMenu = !a->associatedObjects().isEmpty();
      a->setText(inMenu && !text.isEmpty() && !text.contains('&') ? '&' + text : text);
    } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
      g->setTitle(text);
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
      // A tab page: the caption is its tab's text. The page sits in the
      // tab widget's stack, so look two levels up.
      for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(p)) {
          const int i = tabs->indexOf(w);
          if (i >= 0) tabs->setTabText(i, text);
          break;
        }
      }
    }
  }
}

}  // namespace

void ApplyCaptions(QWidget* root, std::span<const CaptionEntry> table, const LanguageTexts& texts) {
  for (const CaptionEntry& c : table)
    SetCaption(root, c.control, QString::fromStdString(texts.LangText(c.number)));
  root->update();
}

void ApplyGermanCaptions(QWidget* root, std::span<const CaptionEntry> table) {
  for (const CaptionEntry& c : table) SetCaption(root, c.control, QString::fromUtf8(c.german));
  root->update();
}

}  // namespace korvane
