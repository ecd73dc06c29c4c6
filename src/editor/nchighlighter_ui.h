#pragma once
// The NC editor's syntax colouring: colours each line by the token rules of
// nctokens.h. Lines are independent, so no block state is kept.
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>
#include <functional>

#include "editor/nctokens.h"

namespace korvane {

class TNCSyn : public QSyntaxHighlighter {
  Q_OBJECT
 public:
  explicit TNCSyn(QObject* parent = nullptr);
  explicit TNCSyn(QTextDocument* doc);

  // The look of an attribute; an empty format for "none" and for space
  // (the editor's own colours).
  const QTextCharFormat& format(NcAttribute a) const { return formats_[static_cast<size_t>(a)]; }
  const QTextCharFormat& CommentAttri() const { return format(NcAttribute::kComment); }
  const QTextCharFormat& IdentifierAttri() const { return format(NcAttribute::kIdentifier); }
  const QTextCharFormat& LabelAttri() const { return format(NcAttribute::kLabel); }
  const QTextCharFormat& KeyAttri() const { return format(NcAttribute::kKey); }
  const QTextCharFormat& NumberAttri() const { return format(NcAttribute::kNumber); }
  const QTextCharFormat& SatzAttri() const { return format(NcAttribute::kMarker); }
  const QTextCharFormat& SpaceAttri() const { return format(NcAttribute::kSpace); }

  static QString languageName() { return QString::fromLatin1(kNcLanguageName); }

  // Colouring on demand: while a filter is set, blocks it rejects are only
  // marked pending (block state kPending) and coloured later by
  // rehighlightPending, which an editor calls for the blocks it shows. Lines
  // are independent, so colouring a line late gives the same result.
  static constexpr int kDone = 0;
  static constexpr int kPending = 1;
  void setWanted(std::function<bool(const QTextBlock&)> wanted) { wanted_ = std::move(wanted); }
  // Colour the pending blocks from `first` up to (excluding) `last`.
  void rehighlightPending(QTextBlock first, const QTextBlock& last);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  void makeFormats();
  std::array<QTextCharFormat, 9> formats_;
  std::function<bool(const QTextBlock&)> wanted_;
  int forced_ = -1;  // block number coloured regardless of the filter
};

// The platform colour value (red in the low byte) as a QColor.
QColor ColourFromValue(uint32_t value);

}  // namespace korvane
