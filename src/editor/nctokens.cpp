#include "editor/nctokens.h"

#include <array>
#include <utility>

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

namespace korvane {

namespace {

// Length and code point of the UTF-8 character at s[i]; a byte that starts no
// valid character (overlong forms and surrogates included) is one character
// of code U+FFFD.
std::pair<size_t, uint32_t> DecodeUtf8(std::string_view s, size_t i) {
  constexpr std::pair<size_t, uint32_t> kInvalid{1, 0xFFFD};
  const auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) return {1, b};
  size_t len;
  uint32_t cp, min;
  if ((b >> 5) == 0x6) {
    len = 2, cp = b & 0x1Fu, min = 0x80;
  } else if ((b >> 4) == 0xE) {
    len = 3, cp = b & 0x0Fu, min = 0x800;
  } else if ((b >> 3) == 0x1E) {
    len = 4, cp = b & 0x07u, min = 0x10000;
  } else {
    return kInvalid;
  }
  if (i + len > s.size()) return kInvalid;
  for (size_t k = 1; k < len; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c >> 6) != 0x2) return kInvalid;
    cp = (cp << 6) | (c & 0x3Fu);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kInvalid;
  return {len, cp};
}

template <typename View, typename ByteAt>
void FillAttributes(View line, ByteAt byteAt, char base, char* out) {
  NcScanner s;
  s.setLine(line);
  for (; !s.eol(); s.next()) {
    const char v = static_cast<char>(base + static_cast<char>(s.tokenAttribute()));
    const size_t from = byteAt(s.tokenPos());
    const size_t to = byteAt(s.tokenPos() + s.tokenLength());
    for (size_t i = from; i < to; ++i) out[i] = v;
  }
}

}  // namespace

void AppendNcLineAttributes(std::string_view utf8, char base, std::string& out) {
  const size_t at = out.size();
  out.append(utf8.size(), static_cast<char>(base + static_cast<char>(NcAttribute::kNone)));
  char* dst = out.data() + at;
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    FillAttributes(utf8, [](int32_t i) { return static_cast<size_t>(i); }, base, dst);
    return;
  }
  // One UTF-16 unit per character (codes above U+FFFF only need to be "other"),
  // with the byte offset where each character starts.
  std::u16string units;
  std::vector<size_t> starts;
  for (size_t i = 0; i < utf8.size();) {
    const auto [len, cp] = DecodeUtf8(utf8, i);
    units.push_back(static_cast<char16_t>(cp > 0xFFFF ? 0xFFFD : cp));
    starts.push_back(i);
    i += len;
  }
  starts.push_back(utf8.size());
  FillAttributes(
      std::u16string_view(units), [&](int32_t i) { return starts[static_cast<size_t>(i)]; }, base,
      dst);
}

}  // namespace korvane
