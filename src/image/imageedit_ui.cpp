#include "image/imageedit_ui.h"

#include <QLabel>
#include <QPushButton>

#include "image/blackwhite.h"

// The resource lives in a static library: it is registered by hand.
static void InitImageIconResource() { Q_INIT_RESOURCE(image_icons); }

namespace korvane {

void InitImageIcons() { InitImageIconResource(); }

void MakeToolWindow(QDialog& dlg, const char* objectName) {
  dlg.setObjectName(QString::fromLatin1(objectName));
  // Left with "Übernehmen" or "Abbrechen" (Escape counts as "Abbrechen").
  dlg.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void ApplyCaptions(QDialog& dlg, std::span<const CaptionEntry> table, const CaptionLookup& lookup) {
  for (const CaptionEntry& e : table) {
    const QString text =
        lookup ? QString::fromStdString(lookup(e.number)) : QString::fromUtf8(e.german);
    const QString name = QString::fromLatin1(e.control);
    if (name == dlg.objectName()) {
      dlg.setWindowTitle(text);
    } else if (auto* b = dlg.findChild<QAbstractButton*>(name)) {
      b->setText(text);
    } else if (auto* l = dlg.findChild<QLabel*>(name)) {
      l->setText(text);
    }
  }
}

QPushButton* CaptionedButton(QWidget* parent, std::span<const CaptionEntry> table,
                             const char* objectName) {
  QString german;
  for (const CaptionEntry& e : table)
    if (QLatin1String(e.control) == QLatin1String(objectName)) german = QString::fromUtf8(e.german);
  auto* b = new QPushButton(german, parent);
  b->setObjectName(QString::fromLatin1(objectName));
  b->setAutoDefault(false);
  return b;
}

ImageEditDialog::ImageEditDialog(Picture& working, Picture& accepted, QWidget* parent)
    : QDialog(parent), working_(working), accepted_(accepted) {}

void ImageEditDialog::BStoreClick() {
  accepted_ = working_;
  emit bwWarningChanged(!IsBlackWhite(working_));
  accept();
}

void ImageEditDialog::restoreWorking() {
  working_ = accepted_;
  emit pictureChanged();
}

void ImageEditDialog::reject() {
  restoreWorking();
  QDialog::reject();
}

}  // namespace korvane
