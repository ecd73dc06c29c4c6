// korvane-cli --export: the contour of the same conversion and post-processing
// as the NC program, in the format its extension names.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "image/decode.h"
#include "base/picture.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

struct Segment4 {
  double x1, y1, x2, y2;
  bool operator==(const Segment4&) const = default;
};

class CliExport : public ::testing::Test {
 protected:
  void SetUp() override {
    // Two black blocks, one with a slanted edge, on a 60 x 40 picture.
    Picture p;
    p.resize(60, 40, kWhite);
    for (int y = 5; y < 20; ++y)
      for (int x = 4; x < 25; ++x) p.at(x, y) = kBlack;
    for (int y = 22; y < 36; ++y)
      for (int x = 30 + (y - 22); x < 56; ++x) p.at(x, y) = kBlack;
    std::string err;
    ASSERT_TRUE(SavePictureBmp32(dir.file("pic.bmp"), p, err)) << err;
  }
  int Run(const std::string& args) {
    const std::string cmd = std::string("'") + KORVANE_CLI + "' '" + dir.file("pic.bmp") +
                            "' --config '" + dir.file("config") + "' " + args + " >'" +
                            dir.file("stdout") + "' 2>'" + dir.file("stderr") + "' </dev/null";
    const int rc = std::system(cmd.c_str());
    err = ReadBytes(dir.file("stderr"));
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  }
  // The segment count of the summary line, after post-processing.
  int SummaryCount(const std::string& word) const {
    const std::regex re("(\\d+) " + word);
    std::string last;
    for (auto it = std::sregex_iterator(err.begin(), err.end(), re); it != std::sregex_iterator();
         ++it)
      last = (*it)[1];
    return last.empty() ? -1 : std::stoi(last);
  }
  TempDir dir;
  std::string err;
};

std::vector<Segment4> SvgSegments(const std::string& text) {
  std::vector<Segment4> out;
  const std::regex line(R"re(<line x1="([^"]+)" y1="([^"]+)" x2="([^"]+)" y2="([^"]+)")re");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator();
       ++it)
    out.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                   std::stod((*it)[4])});
  return out;
}

// LINE entities back in picture coordinates (height 42, the framed picture).
std::vector<Segment4> DxfSegments(const std::string& text) {
  std::vector<Segment4> out;
  const std::regex line(
      "0\r\nLINE\r\n8\r\nKorvane\r\n10\r\n([^\r]+)\r\n20\r\n([^\r]+)\r\n11\r\n([^\r]+)\r\n21\r\n(["
      "^\r]+)\r\n");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator();
       ++it)
    out.push_back({std::stod((*it)[1]), 42 - std::stod((*it)[2]), std::stod((*it)[3]),
                   42 - std::stod((*it)[4])});
  return out;
}

TEST_F(CliExport, ExportWithoutProgramAndBesideIt) {
  ASSERT_EQ(Run("--export '" + dir.file("c.dxf") + "'"), 0) << err;
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.ngc")));
  const std::string dxf = ReadBytes(dir.file("c.dxf"));
  EXPECT_EQ(dxf.rfind("0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nLINE\r\n", 0), 0u) << dxf;
  EXPECT_TRUE(dxf.ends_with("0\r\nENDSEC\r\n0\r\nEOF\r\n"));

  ASSERT_EQ(Run("-o '" + dir.file("out.ngc") + "' --export '" + dir.file("c.SVG") + "'"), 0)
      << err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("out.ngc")));
  const std::string svg = ReadBytes(dir.file("c.SVG"));
  // The picture after an outline run carries its one-pixel white frame.
  EXPECT_NE(svg.find("width=\"62px\" height=\"42px\" viewBox=\"0 0 62 42\">\r\n"),
            std::string::npos);
  const std::vector<Segment4> segs = SvgSegments(svg);
  EXPECT_EQ(static_cast<int>(segs.size()), SummaryCount("segments,"));
  EXPECT_GT(segs.size(), 4u);
  EXPECT_EQ(DxfSegments(dxf), segs);
}

TEST_F(CliExport, ExportFollowsPostProcessing) {
  ASSERT_EQ(Run("--export '" + dir.file("plain.svg") + "'"), 0) << err;
  ASSERT_EQ(Run("--optimise --export '" + dir.file("c.svg") + "'"), 0) << err;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(err, m, std::regex("path ([0-9.]+) -> ([0-9.]+) px"))) << err;
  ASSERT_LT(std::stod(m[2]), std::stod(m[1]));  // the fixture has moves to save
  // The exported order is the optimised one: its path (lengths and the gaps
  // between records) is the total the summary reports.
  const std::vector<Segment4> segs = SvgSegments(ReadBytes(dir.file("c.svg")));
  ASSERT_FALSE(segs.empty());
  EXPECT_NE(segs, SvgSegments(ReadBytes(dir.file("plain.svg"))));
  double total = 0;
  for (std::size_t k = 0; k < segs.size(); ++k) {
    total += std::hypot(segs[k].x2 - segs[k].x1, segs[k].y2 - segs[k].y1);
    if (k + 1 < segs.size())
      total += std::hypot(segs[k + 1].x1 - segs[k].x2, segs[k + 1].y1 - segs[k].y2);
  }
  EXPECT_NEAR(total, std::stod(m[2]), 0.0005);
}

TEST_F(CliExport, UsageAndWriteErrors) {
  for (const char* bad : {"c.nc", "c", "c.dxf.txt"}) {
    EXPECT_EQ(Run("--export '" + dir.file(bad) + "'"), 2) << bad;
    EXPECT_NE(err.find("must end in .dxf, .plt or .svg"), std::string::npos) << err;
    EXPECT_NE(err.find("Usage:"), std::string::npos);
  }
  EXPECT_EQ(Run(""), 2);
  EXPECT_NE(err.find("no output file given"), std::string::npos) << err;
  EXPECT_EQ(Run("--export '" + dir.file("missing/c.svg") + "'"), 1);
  EXPECT_NE(err.find("Datei " + dir.file("missing/c.svg") + " kann nicht erstellt werden"),
            std::string::npos) << err;
}

}  // namespace
}  // namespace korvane
