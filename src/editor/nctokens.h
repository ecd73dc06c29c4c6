#pragma once
// Token rules of the NC editor's syntax colouring. They look only at character
// classes, never at the meaning of a word, so they fit whatever dialect the
// user's templates produce. No state reaches from one line into the next.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

enum class NcTokenKind : uint8_t {
  kEndOfLine,    // code 0 / end of the text; zero length
  kSpace,        // codes 1-9, 11, 12, 14-32, as a run
  kLineBreak,    // code 10, or 13 with an optional following 10
  kNumber,       // "+", ",", "-", ".", digits, as a run
  kAddress,      // one letter A-M, O-Z
  kBlockNumber,  // "N" with the blanks and digits after it
  kCode255,      // code 255: the editor's default colours
  kOther,        // any other single character (lower case, brackets, ...)
};

enum class NcAttribute : uint8_t {
  kNone,  // no colouring: end of line and code 255
  kComment,
  kIdentifier,
  kLabel,
  kKey,
  kNumber,
  kMarker,
  kSpace,
  kSymbol,
};

struct NcToken {
  int32_t start = 0;
  int32_t length = 0;
  NcTokenKind kind = NcTokenKind::kEndOfLine;
  bool operator==(const NcToken&) const = default;
};

// Look of an attribute. colour is the platform colour value (red in the low
// byte, then green, blue) or kDefaultColour for the editor's own foreground.
struct NcAttributeStyle {
  const char* name;
  uint32_t colour;
  bool bold;
  bool italic;
};
constexpr uint32_t kDefaultColour = 0xFFFFFFFFu;

NcAttribute AttributeOf(NcTokenKind kind);
const NcAttributeStyle& StyleOf(NcAttribute a);

// Roles the editor asks for a default attribute by.
enum class NcRole { kComment, kKeyword, kWhitespace, kOther };
NcAttribute DefaultAttribute(NcRole role);

// Characters of a word for the editor's word selection: 0-9, A-Z, "_", a-z.
bool IsIdentifierChar(char32_t c);

constexpr const char* kNcLanguageName = "NC";
constexpr const char* kNcDefaultFilter = "All files (*.*)|*.*";

// The scanner: one line at a time; the range value is kept for the editor but
// never changed by the scanner itself.
class NcScanner {
 public:
  // Take a line (single-byte codes, or UTF-16 units where every unit above
  // 255 counts as "other"), position 0, then scan the first token.
  void setLine(std::string_view text, int32_t lineNumber = 0);
  void setLine(std::u16string_view text, int32_t lineNumber = 0);
  void next();
  bool eol() const { return kind_ == NcTokenKind::kEndOfLine; }
  NcTokenKind tokenKind() const { return kind_; }
  int32_t tokenPos() const { return tokenStart_; }
  int32_t tokenLength() const { return pos_ - tokenStart_; }
  NcAttribute tokenAttribute() const { return AttributeOf(kind_); }
  // The token's characters (as UTF-16 units; single-byte codes map 1:1).
  std::u16string tokenText() const;
  uint8_t range() const { return range_; }
  void setRange(uint8_t r) { range_ = r; }
  void resetRange() { range_ = 0; }

 private:
  uint32_t codeAt(int32_t i) const;
  std::string_view bytes_;
  std::u16string_view units_;
  bool wide_ = false;
  int32_t len_ = 0;
  int32_t pos_ = 0;
  int32_t tokenStart_ = 0;
  NcTokenKind kind_ = NcTokenKind::kEndOfLine;
  uint8_t range_ = 0;
};

// Every token of one line up to and including the end-of-line token (an
// empty line gives only that one). Scanning stops at a code 0.
std::vector<NcToken> TokenizeNcLine(std::string_view line);
std::vector<NcToken> TokenizeNcLine(std::u16string_view line);

// The attribute of every byte of one line of UTF-8 text (its line end may be
// included), appended to `out` as the byte `base` + attribute: the form an
// editor that stores UTF-8 colours by. Characters count by their code point
// (U+00FF is code 255, a code above 255 is "other"; a byte that is no valid
// UTF-8 is "other" too), and all bytes of a character get one attribute.
// Bytes after a code 0 get no attribute, as the scanner stops there.
void AppendNcLineAttributes(std::string_view utf8, char base, std::string& out);

}  // namespace korvane
