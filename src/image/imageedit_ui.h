#pragma once
// What the picture dialogs share: a small modal tool window on the working
// and accepted images, captions from a lookup, and the accept and cancel
// steps of the correction and filter dialogs.
#include <QDialog>
#include <span>

#include <functional>
#include <string>

#include "settings/language.h"
#include "base/picture.h"

class QPushButton;

namespace korvane {

// Text number -> text, as the language file answers it.
using CaptionLookup = std::function<std::string(int)>;

// Registers the icons of the picture toolbar's preparation buttons under
// ":/icons/": BHkg hkg.svg, BEFilter filter.svg, BRot90 rot90.svg, BFlipV
// flipv.svg, BFlipH fliph.svg, BResize resize.svg. Safe to call more than once.
void InitImageIcons();

// A tool window with a caption and no title-bar buttons.
void MakeToolWindow(QDialog& dlg, const char* objectName);

// Sets the window caption and the captions of the named buttons and labels
// to lookup(number), also when that is empty; a null lookup keeps the
// German captions.
void ApplyCaptions(QDialog& dlg, std::span<const CaptionEntry> table, const CaptionLookup& lookup);

// A button with its German caption from `table`.
QPushButton* CaptionedButton(QWidget* parent, std::span<const CaptionEntry> table,
                             const char* objectName);

class ImageEditDialog : public QDialog {
  Q_OBJECT
 public:
  ImageEditDialog(Picture& working, Picture& accepted, QWidget* parent);

  // "Übernehmen": accepted image := working image, then the black-and-white
  // test decides the warning button; the dialog closes.
  void BStoreClick();
  // "Abbrechen": working image := accepted image; the dialog closes.
  void BRestoreClick() { reject(); }

 signals:
  // The working image changed: repaint the picture view.
  void pictureChanged();
  // "Übernehmen": show (true) or hide (false) the warning button BBWWarning.
  void bwWarningChanged(bool visible);

 public slots:
  // Closing the window any other way is "Abbrechen".
  void reject() override;

 protected:
  // Working image := accepted image, and repaint.
  void restoreWorking();

  Picture& working_;
  Picture& accepted_;
};

}  // namespace korvane
