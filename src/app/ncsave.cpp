#include "app/ncsave.h"

#include "base/fileio.h"
#include "settings/inifile.h"

namespace korvane {

NcSaveFilter NcProgramFilter(const std::string& ext, const std::string& describe) {
  NcSaveFilter f;
  if (ext.empty()) {
    // The entries the save dialog carries when no extension is configured.
    f.filters = {{"HP-GL Fräse (*.plt)", "*.plt"},
                 {"BMP (*.bmp)", "*.bmp"},
                 {"DXF (*.dxf)", "*.dxf"},
                 {"NC", "*.nc"}};
    f.selected = 3;
    return f;
  }
  f.filters = {{describe + ext, "*." + ext}};
  f.selected = 0;
  f.defaultSuffix = ext;
  return f;
}

std::string JoinFilter(const std::vector<FileFilter>& filters) {
  std::string out;
  for (const FileFilter& f : filters) {
    if (!out.empty()) out += '|';
    out += f.description + '|' + f.pattern;
  }
  return out;
}

bool SaveProgramLines(const std::string& path, const LineStore& lines) {
  return WriteFileAtomically(path, lines.text());
}

}  // namespace korvane
