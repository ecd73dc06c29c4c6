#include "app/ncsave.h"

#include <gtest/gtest.h>

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
