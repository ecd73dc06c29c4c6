#include "base/filedialogs.h"

namespace korvane {

std::string WithDefaultSuffix(const std::string& name, const std::string& suffix) {
  if (suffix.empty() || name.empty()) return name;
  const size_t slash = name.find_last_of('/');
  const size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = name.find_last_of('.');
  // A leading dot (hidden file) is not an extension.
  if (dot != std::string::npos && dot > fileStart) return name;
  return name + "." + suffix;
}

}  // namespace korvane
