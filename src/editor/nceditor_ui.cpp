#include "editor/nceditor_ui.h"

#include <QColor>
#include <algorithm>
#include <cstddef>

#include "base/messages.h"
#include "base/percent.h"
#include "editor/nchighlighter_ui.h"

namespace korvane {

// The component's document loader (SCI_CREATELOADER); its header is not
// installed, so the interface is declared here as the component defines it.
// Outside the anonymous namespace: with internal linkage the compiler may
// conclude that nothing implements it and turn the calls into traps.
class ScintillaLoader {
 public:
  virtual int Release() = 0;
  virtual int AddData(const char* data, std::ptrdiff_t length) = 0;
  virtual void* ConvertToDocument() = 0;

 protected:
  ~ScintillaLoader() = default;
};

namespace {

using Sci = QsciScintillaBase;
constexpr int kMarkedLineMarker = 0;
const QColor kMarkedLineColour(255, 236, 150);

}  // namespace

NcEditor::NcEditor(QWidget* parent) : QsciScintilla(parent) {
  setObjectName("NCEditor");
  setUtf8(true);
  setEolMode(EolUnix);
  setWrapMode(WrapNone);
  for (int m = 0; m < 5; ++m) setMarginWidth(m, 0);
  // The horizontal scroll range follows the longest line shown.
  SendScintilla(SCI_SETSCROLLWIDTH, 1);
  SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
  highlighter_ = new TNCSyn(this);
  setLexer(highlighter_);
  markerDefine(Background, kMarkedLineMarker);
  setMarkerBackgroundColor(kMarkedLineColour, kMarkedLineMarker);
  connect(this, &QsciScintilla::modificationChanged, this, &NcEditor::onModificationChanged);
  connect(this, &QsciScintilla::cursorPositionChanged, this, [this](int line, int) {
    if (line == caretLine_) return;
    caretLine_ = line;
    emit caretLineChanged(line);
  });
}

void NcEditor::beginLoad(size_t totalBytes, ProgressSink* progress) {
  // The program goes into a fresh document through the component's loader,
  // which takes the text without change notifications or undo records (both
  // cost time per insertion that grows with the text before it, and undo
  // would keep a copy of the whole program), then replaces the shown one.
  if (loader_) loader_->Release();  // a load interrupted by an exception
  loader_ = reinterpret_cast<ScintillaLoader*>(
      SendScintilla(SCI_CREATELOADER, static_cast<unsigned long>(totalBytes + 1), 0L));
  chunk_.clear();
  loadTotal_ = totalBytes;
  loaded_ = 0;
  loadProgress_ = progress;
  if (loadProgress_ && totalBytes > 0) loadProgress_->report(kEditorLoadText, 0);
}

void NcEditor::flushLoad() {
  if (chunk_.empty()) return;
  addText(chunk_);
  chunk_.clear();
}

void NcEditor::setProgram(const LineStore& lines, ProgressSink* progress) {
  std::string_view text = lines.text();
  if (!text.empty()) text.remove_suffix(1);  // the last line has no break in the editor
  beginLoad(text.size(), progress);
  while (!text.empty()) {
    const size_t n = std::min(text.size(), kLoadChunk);
    addText(text.substr(0, n));
    text.remove_prefix(n);
  }
  finishLoad();
}

void NcEditor::addText(std::string_view text) {
  loader_->AddData(text.data(), static_cast<std::ptrdiff_t>(text.size()));
  loaded_ += text.size();
  if (loadProgress_) loadProgress_->report(kEditorLoadText, CountPercent(
      static_cast<int64_t>(std::min(loaded_, loadTotal_)), static_cast<int64_t>(loadTotal_)));
}

void NcEditor::finishLoad() {
  flushLoad();
  std::string().swap(chunk_);
  void* doc = loader_->ConvertToDocument();
  loader_ = nullptr;
  loadProgress_ = nullptr;
  SendScintilla(SCI_SETDOCPOINTER, 0, doc);
  SendScintilla(SCI_RELEASEDOCUMENT, 0, doc);  // the view holds it now
  // Code page, line ends and the kind of lexing belong to the document.
  SendScintilla(SCI_SETCODEPAGE, SC_CP_UTF8);
  SendScintilla(SCI_SETLEXER, SCLEX_CONTAINER);
  SendScintilla(SCI_SETEOLMODE, SC_EOL_LF);
  // Edits from here on are undoable and set the modified mark.
  SendScintilla(SCI_SETUNDOCOLLECTION, 1);
  SendScintilla(SCI_EMPTYUNDOBUFFER);
  SendScintilla(SCI_SETSAVEPOINT);
  forcedModified_ = false;
  onModificationChanged(false);
  marked_ = -1;  // markers went with the old document
  caretLine_ = 0;
}

LineStore NcEditor::programLines() const {
  const auto n = static_cast<size_t>(SendScintilla(SCI_GETLENGTH));
  const char* text = reinterpret_cast<const char*>(SendScintilla(SCI_GETCHARACTERPOINTER));
  LineStore out;
  if (n == 0) return out;  // an empty editor has one empty line but no program
  out.reserve(static_cast<size_t>(lines()), n + 1);
  // Lines end as the component ends them: "\n", "\r\n" or a lone "\r".
  size_t i = 0;
  for (;;) {
    size_t j = i;
    while (j < n && text[j] != '\n' && text[j] != '\r') ++j;
    out.push_back(std::string_view(text + i, j - i));
    if (j == n) break;
    i = j + ((text[j] == '\r' && j + 1 < n && text[j + 1] == '\n') ? 2 : 1);
  }
  return out;
}

bool NcEditor::isModified() const { return forcedModified_ || QsciScintilla::isModified(); }

void NcEditor::setModified(bool modified) {
  forcedModified_ = modified;
  if (!modified) QsciScintilla::setModified(false);
  onModificationChanged(QsciScintilla::isModified());
}

void NcEditor::onModificationChanged(bool m) {
  const bool now = m || forcedModified_;
  if (now == lastModified_) return;
  lastModified_ = now;
  emit modifiedChanged(now);
}

void NcEditor::setMarkedLine(int line) {
  if (line >= lines()) line = -1;
  if (line == marked_) return;
  if (marked_ >= 0) markerDelete(marked_, kMarkedLineMarker);
  marked_ = std::max(line, -1);
  if (marked_ >= 0) markerAdd(marked_, kMarkedLineMarker);
}

void NcEditor::scrollToLine(int line) {
  line = std::clamp(line, 0, std::max(0, lines() - 1));
  const int top = firstVisibleLine();
  const int screen = std::max(1, static_cast<int>(SendScintilla(SCI_LINESONSCREEN)));
  if (line >= top && line < top + screen) return;
  setFirstVisibleLine(std::max(0, line - screen / 3));
}

int NcEditor::caretLine() const {
  int line = 0, index = 0;
  getCursorPosition(&line, &index);
  return line;
}

void NcEditor::paintEvent(QPaintEvent* e) {
  // Lines shown for the first time since they were loaded or pasted are
  // still uncoloured (text the component inserts has style 0); colour them
  // before they are drawn. Lines before the last coloured position are not
  // asked for by the component itself.
  const int top = firstVisibleLine();
  const int last = std::min(lines() - 1, top + static_cast<int>(SendScintilla(SCI_LINESONSCREEN)));
  int runStart = -1;
  for (int l = top; l <= last + 1; ++l) {
    bool uncoloured = false;
    if (l <= last) {
      const long pos = SendScintilla(SCI_POSITIONFROMLINE, l);
      uncoloured = SendScintilla(SCI_POSITIONFROMLINE, l + 1) > pos &&
                   SendScintilla(SCI_GETSTYLEAT, pos) == TNCSyn::kUncoloured;
    }
    if (uncoloured && runStart < 0) runStart = l;
    if (!uncoloured && runStart >= 0) {
      highlighter_->colourLines(runStart, l - 1);
      runStart = -1;
    }
  }
  QsciScintilla::paintEvent(e);
}

}  // namespace korvane
