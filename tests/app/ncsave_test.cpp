#include "app/ncsave.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace korvane {
namespace {

TEST(NcProgramFilter, ConfiguredExtensionGivesOneEntryAndDefaultSuffix) {
  const struct {
    std::string ext, describe, joined;
  } cases[] = {
      {"nc", "NC-Programm ", "NC-Programm nc|*.nc"},
      {"ngc", "", "ngc|*.ngc"},
      {"tap", "Fräsprogramm *.", "Fräsprogramm *.tap|*.tap"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ext);
    const NcSaveFilter f = NcProgramFilter(c.ext, c.describe);
    EXPECT_EQ(JoinFilter(f.filters), c.joined);
    EXPECT_EQ(f.selected, 0);
    EXPECT_EQ(f.defaultSuffix, c.ext);
  }
}

TEST(NcProgramFilter, EmptyExtensionOffersTheFourEntriesWithNcSelected) {
  const NcSaveFilter f = NcProgramFilter("", "ignored ");
  EXPECT_EQ(JoinFilter(f.filters),
            "HP-GL Fräse (*.plt)|*.plt|BMP (*.bmp)|*.bmp|DXF (*.dxf)|*.dxf|NC|*.nc");
  ASSERT_GE(f.selected, 0);
  ASSERT_LT(f.selected, static_cast<int>(f.filters.size()));
  EXPECT_EQ(f.filters[f.selected].description, "NC");
  EXPECT_EQ(f.defaultSuffix, "");
}

TEST(WithDefaultSuffix, AppendsOnlyToNamesWithoutExtension) {
  const struct {
    std::string name, suffix, expected;
  } cases[] = {
      {"/tmp/teil", "nc", "/tmp/teil.nc"},
      {"/tmp/teil.ngc", "nc", "/tmp/teil.ngc"},
      {"/tmp/teil.nc", "nc", "/tmp/teil.nc"},
      {"/tmp/v1.2/teil", "nc", "/tmp/v1.2/teil.nc"},  // a dot in a folder is no extension
      {"/tmp/.teil", "nc", "/tmp/.teil.nc"},          // nor is a leading dot
      {"/tmp/teil", "", "/tmp/teil"},
      {"", "nc", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(WithDefaultSuffix(c.name, c.suffix), c.expected) << c.name;
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

TEST(SaveProgramLines, ReplacesWholeFilesAndLeavesThemAloneOnFailure) {
  char pattern[] = "/tmp/korvane-ncsave-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  const std::string file = dir + "/prog.nc";
  auto read = [](const std::string& f) {
    std::ifstream in(f, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  ASSERT_TRUE(SaveProgramLines(file, {"%", "G0 X1", "M30"}));
  EXPECT_EQ(read(file), "%\nG0 X1\nM30\n");
  ASSERT_TRUE(SaveProgramLines(file, {"M2"}));
  EXPECT_EQ(read(file), "M2\n");
  ASSERT_TRUE(SaveProgramLines(file, {}));
  EXPECT_EQ(read(file), "");
  // A target that cannot be replaced (a folder) fails and leaves no
  // temporary file behind; neither does a folder that does not exist.
  std::filesystem::create_directory(dir + "/sub");
  EXPECT_FALSE(SaveProgramLines(dir + "/sub", {"x"}));
  EXPECT_FALSE(SaveProgramLines(dir + "/missing/prog.nc", {"x"}));
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"prog.nc", "sub"}));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korvane
