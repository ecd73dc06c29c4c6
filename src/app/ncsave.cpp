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

std::string WithDefaultSuffix(const std::string& name, const std::string& suffix) {
  if (suffix.empty() || name.empty()) return name;
  const size_t slash = name.find_last_of('/');
  const size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = name.find_last_of('.');
  // A leading dot (hidden file) is not an extension.
  if (dot != std::string::npos && dot > fileStart) return name;
  return name + "." + suffix;
}

std::string JoinFilter(const std::vector<FileFilter>& filters) {
  std::string out;
  for (const FileFilter& f : filters) {
    if (!out.empty()) out += '|';
    out += f.description + '|' + f.pattern;
  }
  return out;
}

bool SaveProgramLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  std::size_t size = 0;
  for (const std::string& l : lines) size += l.size() + 1;
  text.reserve(size);
  for (const std::string& l : lines) {
    text += l;
    text += '\n';
  }
  return WriteFileAtomically(path, text);
}

}  // namespace korvane
