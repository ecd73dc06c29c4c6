#include "editor/nctokens.h"

#include <array>

namespace korvane {

namespace {

// One entry per character code: the kind of a token that starts with it.
constexpr std::array<NcTokenKind, 256> MakeDispatch() {
  std::array<NcTokenKind, 256> t{};
  for (int c = 0; c < 256; ++c) {
    NcTokenKind k = NcTokenKind::kOther;
    if (c == 0) {
      k = NcTokenKind::kEndOfLine;
    } else if (c == 10 || c == 13) {
      k = NcTokenKind::kLineBreak;
    } else if (c <= 32) {
      k = NcTokenKind::kSpace;
    } else if (c == '+' || c == ',' || c == '-' || c == '.' || (c >= '0' && c <= '9')) {
      k = NcTokenKind::kNumber;
    } else if (c == 'N') {
      k = NcTokenKind::kBlockNumber;
    } else if (c >= 'A' && c <= 'Z') {
      k = NcTokenKind::kAddress;
    } else if (c == 255) {
      k = NcTokenKind::kCode255;
    }
    t[static_cast<size_t>(c)] = k;
  }
  return t;
}

constexpr std::array<NcTokenKind, 256> kDispatch = MakeDispatch();

NcTokenKind KindOf(uint32_t c) { return c < 256 ? kDispatch[c] : NcTokenKind::kOther; }

// Colour values with red in the low byte.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

constexpr std::array<NcAttributeStyle, 9> kStyles = {{
    {"", kDefaultColour, false, false},              // none
    {"Comment", Rgb(128, 128, 128), true, true},     // comment
    {"Identifier", Rgb(128, 128, 128), true, true},  // identifier
    {"Label", Rgb(255, 0, 0), true, false},          // label
    {"Key", Rgb(0, 255, 0), false, false},           // key
    {"Number", Rgb(0, 0, 128), true, false},         // number
    {"Marker", Rgb(128, 128, 128), false, true},     // marker
    {"Space", kDefaultColour, false, false},         // space
    {"Symbol", Rgb(0, 255, 0), false, false},        // symbol
}};

template <typename View>
std::vector<NcToken> Tokenize(View line) {
  NcScanner s;
  s.setLine(line);
  std::vector<NcToken> out;
  for (;;) {
    out.push_back({s.tokenPos(), s.tokenLength(), s.tokenKind()});
    if (s.eol()) break;
    s.next();
  }
  return out;
}

}  // namespace

NcAttribute AttributeOf(NcTokenKind kind) {
  switch (kind) {
    case NcTokenKind::kSpace:
    case NcTokenKind::kLineBreak:
      return NcAttribute::kSpace;
    case NcTokenKind::kNumber:
      return NcAttribute::kNumber;
    case NcTokenKind::kAddress:
      return NcAttribute::kLabel;
    case NcTokenKind::kBlockNumber:
      return NcAttribute::kMarker;
    case NcTokenKind::kOther:
      return NcAttribute::kIdentifier;
    case NcTokenKind::kEndOfLine:
    case NcTokenKind::kCode255:
      break;
  }
  return NcAttribute::kNone;
}

const NcAttributeStyle& StyleOf(NcAttribute a) { return kStyles[static_cast<size_t>(a)]; }

NcAttribute DefaultAttribute(NcRole role) {
  switch (role) {
    case NcRole::kComment:
      return NcAttribute::kComment;
    case NcRole::kKeyword:
      return NcAttribute::kKey;
    case NcRole::kWhitespace:
      return NcAttribute::kSpace;
    case NcRole::kOther:
      break;
  }
  return NcAttribute::kNone;
}

bool IsIdentifierChar(char32_t c) {
  return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || c == U'_' ||
         (c >= U'a' && c <= U'z');
}

void NcScanner::setLine(std::string_view text, int32_t) {
  bytes_ = text;
  wide_ = false;
  len_ = static_cast<int32_t>(text.size());
  pos_ = 0;
  next();
}

void NcScanner::setLine(std::u16string_view text, int32_t) {
  units_ = text;
  wide_ = true;
  len_ = static_cast<int32_t>(text.size());
  pos_ = 0;
  next();
}

// Past the end the line reads as code 0, the end-of-line mark.
uint32_t NcScanner::codeAt(int32_t i) const {
  if (i >= len_) return 0;
  return wide_ ? static_cast<uint32_t>(units_[static_cast<size_t>(i)])
               : static_cast<uint32_t>(static_cast<unsigned char>(bytes_[static_cast<size_t>(i)]));
}

void NcScanner::next() {
  tokenStart_ = pos_;
  kind_ = KindOf(codeAt(pos_));
  switch (kind_) {
    case NcTokenKind::kEndOfLine:
      return;
    case NcTokenKind::kSpace:
    case NcTokenKind::kNumber: {
      const NcTokenKind k = kind_;
      ++pos_;
      while (KindOf(codeAt(pos_)) == k) ++pos_;
      return;
    }
    case NcTokenKind::kBlockNumber:
      ++pos_;
      for (uint32_t c = codeAt(pos_); c == ' ' || (c >= '0' && c <= '9'); c = codeAt(pos_)) ++pos_;
      return;
    case NcTokenKind::kLineBreak:
      if (codeAt(pos_) == 13 && codeAt(pos_ + 1) == 10) ++pos_;
      ++pos_;
      return;
    case NcTokenKind::kAddress:
    case NcTokenKind::kCode255:
    case NcTokenKind::kOther:
      ++pos_;
      return;
  }
}

std::u16string NcScanner::tokenText() const {
  std::u16string out;
  for (int32_t i = tokenStart_; i < pos_; ++i) out.push_back(static_cast<char16_t>(codeAt(i)));
  return out;
}

std::vector<NcToken> TokenizeNcLine(std::string_view line) { return Tokenize(line); }
std::vector<NcToken> TokenizeNcLine(std::u16string_view line) { return Tokenize(line); }

}  // namespace korvane
