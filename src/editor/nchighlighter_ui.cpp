#include "editor/nchighlighter_ui.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <string_view>

namespace korvane {

QColor ColourFromValue(uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

TNCSyn::TNCSyn(QObject* parent) : QSyntaxHighlighter(parent) { makeFormats(); }

TNCSyn::TNCSyn(QTextDocument* doc) : QSyntaxHighlighter(doc) { makeFormats(); }

void TNCSyn::makeFormats() {
  for (size_t i = 0; i < formats_.size(); ++i) {
    const auto a = static_cast<NcAttribute>(i);
    if (a == NcAttribute::kNone) continue;
    const NcAttributeStyle& s = StyleOf(a);
    QTextCharFormat& f = formats_[i];
    if (s.colour != kDefaultColour) f.setForeground(ColourFromValue(s.colour));
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
  }
}

void TNCSyn::rehighlightPending(QTextBlock first, const QTextBlock& last) {
  for (QTextBlock b = first; b.isValid() && b != last; b = b.next()) {
    if (b.userState() != kPending) continue;
    forced_ = b.blockNumber();
    rehighlightBlock(b);
  }
  forced_ = -1;
}

void TNCSyn::highlightBlock(const QString& text) {
  if (wanted_ && currentBlock().blockNumber() != forced_ && !wanted_(currentBlock())) {
    setCurrentBlockState(kPending);
    return;
  }
  setCurrentBlockState(kDone);
  NcScanner scanner;
  scanner.setLine(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                      static_cast<size_t>(text.size())));
  for (; !scanner.eol(); scanner.next()) {
    const NcAttribute a = scanner.tokenAttribute();
    // Space and code 255 keep the editor's colours: nothing to set.
    if (a == NcAttribute::kNone || a == NcAttribute::kSpace) continue;
    setFormat(scanner.tokenPos(), scanner.tokenLength(), formats_[static_cast<size_t>(a)]);
  }
}

}  // namespace korvane
