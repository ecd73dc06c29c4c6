#include "export/export.h"

#include <array>

#include "contour/percentreport.h"
#include "core/numtext.h"
#include "settings/inifile.h"

namespace korvane {

const char* const kExportProgressText = "Export ...";

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

std::vector<std::string> ExportDxf(const ExportInput& in, ProgressSink& progress) {
  const long double h = in.height;
  std::vector<std::string> out = {"0", "SECTION", "2", "ENTITIES"};
  out.reserve(static_cast<std::size_t>(in.count) * 14 + 8);
  EachSegment(in, progress, [&](const Segment& s) {
    // The layer belongs to each entity: readers drop a layer code that stands
    // between the section name and the first entity.
    for (std::string line : {std::string("0"), std::string("LINE"), std::string("8"),
                             std::string("Korvane"), std::string("10"), N(s.x1),
                             std::string("20"), N(h - s.y1), std::string("11"), N(s.x2),
                             std::string("21"), N(h - s.y2)}) {
      out.push_back(std::move(line));
    }
  });
  for (const char* l : {"0", "ENDSEC", "0", "EOF"}) out.emplace_back(l);
  return out;
}

std::vector<std::string> ExportHpgl(const ExportInput& in, ProgressSink& progress) {
  const long double h = in.height;
  std::vector<std::string> out = {"IN;", "WU0;", "SP1;", "LT;"};
  out.reserve(static_cast<std::size_t>(in.count) * 2 + 6);
  long double penX = 99999999.0L, penY = 99999999.0L;
  EachSegment(in, progress, [&](const Segment& s) {
    // Exact comparison on the unflipped values: a joined path stays pen-down.
    if (s.x1 != penX || s.y1 != penY) out.push_back("PUPA" + N(s.x1) + "," + N(h - s.y1) + ";");
    out.push_back("PDPA" + N(s.x2) + "," + N(h - s.y2) + ";");
    penX = s.x2;
    penY = s.y2;
  });
  out.emplace_back("PU;");
  out.emplace_back("SP0;");
  return out;
}

std::vector<std::string> ExportSvg(const ExportInput& in, ProgressSink& progress) {
  const std::string w = N(in.width), h = N(in.height);
  std::vector<std::string> out = {
      R"(<?xml version="1.0" encoding="UTF-8"?>)",
      R"(<svg xmlns="http://www.w3.org/2000/svg")",
      R"(xmlns:xlink="http://www.w3.org/1999/xlink")",
      R"(xmlns:ev="http://www.w3.org/2001/xml-events")",
      R"(version="1.1" baseProfile="full")",
      "width=\"" + w + "px\" height=\"" + h + "px\" viewBox=\"0 0 " + w + " " + h + "\">",
  };
  out.reserve(static_cast<std::size_t>(in.count) + 8);
  EachSegment(in, progress, [&](const Segment& s) {
    out.push_back("<line x1=\"" + N(s.x1) + "\" y1=\"" + N(s.y1) + "\" x2=\"" + N(s.x2) +
                  "\" y2=\"" + N(s.y2) + "\" stroke=\"black\" stroke-width=\"1px\"/>");
  });
  out.emplace_back("</svg>");
  return out;
}

std::string ExportFileText(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& l : lines) size += l.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& l : lines) {
    text += l;
    text += "\r\n";
  }
  return text;
}

bool SaveExportFile(const std::string& path, const std::vector<std::string>& lines) {
  return WriteFileAtomically(path, ExportFileText(lines));
}

}  // namespace korvane
