#include "ncout/ncnumber.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace korvane {
namespace {

TNCFormat Fmt(std::initializer_list<bool TNCFormat::*> on, int stellen, int decimals) {
  TNCFormat f;
  for (auto flag : on) f.*flag = true;
  f.Stellen = static_cast<uint8_t>(stellen);
  f.Nachkommastellen = static_cast<uint8_t>(decimals);
  return f;
}

using F = TNCFormat;

TEST(FormatNCNumber, FormatTable) {
  const long double values[] = {12.5L, 100.0L, -3.25L, 0.0L, -0.0004L};
  struct Row {
    TNCFormat format;
    std::vector<const char*> texts;
  };
  const Row rows[] = {
      {Fmt({&F::Dezipunkt}, 0, 3), {"12.5", "100", "-3.25", "0", "-0"}},
      {Fmt({&F::Dezipunkt, &F::NCpunkt}, 0, 3), {"12.5", "100.", "-3.25", "0.", "-0."}},
      {Fmt({&F::Dezipunkt, &F::NNullen}, 0, 3), {"12.500", "100.000", "-3.250", "0.000", "-0.000"}},
      {Fmt({&F::NNullen, &F::VNullen}, 6, 3), {"012500", "100000", "-003250", "000000", "-000000"}},
      {Fmt({&F::Dezipunkt, &F::NNullen, &F::VNullen, &F::Vorzeichen}, 6, 3),
       {"+012.500", "+100.000", "-003.250", "+000.000", "-000.000"}},
      {Fmt({&F::Dezipunkt, &F::VNullen}, 6, 3),
       {"00012.5", "000100", "-0003.25", "000000", "-000000"}},
      {Fmt({&F::Dezipunkt}, 0, 0), {"13", "100", "-3", "0", "-0"}},
  };
  for (size_t r = 0; r < std::size(rows); ++r) {
    for (size_t i = 0; i < std::size(values); ++i) {
      EXPECT_EQ(FormatNCNumber(rows[r].format, values[i]), rows[r].texts[i])
          << "row " << r << ", value " << static_cast<double>(values[i]);
    }
  }
}

TEST(FormatNCNumber, EdgeCases) {
  struct Case {
    TNCFormat format;
    long double value;
    const char* text;
  };
  const Case cases[] = {
      {Fmt({&F::Dezipunkt, &F::Vorzeichen}, 0, 3), 0.0L, "+0"},
      {Fmt({&F::Dezipunkt, &F::Vorzeichen}, 0, 3), -0.0L, "+0"},
      {Fmt({&F::Dezipunkt, &F::Vorzeichen}, 0, 3), -0.0004L, "-0"},
      {Fmt({&F::Dezipunkt}, 0, 0), 2.5L, "3"},
      {Fmt({&F::Dezipunkt}, 0, 0), -2.5L, "-3"},
      {Fmt({&F::Dezipunkt}, 0, 2), 0.125L, "0.13"},
      {Fmt({&F::Dezipunkt}, 0, 3), 5.0005L, "5.001"},
      {Fmt({&F::Dezipunkt, &F::NCpunkt}, 0, 0), 100.0L, "100."},
      // Implied point: the point NCpunkt adds is removed again.
      {Fmt({&F::NCpunkt, &F::NNullen}, 0, 3), 12.5L, "12500"},
      {Fmt({&F::NCpunkt, &F::NNullen}, 0, 0), 7.0L, "7"},
      // Trailing zeros stop at the point; NCpunkt off then drops the point.
      {Fmt({&F::Dezipunkt}, 0, 3), 100.0004L, "100"},
      {Fmt({&F::Dezipunkt, &F::VNullen}, 3, 3), 100.0L, "100"},
      {Fmt({&F::Dezipunkt, &F::VNullen}, 3, 3), 1.0L, "001"},
      // Neither point nor trailing zeros (hand-edited profile): zero stays "0".
      {Fmt({}, 0, 3), 0.0L, "0"},
      {Fmt({}, 0, 3), -0.0001L, "-0"},
      {Fmt({}, 0, 3), 1.25L, "125"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNCNumber(c.format, c.value), c.text) << static_cast<double>(c.value);
  }
}

TEST(NumberBlock, NumbersAndSkipsDashBlocks) {
  TNCFormat f;
  f.Satzzeichen = "N";
  f.Schritt = 10;
  int32_t counter = 10;
  struct Step {
    const char* block;
    const char* line;
    int32_t counterAfter;
  };
  const Step steps[] = {
      {"G0 Z5", "N10 G0 Z5", 20}, {"-%", "%", 20}, {"G1 X1", "N20 G1 X1", 30},
      {"", "N30 ", 40},           {"-", "", 40},
  };
  for (const auto& s : steps) {
    EXPECT_EQ(NumberBlock(s.block, counter, f, true), s.line) << s.block;
    EXPECT_EQ(counter, s.counterAfter) << s.block;
  }
}

TEST(NumberBlock, OffLeavesBlockAndCounter) {
  TNCFormat f;
  f.Satzzeichen = "N";
  f.Schritt = 10;
  int32_t counter = 7;
  EXPECT_EQ(NumberBlock("-%", counter, f, false), "-%");
  EXPECT_EQ(NumberBlock("G0 Z5", counter, f, false), "G0 Z5");
  EXPECT_EQ(counter, 7);
}

TEST(NumberBlock, NegativeAndWrappingCounters) {
  TNCFormat f;
  f.Satzzeichen = "";
  f.Schritt = 5;
  int32_t counter = -5;
  EXPECT_EQ(NumberBlock("A", counter, f, true), "-5 A");
  EXPECT_EQ(NumberBlock("B", counter, f, true), "0 B");
  counter = INT32_MAX;
  EXPECT_EQ(NumberBlock("C", counter, f, true), "2147483647 C");
  EXPECT_EQ(counter, INT32_MIN + 4);
}

}  // namespace
}  // namespace korvane
