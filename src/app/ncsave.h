#pragma once
// Saving an NC program without a window: the save dialog's filter list, which
// entry is selected, the default extension, and writing the file.
#include <string>
#include <vector>

#include "base/filedialogs.h"
#include "base/linestore.h"

namespace korvane {

struct NcSaveFilter {
  std::vector<FileFilter> filters;
  int selected = 0;           // index into filters
  std::string defaultSuffix;  // appended to a name typed without extension; may be empty
};

// Filter for saving an NC program. `ext` is the extension from the settings
// (without point), `describe` the language text that precedes it.
NcSaveFilter NcProgramFilter(const std::string& ext, const std::string& describe);

// Saves an NC program (or a move list): every line followed by a line break,
// written through a temporary file and a rename, so that an existing file is
// never left half-written. False when the file cannot be written.
// The store's text is the file as it stands: no joined copy is made.
bool SaveProgramLines(const std::string& path, const LineStore& lines);

// "desc|pattern|desc|pattern" form of a filter list, as the settings and the
// language texts spell it.
std::string JoinFilter(const std::vector<FileFilter>& filters);

}  // namespace korvane
