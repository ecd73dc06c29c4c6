#pragma once
// The export dialog: a format button generates the export text into a
// read-only preview, "Speichern" writes that text to a file.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/job.h"

class QListView;
class QPushButton;

namespace korvane {

class FileDialogs;
class ProgressSink;
class UserDialogs;

// Language text by number (the caption table's lookup).
using CaptionLookup = std::function<std::string(int)>;


class TFExport : public QDialog {
  Q_OBJECT
 public:
  TFExport(const Job& job, UserDialogs& ui, FileDialogs& files, ProgressSink& progress,
           CaptionLookup caption = {}, QWidget* parent = nullptr);

  // The main window's export command: without an accepted contour the
  // message, otherwise the dialog, modally. Returns the dialog's result.
  int run();
  // Generates the text of format 1 (DXF), 2 (HPGL) or 3 (SVG).
  void Export(int format);
  void SpeichernClick();
  void applyCaptions();

  const std::string& extension() const { return extension_; }
  const std::string& text() const { return text_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void setBusy(bool busy);

  const Job& job_;
  UserDialogs& ui_;
  FileDialogs& files_;
  ProgressSink& progress_;
  CaptionLookup caption_;
  std::string extension_;
  std::string text_;  // the file's text, CR LF line ends
  std::vector<QPushButton*> formatButtons_;
  QPushButton* abbrechen_ = nullptr;
  QPushButton* speichern_ = nullptr;
  class Lines;
  Lines* lines_ = nullptr;   // the preview's model: rows of text_
  QListView* editor_ = nullptr;
};

}  // namespace korvane
