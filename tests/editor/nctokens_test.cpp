#include "editor/nctokens.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace korvane {
namespace {

using K = NcTokenKind;

}  // namespace

void PrintTo(const NcToken& t, std::ostream* os) {
  *os << "{" << t.start << ", " << t.length << ", kind " << static_cast<int>(t.kind) << "}";
}

namespace {

struct Piece {
  std::string text;
  K kind;
};

struct LineCase {
  std::string line;
  std::vector<Piece> pieces;  // expected tokens in order, before the end-of-line token
};

// Expected tokens from their texts: they must cover the line from position 0
// without gaps, followed by an end-of-line token of length 0.
std::vector<NcToken> Expected(const LineCase& c) {
  std::vector<NcToken> out;
  int32_t pos = 0;
  for (const Piece& p : c.pieces) {
    out.push_back({pos, static_cast<int32_t>(p.text.size()), p.kind});
    pos += static_cast<int32_t>(p.text.size());
  }
  out.push_back({pos, 0, K::kEndOfLine});
  return out;
}

std::string Joined(const LineCase& c) {
  std::string s;
  for (const Piece& p : c.pieces) s += p.text;
  return s;
}

class NcTokenTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(NcTokenTable, SplitsByCharacterClass) {
  const LineCase& c = GetParam();
  ASSERT_EQ(Joined(c), c.line) << "table entry does not cover the line";
  EXPECT_EQ(TokenizeNcLine(std::string_view(c.line)), Expected(c)) << c.line;
  // The UTF-16 form a text editor hands over gives the same tokens.
  std::u16string wide;
  for (char ch : c.line) wide.push_back(static_cast<unsigned char>(ch));
  EXPECT_EQ(TokenizeNcLine(std::u16string_view(wide)), Expected(c)) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NcTokenTable,
    ::testing::Values(
        LineCase{"G01 X12.5",
                 {{"G", K::kAddress},
                  {"01", K::kNumber},
                  {" ", K::kSpace},
                  {"X", K::kAddress},
                  {"12.5", K::kNumber}}},
        LineCase{"N10 G0", {{"N10 ", K::kBlockNumber}, {"G", K::kAddress}, {"0", K::kNumber}}},
        LineCase{"x1", {{"x", K::kOther}, {"1", K::kNumber}}},
        LineCase{"N", {{"N", K::kBlockNumber}}}, LineCase{"N 10", {{"N 10", K::kBlockNumber}}},
        // A tab ends a block number: only blanks and digits belong to it.
        LineCase{"N1\t2", {{"N1", K::kBlockNumber}, {"\t", K::kSpace}, {"2", K::kNumber}}},
        LineCase{"+-.,5", {{"+-.,5", K::kNumber}}}, LineCase{"1,5", {{"1,5", K::kNumber}}},
        LineCase{"n10", {{"n", K::kOther}, {"10", K::kNumber}}},
        LineCase{"(;", {{"(", K::kOther}, {";", K::kOther}}},
        LineCase{"\t  \tX", {{"\t  \t", K::kSpace}, {"X", K::kAddress}}},
        // Letters are one token each, even in a word.
        LineCase{"MSG", {{"M", K::kAddress}, {"S", K::kAddress}, {"G", K::kAddress}}},
        LineCase{
            "Z-1.50F200",
            {{"Z", K::kAddress}, {"-1.50", K::kNumber}, {"F", K::kAddress}, {"200", K::kNumber}}},
        LineCase{"a\r\nb\rc\nd",
                 {{"a", K::kOther},
                  {"\r\n", K::kLineBreak},
                  {"b", K::kOther},
                  {"\r", K::kLineBreak},
                  {"c", K::kOther},
                  {"\n", K::kLineBreak},
                  {"d", K::kOther}}},
        LineCase{"X\x01\x1f ", {{"X", K::kAddress}, {"\x01\x1f ", K::kSpace}}},
        LineCase{"\xff"
                 "A\x7f",
                 {{"\xff", K::kCode255}, {"A", K::kAddress}, {"\x7f", K::kOther}}},
        LineCase{"", {}}));

TEST(NcTokens, StopsAtCodeZero) {
  const std::string line("X1\0Y2", 5);
  EXPECT_EQ(TokenizeNcLine(std::string_view(line)),
            (std::vector<NcToken>{{0, 1, K::kAddress}, {1, 1, K::kNumber}, {2, 0, K::kEndOfLine}}));
}

TEST(NcTokens, UnitsAboveTheByteRangeAreOther) {
  const std::u16string line = u"\u00e4\u20ac5";  // a-umlaut, euro sign, 5
  EXPECT_EQ(TokenizeNcLine(std::u16string_view(line)),
            (std::vector<NcToken>{
                {0, 1, K::kOther}, {1, 1, K::kOther}, {2, 1, K::kNumber}, {3, 0, K::kEndOfLine}}));
}

// Attributes per byte of UTF-8 lines, written as one letter per byte:
// L label, N number, M marker, I identifier, S space, - none.
TEST(NcTokens, Utf8LineAttributesCoverWholeCharacters) {
  const auto letter = [](NcAttribute a) {
    switch (a) {
      case NcAttribute::kLabel: return 'L';
      case NcAttribute::kNumber: return 'N';
      case NcAttribute::kMarker: return 'M';
      case NcAttribute::kIdentifier: return 'I';
      case NcAttribute::kSpace: return 'S';
      case NcAttribute::kNone: return '-';
      default: return '?';
    }
  };
  const struct {
    std::string line, want;
  } cases[] = {
      {"N1 X2\r\n", "MMMLNSS"},
      {"X\xc3\xa4" "5", "LIIN"},         // a-umlaut: two bytes, one "other"
      {"\xc3\xbfZ", "--L"},               // U+00FF is code 255
      {"\xe2\x82\xac" "1", "IIIN"},      // euro sign
      {"\xf0\x9f\x94\xa7" "1", "IIIIN"},  // beyond U+FFFF
      {"\xc0\x80" "1", "IIN"},            // an overlong zero is no end of line
      {"\xe2\x82" "1", "IIN"},            // cut-off character: each byte alone
      {"\xff" "A", "IL"},                  // a lone 0xFF byte is no character
      {std::string("X1\0Y2\n", 6), "LN----"},  // nothing after a code 0
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string out = "keep";
    AppendNcLineAttributes(c.line, 0, out);
    ASSERT_EQ(out.size(), 4 + c.line.size());
    EXPECT_EQ(out.substr(0, 4), "keep");
    std::string got;
    for (size_t i = 4; i < out.size(); ++i) got.push_back(letter(static_cast<NcAttribute>(out[i])));
    EXPECT_EQ(got, c.want) << c.line;
  }
  std::string offset;
  AppendNcLineAttributes("X", 10, offset);
  EXPECT_EQ(offset, std::string(1, static_cast<char>(10 + static_cast<int>(NcAttribute::kLabel))));
}

TEST(NcTokens, AttributesAndStyles) {
  struct Row {
    K kind;
    NcAttribute attr;
    const char* name;
    uint32_t r, g, b;
    bool bold, italic;
  };
  const Row rows[] = {
      {K::kAddress, NcAttribute::kLabel, "Label", 255, 0, 0, true, false},
      {K::kNumber, NcAttribute::kNumber, "Number", 0, 0, 128, true, false},
      {K::kBlockNumber, NcAttribute::kMarker, "Marker", 128, 128, 128, false, true},
      {K::kOther, NcAttribute::kIdentifier, "Identifier", 128, 128, 128, true, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(AttributeOf(r.kind), r.attr);
    const NcAttributeStyle& s = StyleOf(r.attr);
    EXPECT_STREQ(s.name, r.name);
    EXPECT_EQ(s.colour & 0xFF, r.r);  // red in the low byte
    EXPECT_EQ((s.colour >> 8) & 0xFF, r.g);
    EXPECT_EQ((s.colour >> 16) & 0xFF, r.b);
    EXPECT_EQ(s.bold, r.bold);
    EXPECT_EQ(s.italic, r.italic);
  }
  for (K k : {K::kSpace, K::kLineBreak}) EXPECT_EQ(AttributeOf(k), NcAttribute::kSpace);
  EXPECT_EQ(StyleOf(NcAttribute::kSpace).colour, kDefaultColour);
  for (K k : {K::kEndOfLine, K::kCode255}) EXPECT_EQ(AttributeOf(k), NcAttribute::kNone);

  EXPECT_EQ(DefaultAttribute(NcRole::kComment), NcAttribute::kComment);
  EXPECT_EQ(DefaultAttribute(NcRole::kKeyword), NcAttribute::kKey);
  EXPECT_EQ(DefaultAttribute(NcRole::kWhitespace), NcAttribute::kSpace);
  EXPECT_EQ(DefaultAttribute(NcRole::kOther), NcAttribute::kNone);
}

TEST(NcTokens, ScannerTokenTexts) {
  NcScanner s;
  s.setLine(std::string_view("N5 X-1\xff"));
  std::vector<std::u16string> texts;
  for (; !s.eol(); s.next()) texts.push_back(s.tokenText());
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"N5 ", u"X", u"-1", u"\u00ff"}));
  EXPECT_TRUE(s.tokenText().empty());  // the end-of-line token
}

TEST(NcTokens, ScannerKeepsTheRangeItIsGiven) {
  NcScanner s;
  EXPECT_EQ(s.range(), 0);
  s.setRange(7);
  s.setLine(std::string_view("G1 X2"));
  while (!s.eol()) s.next();
  EXPECT_EQ(s.range(), 7);
  s.resetRange();
  EXPECT_EQ(s.range(), 0);
}

TEST(NcTokens, IdentifierCharacters) {
  const std::u32string word = U"09AZaz_";
  for (char32_t c : word) EXPECT_TRUE(IsIdentifierChar(c)) << static_cast<int>(c);
  const std::u32string notWord = U" .-+(;@[`{\u00e4";
  for (char32_t c : notWord) EXPECT_FALSE(IsIdentifierChar(c)) << static_cast<int>(c);
}

}  // namespace
}  // namespace korvane
