#include "editor/nceditor_ui.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "editor/nchighlighter_ui.h"

namespace korvane {

NcEditor::NcEditor(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("NCEditor");
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  highlighter_ = new TNCSyn(document());
  highlighter_->setWanted([this](const QTextBlock& b) {
    const int n = b.blockNumber();
    return n >= lo_ && n <= hi_;
  });
  connect(document(), &QTextDocument::modificationChanged, this, &NcEditor::modifiedChanged);
}

void NcEditor::setProgram(const std::vector<std::string>& lines) {
  size_t total = 0;
  for (const std::string& l : lines) total += l.size() + 1;
  QByteArray utf8;
  utf8.reserve(static_cast<qsizetype>(total));
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) utf8.append('\n');
    utf8.append(lines[i].data(), static_cast<qsizetype>(lines[i].size()));
  }
  updateWindow(0);  // a new text shows from its first line
  setPlainText(QString::fromUtf8(utf8));
  document()->setModified(false);
}

std::vector<std::string> NcEditor::programLines() const {
  std::vector<std::string> out;
  out.reserve(static_cast<size_t>(document()->blockCount()));
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
    out.push_back(b.text().toStdString());
  }
  // An empty editor has one empty block but no lines.
  if (out.size() == 1 && out.front().empty()) out.clear();
  return out;
}

void NcEditor::updateWindow(int firstBlock) {
  const int lineHeight = std::max(1, fontMetrics().lineSpacing());
  const int visible = viewport()->height() / lineHeight + 1;
  lo_ = firstBlock - visible;
  hi_ = firstBlock + 2 * visible;
}

void NcEditor::paintEvent(QPaintEvent* e) {
  // Colour what is about to be painted before the base class lays it out.
  QTextBlock first = firstVisibleBlock();
  updateWindow(first.blockNumber());
  QTextBlock last = first;
  const int lineHeight = std::max(1, fontMetrics().lineSpacing());
  for (int i = viewport()->height() / lineHeight + 2; i > 0 && last.isValid(); --i) {
    last = last.next();
  }
  highlighter_->rehighlightPending(first, last);
  QPlainTextEdit::paintEvent(e);
}

bool NcEditor::isModified() const { return document()->isModified(); }

void NcEditor::setModified(bool modified) { document()->setModified(modified); }

}  // namespace korvane
