#pragma once
// The NC program editor "NCEditor": plain text with the NC syntax colouring,
// undo/redo and clipboard from QPlainTextEdit. A built program arrives in one
// piece, so even programs of hundreds of thousands of lines appear at once.
#include <QPlainTextEdit>
#include <string>
#include <vector>

namespace korvane {

class TNCSyn;

class NcEditor : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit NcEditor(QWidget* parent = nullptr);

  // Replace the whole text by these lines (UTF-8). Clears the undo history
  // and the modified mark: a freshly built program is not an edit.
  void setProgram(const std::vector<std::string>& lines);
  // The editor's lines as UTF-8, for saving.
  std::vector<std::string> programLines() const;
  // Remove every line (the conversion run clears the editor when it starts).
  void clearProgram() { setProgram({}); }

  // Modified mark: set by every edit, cleared by setProgram or by the caller
  // after saving.
  bool isModified() const;
  void setModified(bool modified);

  TNCSyn* highlighter() const { return highlighter_; }

 signals:
  void modifiedChanged(bool modified);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  // Blocks near the visible part of the text are coloured at once, the rest
  // when they are scrolled into view.
  void updateWindow(int firstBlock);
  int lo_ = 0, hi_ = 0;  // block numbers coloured at once
  TNCSyn* highlighter_;
};

}  // namespace korvane
