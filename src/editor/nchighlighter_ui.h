#pragma once
// The NC editor's syntax colouring: a lexer for the editor component that
// colours lines by the token rules of nctokens.h. Lines are independent, so
// any line can be coloured on its own, whenever it comes into view.
#include <Qsci/qscilexercustom.h>

#include <QColor>
#include <QFont>
#include <string>

#include "editor/nctokens.h"

namespace korvane {

class TNCSyn : public QsciLexerCustom {
  Q_OBJECT
 public:
  explicit TNCSyn(QObject* parent = nullptr);

  // Style numbers: 0 marks text that is not coloured yet (it looks like the
  // editor's default); every attribute has a style of its own after that.
  static constexpr int kUncoloured = 0;
  static int styleOf(NcAttribute a) { return static_cast<int>(a) + 1; }
  static constexpr int kStyleCount = 10;

  // The attributes by their published names.
  static const NcAttributeStyle& CommentAttri() { return StyleOf(NcAttribute::kComment); }
  static const NcAttributeStyle& IdentifierAttri() { return StyleOf(NcAttribute::kIdentifier); }
  static const NcAttributeStyle& LabelAttri() { return StyleOf(NcAttribute::kLabel); }
  static const NcAttributeStyle& KeyAttri() { return StyleOf(NcAttribute::kKey); }
  static const NcAttributeStyle& NumberAttri() { return StyleOf(NcAttribute::kNumber); }
  static const NcAttributeStyle& SatzAttri() { return StyleOf(NcAttribute::kMarker); }
  static const NcAttributeStyle& SpaceAttri() { return StyleOf(NcAttribute::kSpace); }

  static QString languageName() { return QString::fromLatin1(kNcLanguageName); }
  static QString defaultFilter() { return QString::fromLatin1(kNcDefaultFilter); }

  const char* language() const override { return kNcLanguageName; }
  QString description(int style) const override;
  QColor defaultColor(int style) const override;
  QFont defaultFont(int style) const override;
  QColor defaultPaper(int style) const override;
  const char* wordCharacters() const override;

  // Scintilla asks for a range when it is about to show it; only lines that
  // are on screen (plus the first one of the range, where an edit starts) are
  // coloured, so a jump to the end of a long program costs one screen.
  void styleText(int start, int end) override;

  // Colour whole lines [first, last] now.
  void colourLines(int first, int last);

  // How many lines were coloured since creation (for tests of the on-demand
  // colouring).
  long colouredLines() const { return coloured_; }

 private:
  QFont base_;
  std::string styles_;  // style bytes of the lines being coloured, reused
  long coloured_ = 0;
};

// The platform colour value (red in the low byte) as a QColor.
QColor ColourFromValue(uint32_t value);

}  // namespace korvane
