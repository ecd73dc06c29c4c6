#pragma once
// The NC program editor "NCEditor" on a text component made for large texts:
// programs of millions of lines load in one piece and only the lines on
// screen are coloured. Undo/redo and the clipboard are the component's own
// (undo(), redo(), cut(), copy(), paste()).
#include <Qsci/qsciscintilla.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/interaction.h"
#include "base/linestore.h"

namespace korvane {

class TNCSyn;
class ScintillaLoader;

class NcEditor : public QsciScintilla {
  Q_OBJECT
 public:
  explicit NcEditor(QWidget* parent = nullptr);

  // Replace the whole text by these lines (UTF-8): any list with size() and
  // operator[] giving text a std::string_view takes. Clears the undo history
  // and the modified mark: a freshly built program is not an edit. The text
  // goes in in pieces; with `progress`, each piece reports kEditorLoadText,
  // so a program of millions of lines keeps the window answering.
  template <class Lines>
  void setProgram(const Lines& lines, ProgressSink* progress = nullptr) {
    load(lines, progress);
  }
  void setProgram(const std::vector<std::string>& lines, ProgressSink* progress = nullptr) {
    load(lines, progress);
  }
  // A line store already is the text with its line breaks: it goes in as it
  // lies, without being joined again.
  void setProgram(const LineStore& lines, ProgressSink* progress = nullptr);
  // The editor's lines as UTF-8, for saving.
  LineStore programLines() const;
  // Remove every line (the conversion run clears the editor when it starts).
  void clearProgram() { setProgram(std::vector<std::string>()); }
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
  template <class Lines>
  void load(const Lines& lines, ProgressSink* progress) {
    size_t total = 0;
    for (size_t i = 0; i < lines.size(); ++i) total += std::string_view(lines[i]).size() + 1;
    beginLoad(total, progress);
    chunk_.reserve(kLoadChunk + 4096);
    for (size_t i = 0; i < lines.size(); ++i) addLine(std::string_view(lines[i]), i == 0);
    finishLoad();
  }
  void beginLoad(size_t totalBytes, ProgressSink* progress);
  void addLine(std::string_view line, bool first) {
    if (!first) chunk_.push_back('\n');
    chunk_.append(line);
    if (chunk_.size() >= kLoadChunk) flushLoad();
  }
  void flushLoad();
  void addText(std::string_view text);
  void finishLoad();

  // Text goes to the component in pieces of this size, so loading a program
  // needs no second copy of the whole text.
  static constexpr size_t kLoadChunk = size_t{1} << 20;
  ScintillaLoader* loader_ = nullptr;
  std::string chunk_;
  size_t loadTotal_ = 0, loaded_ = 0;
  ProgressSink* loadProgress_ = nullptr;
  TNCSyn* highlighter_;
  bool forcedModified_ = false;  // setModified(true) without an edit
  bool lastModified_ = false;
  int marked_ = -1;
  int caretLine_ = 0;
};

}  // namespace korvane
