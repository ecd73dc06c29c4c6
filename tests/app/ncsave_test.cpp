#include "app/ncsave.h"

#include <gtest/gtest.h>

#include "app/picturefile.h"

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

TEST(PictureFilters, AllFirstThenOneEntryPerExtension) {
  const std::vector<FileFilter> f = PictureFilters();
  ASSERT_FALSE(f.empty());
  const std::string expectedOrder[] = {"jpg", "jpeg", "bmp", "ico", "emf", "wmf", "png"};
  std::string all;
  for (const std::string& ext : expectedOrder) all += (all.empty() ? "*." : ";*.") + ext;
  EXPECT_EQ(f[0].pattern, all);
  EXPECT_EQ(f[0].description.rfind("Alle", 0), 0u);
  ASSERT_EQ(f.size(), std::size(expectedOrder) + 1);
  for (size_t i = 0; i < std::size(expectedOrder); ++i) {
    EXPECT_EQ(f[i + 1].pattern, "*." + expectedOrder[i]);
    const std::string tail = " (*." + expectedOrder[i] + ")";
    EXPECT_TRUE(f[i + 1].description.ends_with(tail)) << f[i + 1].description;
  }
  EXPECT_EQ(f[1].description, "JPEG-Grafikdatei (*.jpg)");
  EXPECT_EQ(f[5].description, "Erweiterte Metadateien (*.emf)");
}

}  // namespace
}  // namespace korvane
