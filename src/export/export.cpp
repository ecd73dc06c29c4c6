#include "export/export.h"

#include <array>
#include <initializer_list>
#include <string_view>

#include "base/fileio.h"
#include "base/numtext.h"
#include "base/percent.h"

namespace korvane {

namespace {

constexpr std::array<ExportFormat, 3> kFormats = {{
    {1, "DXF", "dxf", &ExportDxf},
    {2, "HPGL", "plt", &ExportHpgl},
    {3, "SVG", "svg", &ExportSvg},
}};

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string N(long double v) { return FormatGeneral(v); }

// The file text, built line by line with CR LF line ends.
class Text {
 public:
  explicit Text(std::size_t reserve) { text_.reserve(reserve); }
  Text& put(std::string_view s) {
    text_ += s;
    return *this;
  }
  Text& line(std::string_view s) {
    text_ += s;
    text_ += "\r\n";
    return *this;
  }
  Text& number(long double v) { return line(N(v)); }
  void lines(std::initializer_list<std::string_view> all) {
    for (std::string_view s : all) line(s);
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

// Runs `perSegment` over the records with the progress report after each.
template <typename F>
void EachSegment(const ExportInput& in, ProgressSink& progress, F perSegment) {
  PercentReporter percent(progress, kExportProgressText);
  for (int32_t k = 0; k < in.count; ++k) {
    perSegment(in.segments[k]);
    percent.report(k + 1, in.count);
  }
}

}  // namespace

ExportInput ExportInputOf(const SegmentList& list, int32_t width, int32_t height) {
  return ExportInput{list.data(), list.count(), width, height};
}

std::span<const ExportFormat> ExportFormats() { return kFormats; }

const ExportFormat* ExportFormatByExtension(std::string_view ext) {
  for (const ExportFormat& f : kFormats) {
    if (SameAscii(ext, f.extension)) return &f;
  }
  return nullptr;
}

const ExportFormat* ExportFormatForFile(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string_view::npos || dot <= start) return nullptr;
  return ExportFormatByExtension(fileName.substr(dot + 1));
}

std::string ExportDxf(const ExportInput& in, ProgressSink& progress) {
  const long double h = in.height;
  Text out(static_cast<std::size_t>(in.count) * 90 + 64);
  out.lines({"0", "SECTION", "2", "ENTITIES"});
  EachSegment(in, progress, [&](const Segment& s) {
    // The layer belongs to each entity: readers drop a layer code that stands
    // between the section name and the first entity.
    out.lines({"0", "LINE", "8", "Korvane", "10"});
    out.number(s.x1).line("20").number(h - s.y1).line("11").number(s.x2).line("21");
    out.number(h - s.y2);
  });
  out.lines({"0", "ENDSEC", "0", "EOF"});
  return out.take();
}

std::string ExportHpgl(const ExportInput& in, ProgressSink& progress) {
  const long double h = in.height;
  Text out(static_cast<std::size_t>(in.count) * 30 + 64);
  out.lines({"IN;", "WU0;", "SP1;", "LT;"});
  long double penX = 99999999.0L, penY = 99999999.0L;
  EachSegment(in, progress, [&](const Segment& s) {
    // Exact comparison on the unflipped values: a joined path stays pen-down.
    if (s.x1 != penX || s.y1 != penY)
      out.put("PUPA").put(N(s.x1)).put(",").put(N(h - s.y1)).line(";");
    out.put("PDPA").put(N(s.x2)).put(",").put(N(h - s.y2)).line(";");
    penX = s.x2;
    penY = s.y2;
  });
  out.lines({"PU;", "SP0;"});
  return out.take();
}

std::string ExportSvg(const ExportInput& in, ProgressSink& progress) {
  const std::string w = N(in.width), h = N(in.height);
  Text out(static_cast<std::size_t>(in.count) * 90 + 400);
  out.lines({
      R"(<?xml version="1.0" encoding="UTF-8"?>)",
      R"(<svg xmlns="http://www.w3.org/2000/svg")",
      R"(xmlns:xlink="http://www.w3.org/1999/xlink")",
      R"(xmlns:ev="http://www.w3.org/2001/xml-events")",
      R"(version="1.1" baseProfile="full")",
  });
  out.put("width=\"").put(w).put("px\" height=\"").put(h).put("px\" viewBox=\"0 0 ").put(w);
  out.put(" ").put(h).line("\">");
  EachSegment(in, progress, [&](const Segment& s) {
    out.put("<line x1=\"").put(N(s.x1)).put("\" y1=\"").put(N(s.y1)).put("\" x2=\"");
    out.put(N(s.x2)).put("\" y2=\"").put(N(s.y2));
    out.line("\" stroke=\"black\" stroke-width=\"1px\"/>");
  });
  out.line("</svg>");
  return out.take();
}

bool SaveExportFile(const std::string& path, const std::string& text) {
  return WriteFileAtomically(path, text);
}

}  // namespace korvane
