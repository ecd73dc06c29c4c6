#pragma once
// The NC program editor "NCEditor" on a text component made for large texts:
// programs of millions of lines load in one piece and only the lines on
// screen are coloured. Undo/redo and the clipboard are the component's own
// (undo(), redo(), cut(), copy(), paste()).
#include <Qsci/qsciscintilla.h>

#include "base/linestore.h"

namespace korvane {

class TNCSyn;

class NcEditor : public QsciScintilla {
  Q_OBJECT
 public:
  explicit NcEditor(QWidget* parent = nullptr);

  // Replace the whole text by these lines (UTF-8). Clears the undo history
  // and the modified mark: a freshly built program is not an edit.
  void setProgram(const LineStore& lines);
  // The editor's lines as UTF-8, for saving.
  LineStore programLines() const;
  // Remove every line (the conversion run clears the editor when it starts).
  void clearProgram() { setProgram({}); }
  int lineCount() const { return lines(); }

  // Modified mark: set by every edit (or by setModified(true)), cleared by
  // setProgram or by the caller after saving.
  bool isModified() const;
  void setModified(bool modified) override;

  // The current-line mark: one highlighted line (0-based), or none (-1).
  void setMarkedLine(int line);
  void clearMarkedLine() { setMarkedLine(-1); }
  int markedLine() const { return marked_; }
  // Scroll so that the line is on screen; a line already shown stays put,
  // any other comes to about a third of the screen from the top.
  void scrollToLine(int line);
  // Line of the caret (0-based).
  int caretLine() const;

  TNCSyn* highlighter() const { return highlighter_; }

 signals:
  void modifiedChanged(bool modified);
  void caretLineChanged(int line);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  void onModificationChanged(bool m);
  TNCSyn* highlighter_;
  bool forcedModified_ = false;  // setModified(true) without an edit
  bool lastModified_ = false;
  int marked_ = -1;
  int caretLine_ = 0;
};

}  // namespace korvane
