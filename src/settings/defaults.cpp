#include "settings/defaults.h"

#include <array>

namespace korvane {
namespace {

// Generated at configure time from data/config/.
constexpr std::array<DefaultSettingsFile, 5> kFiles = {{
#include "settings/default_files.inc"
}};

}  // namespace

std::span<const DefaultSettingsFile> DefaultSettingsFiles() { return kFiles; }

}  // namespace korvane
