#include "editor/nchighlighter_ui.h"

#include <Qsci/qsciscintilla.h>

#include <QFontDatabase>
#include <algorithm>

namespace korvane {

QColor ColourFromValue(uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

namespace {

using Sci = QsciScintillaBase;

// The attribute a style stands for; the uncoloured style looks like "none".
NcAttribute AttributeOfStyle(int style) {
  if (style <= TNCSyn::kUncoloured || style >= TNCSyn::kStyleCount) return NcAttribute::kNone;
  return static_cast<NcAttribute>(style - 1);
}

}  // namespace

TNCSyn::TNCSyn(QObject* parent)
    : QsciLexerCustom(parent), base_(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {}

QString TNCSyn::description(int style) const {
  if (style == kUncoloured) return QStringLiteral("Uncoloured");
  if (style >= kStyleCount || style < 0) return QString();
  const char* name = StyleOf(AttributeOfStyle(style)).name;
  return *name ? QString::fromLatin1(name) : QStringLiteral("Default");
}

QColor TNCSyn::defaultColor(int style) const {
  const uint32_t c = StyleOf(AttributeOfStyle(style)).colour;
  return c == kDefaultColour ? QColor(Qt::black) : ColourFromValue(c);
}

QFont TNCSyn::defaultFont(int style) const {
  const NcAttributeStyle& s = StyleOf(AttributeOfStyle(style));
  QFont f = base_;
  f.setBold(s.bold);
  f.setItalic(s.italic);
  return f;
}

// No attribute sets a background.
QColor TNCSyn::defaultPaper(int) const { return QColor(Qt::white); }

const char* TNCSyn::wordCharacters() const {
  return "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
}

void TNCSyn::styleText(int start, int end) {
  QsciScintilla* ed = editor();
  if (ed == nullptr || end <= start) return;
  const int first = static_cast<int>(ed->SendScintilla(Sci::SCI_LINEFROMPOSITION, start));
  const int last = static_cast<int>(ed->SendScintilla(Sci::SCI_LINEFROMPOSITION, end));
  const int top = static_cast<int>(ed->SendScintilla(
      Sci::SCI_DOCLINEFROMVISIBLE, ed->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE)));
  const int screen = static_cast<int>(ed->SendScintilla(Sci::SCI_LINESONSCREEN)) + 1;
  if (last - first <= 2 * screen) {
    colourLines(first, last);
    return;
  }
  // A range far longer than the screen starts where the text was last
  // coloured or edited: colour that line and the screen, the rest waits
  // until it is shown.
  colourLines(first, first);
  const int from = std::max(first + 1, top);
  const int to = std::min(last, top + screen);
  if (from <= to) colourLines(from, to);
}

void TNCSyn::colourLines(int first, int last) {
  QsciScintilla* ed = editor();
  if (ed == nullptr) return;
  const long lines = ed->SendScintilla(Sci::SCI_GETLINECOUNT);
  first = std::max(first, 0);
  last = static_cast<int>(std::min<long>(last, lines - 1));
  if (first > last) return;
  const long from = ed->SendScintilla(Sci::SCI_POSITIONFROMLINE, first);
  const long to = last + 1 < lines ? ed->SendScintilla(Sci::SCI_POSITIONFROMLINE, last + 1)
                                   : ed->SendScintilla(Sci::SCI_GETLENGTH);
  if (to <= from) return;
  // The buffer itself, made contiguous for the range: no copy of the text.
  const char* text = reinterpret_cast<const char*>(ed->SendScintilla(
      Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), to - from));
  const std::string_view range(text, static_cast<size_t>(to - from));
  styles_.clear();
  styles_.reserve(range.size());
  // Lines end as the editor ends them: "\n", "\r\n" or a lone "\r".
  for (size_t i = 0; i < range.size();) {
    size_t j = i;
    while (j < range.size() && range[j] != '\n' && range[j] != '\r') ++j;
    if (j < range.size()) j += (range[j] == '\r' && j + 1 < range.size() && range[j + 1] == '\n') ? 2 : 1;
    AppendNcLineAttributes(range.substr(i, j - i), static_cast<char>(styleOf(NcAttribute::kNone)),
                           styles_);
    i = j;
  }
  startStyling(static_cast<int>(from));
  ed->SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<uintptr_t>(styles_.size()), styles_.data());
  coloured_ += last - first + 1;
}

}  // namespace korvane
