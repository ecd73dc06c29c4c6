#pragma once
// Rules of the NC-program save dialog that do not need a window: the filter
// list offered, which entry is selected, and the default extension.
#include <string>
#include <vector>

namespace korvane {

struct FileFilter {
  std::string description;  // shown text
  std::string pattern;      // "*.nc"
};

struct NcSaveFilter {
  std::vector<FileFilter> filters;
  int selected = 0;           // index into filters
  std::string defaultSuffix;  // appended to a name typed without extension; may be empty
};

// Filter for saving an NC program. `ext` is the extension from the settings
// (without point), `describe` the language text that precedes it.
NcSaveFilter NcProgramFilter(const std::string& ext, const std::string& describe);

// The name the dialog confirms: `name` plus "." + suffix when the file part of
// `name` has no extension and a suffix is set.
std::string WithDefaultSuffix(const std::string& name, const std::string& suffix);

// "desc|pattern|desc|pattern" form of a filter list, as the settings and the
// language texts spell it.
std::string JoinFilter(const std::vector<FileFilter>& filters);

}  // namespace korvane
