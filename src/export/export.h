#pragma once
// Contour export: the live segment list written as a DXF drawing, an HPGL plot
// or an SVG picture, in pixel coordinates (no scale, offsets or profile). The
// export dialog and korvane-cli both pick their writer from one table.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/interaction.h"
#include "base/messages.h"
#include "base/segments.h"

namespace korvane {

// What a writer reads: records 0 .. count - 1 in list order and the picture
// size in pixels (the height flips y for DXF and HPGL).
struct ExportInput {
  const Segment* segments = nullptr;
  int32_t count = 0;
  int32_t width = 0;
  int32_t height = 0;
};

ExportInput ExportInputOf(const SegmentList& list, int32_t width, int32_t height);

// Writes the file's text, every line ended by carriage return and line feed,
// and reports progress after each segment. One text rather than a list of
// lines: a million segments make fourteen million DXF lines.
using ExportWriter = std::string (*)(const ExportInput&, ProgressSink&);

struct ExportFormat {
  int number;             // 1 DXF, 2 HPGL, 3 SVG
  const char* name;       // "DXF": caption of the dialog's format button
  const char* extension;  // "dxf", without point
  ExportWriter write;
};

std::span<const ExportFormat> ExportFormats();
// The format whose extension equals `ext` (ASCII case ignored); null when none.
const ExportFormat* ExportFormatByExtension(std::string_view ext);
// The format of a file name's extension; null when it has none of the table.
const ExportFormat* ExportFormatForFile(std::string_view fileName);

std::string ExportDxf(const ExportInput& in, ProgressSink& progress);
std::string ExportHpgl(const ExportInput& in, ProgressSink& progress);
std::string ExportSvg(const ExportInput& in, ProgressSink& progress);

// Writes the export text through a temporary file and a rename; false when the
// file cannot be created (an existing file is then left as it was).
bool SaveExportFile(const std::string& path, const std::string& text);

}  // namespace korvane
