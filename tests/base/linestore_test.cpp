#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/linestore.h"

namespace korvane {
namespace {

// Lines of every length from empty to a few pages, so that both buffers grow
// (and move) several times while being filled.
std::vector<std::string> VariedLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < 20000; ++i) {
    const size_t length = i % 97 == 0 ? static_cast<size_t>(i) / 2 : static_cast<size_t>(i % 13);
    lines.push_back(std::string(length, static_cast<char>('a' + i % 26)));
  }
  return lines;
}

TEST(LineStore, KeepsEveryLineAndTheFileText) {
  const std::vector<std::string> lines = VariedLines();
  const LineStore store(lines);
  std::string text;
  for (const std::string& l : lines) text += l + '\n';
  ASSERT_EQ(store.size(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(store[i], lines[i]) << "line " << i;
  EXPECT_EQ(store.text(), text);
  EXPECT_EQ(store.end() - store.begin(), static_cast<std::ptrdiff_t>(lines.size()));
  EXPECT_TRUE(std::equal(store.begin(), store.end(), lines.begin(), lines.end()));
  EXPECT_EQ(store.back(), lines.back());
}

TEST(LineStore, CopiesMovesAndRefills) {
  LineStore a{"G0 X1", "", "M30"};
  LineStore copy = a;
  LineStore moved = std::move(a);
  EXPECT_TRUE(a.empty());
  EXPECT_EQ(a.text(), "");
  EXPECT_EQ(copy, moved);
  EXPECT_EQ(moved.text(), "G0 X1\n\nM30\n");
  EXPECT_EQ(moved[1], "");

  // Line boundaries count, not only the text.
  EXPECT_FALSE((LineStore{"ab", "c"} == LineStore{"a", "bc"}));

  moved.clear();
  EXPECT_TRUE(moved.empty());
  moved.push_back("N10");
  EXPECT_EQ(moved, LineStore{"N10"});
  EXPECT_EQ(moved.text(), "N10\n");
  copy = moved;
  EXPECT_EQ(copy.size(), 1u);
  EXPECT_EQ(copy.front(), "N10");
}

}  // namespace
}  // namespace korvane
