// Contour export: the three formats line for line, and every exported file
// read back by a real reader (ezdxf, hp2xx, xmllint and rsvg-convert).
#include "export/export.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "image/decode.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

using Lines = std::vector<std::string>;

SegmentList Segs(std::initializer_list<std::array<long double, 4>> records) {
  SegmentList list;
  for (const auto& r : records) list.append(r[0], r[1], r[2], r[3]);
  return list;
}

std::string Text(const ExportFormat& f, const SegmentList& list, int w, int h) {
  NullProgress progress;
  return f.write(ExportInputOf(list, w, h), progress);
}

// The text's lines; every line must end in CR LF.
Lines Generate(const ExportFormat& f, const SegmentList& list, int w, int h) {
  const std::string text = Text(f, list, w, h);
  Lines lines;
  std::size_t pos = 0;
  for (std::size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
    lines.push_back(text.substr(pos, end - pos));
  EXPECT_EQ(pos, text.size()) << "text after the last CR LF";
  EXPECT_EQ(text.find_first_of("\r\n"), text.find("\r\n")) << "a lone line break";
  return lines;
}

const ExportFormat& Format(const char* ext) { return *ExportFormatByExtension(ext); }

struct Case {
  const char* name;
  const char* ext;
  SegmentList list;
  int width, height;
  Lines expected;
};

TEST(Export, FormatsLineForLine) {
  const Lines svgHead = {
      R"(<?xml version="1.0" encoding="UTF-8"?>)",
      R"(<svg xmlns="http://www.w3.org/2000/svg")",
      R"(xmlns:xlink="http://www.w3.org/1999/xlink")",
      R"(xmlns:ev="http://www.w3.org/2001/xml-events")",
      R"(version="1.1" baseProfile="full")",
  };
  auto svg = [&](const std::string& size, Lines body) {
    Lines l = svgHead;
    l.push_back(size);
    l.insert(l.end(), body.begin(), body.end());
    l.push_back("</svg>");
    return l;
  };
  const std::vector<Case> cases = {
      {"empty DXF", "dxf", Segs({}), 20, 10,
       {"0", "SECTION", "2", "ENTITIES", "0", "ENDSEC", "0", "EOF"}},
      {"empty HPGL", "plt", Segs({}), 20, 10, {"IN;", "WU0;", "SP1;", "LT;", "PU;", "SP0;"}},
      {"empty SVG", "svg", Segs({}), 20, 10,
       svg(R"(width="20px" height="10px" viewBox="0 0 20 10">)", {})},
      {"DXF flips y, layer in the entity", "dxf", Segs({{3, 0, 5, 2}}), 20, 10,
       {"0", "SECTION", "2", "ENTITIES", "0", "LINE", "8", "Korvane", "10", "3", "20", "10", "11",
        "5", "21", "8", "0", "ENDSEC", "0", "EOF"}},
      {"SVG keeps y", "svg", Segs({{3, 0, 5, 2}}), 20, 10,
       svg(R"(width="20px" height="10px" viewBox="0 0 20 10">)",
           {R"(<line x1="3" y1="0" x2="5" y2="2" stroke="black" stroke-width="1px"/>)"})},
      {"HPGL joined path stays pen-down", "plt", Segs({{3, 0, 5, 2}, {5, 2, 7.5, 2}}), 20, 10,
       {"IN;", "WU0;", "SP1;", "LT;", "PUPA3,10;", "PDPA5,8;", "PDPA7.5,8;", "PU;", "SP0;"}},
      {"HPGL gap of a fraction lifts the pen", "plt", Segs({{3, 0, 5, 2}, {5, 2.25, 6, 3}}), 20,
       10,
       {"IN;", "WU0;", "SP1;", "LT;", "PUPA3,10;", "PDPA5,8;", "PUPA5,7.75;", "PDPA6,7;", "PU;",
        "SP0;"}},
      {"general number format", "svg", Segs({{1.0L / 3, -2.5L, 1234567.125L, 0.1L}}), 7, 3,
       svg(R"(width="7px" height="3px" viewBox="0 0 7 3">)",
           {R"(<line x1="0.333333333333333" y1="-2.5" x2="1234567.125" y2="0.1" )"
            R"(stroke="black" stroke-width="1px"/>)"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Generate(Format(c.ext), c.list, c.width, c.height), c.expected);
  }
}

TEST(Export, FormatTable) {
  ASSERT_EQ(ExportFormats().size(), 3u);
  EXPECT_STREQ(ExportFormatForFile("/tmp/a.b/contour.DXF")->name, "DXF");
  EXPECT_STREQ(ExportFormatForFile("plot.plt")->name, "HPGL");
  EXPECT_STREQ(ExportFormatForFile("x.svg")->extension, "svg");
  for (const char* bad : {"x.nc", "dxf", "/tmp/dxf/.dxf", "x.dxf.bak", "x."}) {
    EXPECT_EQ(ExportFormatForFile(bad), nullptr) << bad;
  }
}

TEST(Export, ProgressAfterSegments) {
  struct Record : ProgressSink {
    std::vector<int> seen;
    void report(const std::string& text, int percent) override {
      EXPECT_EQ(text, "Export ...");
      seen.push_back(percent);
    }
  } rec;
  SegmentList list = Segs({{0, 0, 1, 1}, {1, 1, 2, 2}, {2, 2, 3, 3}, {3, 3, 4, 4}, {4, 4, 5, 5},
                           {5, 5, 6, 6}, {6, 6, 7, 7}, {7, 7, 8, 8}});
  ExportHpgl(ExportInputOf(list, 10, 10), rec);
  // 1/8 = 12.5 rounds to 12 and 3/8 = 37.5 to 38 (ties to even).
  EXPECT_EQ(rec.seen, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
}

// ---- Real readers -----------------------------------------------------------

bool Have(const char* program) {
  return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// Two closed squares on half-pixel lines (one pixel row or column each when
// rendered) and a stroke whose coordinates need decimals.
SegmentList ReaderContour() {
  return Segs({{5.5, 5.5, 25.5, 5.5},
               {25.5, 5.5, 25.5, 15.5},
               {25.5, 15.5, 5.5, 15.5},
               {5.5, 15.5, 5.5, 5.5},
               {30.5, 20.5, 38.5, 20.5},
               {38.5, 20.5, 38.5, 28.5},
               {38.5, 28.5, 30.5, 28.5},
               {30.5, 28.5, 30.5, 20.5},
               {2, 30, 1.0L / 3 + 40, 2.0L / 3}});
}
constexpr int kW = 45, kH = 32;

std::string Shell(const std::string& cmd, int& status) {
  TempDir out;
  status = std::system((cmd + " >'" + out.file("o") + "' 2>&1 </dev/null").c_str());
  return ReadBytes(out.file("o"));
}

TEST(ExportReaders, DxfReadByEzdxfStrict) {
  if (std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-ezdxf missing";
  TempDir dir;
  const SegmentList list = ReaderContour();
  ASSERT_TRUE(SaveExportFile(dir.file("c.dxf"), Text(Format("dxf"), list, kW, kH)));
  int status = 0;
  const std::string out = Shell(
      "/usr/bin/python3 -c \"import ezdxf,sys\n"
      "doc = ezdxf.readfile(sys.argv[1])\n"
      "for e in doc.modelspace():\n"
      "    print(e.dxftype(), e.dxf.layer, repr(e.dxf.start.x), repr(e.dxf.start.y),"
      " repr(e.dxf.end.x), repr(e.dxf.end.y))\" '" +
          dir.file("c.dxf") + "'",
      status);
  ASSERT_EQ(status, 0) << out;
  std::istringstream in(out);
  for (int32_t k = 0; k < list.count(); ++k) {
    std::string type, layer;
    double x1, y1, x2, y2;
    ASSERT_TRUE(in >> type >> layer >> x1 >> y1 >> x2 >> y2) << out;
    EXPECT_EQ(type, "LINE");
    EXPECT_EQ(layer, "Korvane");
    EXPECT_NEAR(x1, static_cast<double>(list[k].x1), 1e-12);
    EXPECT_NEAR(y1, static_cast<double>(kH - list[k].y1), 1e-12);
    EXPECT_NEAR(x2, static_cast<double>(list[k].x2), 1e-12);
    EXPECT_NEAR(y2, static_cast<double>(kH - list[k].y2), 1e-12);
  }
  std::string rest;
  EXPECT_FALSE(in >> rest) << "more entities than segments: " << out;
}

TEST(ExportReaders, HpglAcceptedByHp2xx) {
  if (!Have("hp2xx")) GTEST_SKIP() << "hp2xx missing";
  TempDir dir;
  for (const SegmentList& list : {ReaderContour(), Segs({})}) {
    const Lines lines = Generate(Format("plt"), list, kW, kH);
    ASSERT_TRUE(SaveExportFile(dir.file("c.plt"), Text(Format("plt"), list, kW, kH)));
    int status = 0;
    // Plain HPGL out: its picture modes cannot size an empty drawing.
    const std::string out =
        Shell("cd '" + dir.path() + "' && hp2xx -t -m hpgl -f c.out c.plt", status);
    // hp2xx exits 0 even on a broken file: its report tells. It counts the PU
    // or PD and the PA of a "PUPA"/"PDPA" line as two commands.
    std::size_t commands = lines.size();
    for (const std::string& l : lines) commands += l.rfind("PUPA", 0) == 0 || l.rfind("PDPA", 0) == 0;
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("HPGL commands read: " + std::to_string(commands) + "\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("HPGL command(s) ignored: 0"), std::string::npos) << out;
    EXPECT_NE(out.find("Unexpected event(s):  0"), std::string::npos) << out;
  }
}

TEST(ExportReaders, SvgWellFormedAndRendered) {
  if (!Have("xmllint") || !Have("rsvg-convert")) GTEST_SKIP() << "xmllint or rsvg-convert missing";
  TempDir dir;
  ASSERT_TRUE(SaveExportFile(dir.file("c.svg"), Text(Format("svg"), ReaderContour(), kW, kH)));
  int status = 0;
  std::string out = Shell("xmllint --noout '" + dir.file("c.svg") + "'", status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out, "");
  out = Shell("rsvg-convert -b white -o '" + dir.file("c.png") + "' '" + dir.file("c.svg") + "'",
              status);
  ASSERT_EQ(status, 0) << out;
  Picture png;
  std::string error;
  ASSERT_TRUE(LoadPictureFile(dir.file("c.png"), png, error)) << error;
  ASSERT_EQ(png.width, kW);
  ASSERT_EQ(png.height, kH);
  auto dark = [&](int x, int y) { return (png.at(x, y) & 0xFFu) < 0x40; };
  for (int x = 6; x < 25; ++x) {
    EXPECT_TRUE(dark(x, 5) && dark(x, 15)) << x;
    EXPECT_FALSE(dark(x, 10)) << x;  // inside the square
  }
  for (int y = 6; y < 15; ++y) EXPECT_TRUE(dark(5, y) && dark(25, y)) << y;
  for (int x = 31; x < 38; ++x) EXPECT_TRUE(dark(x, 20) && dark(x, 28)) << x;
  EXPECT_FALSE(dark(34, 24));
  EXPECT_FALSE(dark(1, 1));
}

}  // namespace
}  // namespace korvane
