#pragma once
// The settings a first start puts into a new configuration folder: the files
// under data/config/, compiled in so that korvane-cli works without an
// installed data folder.
#include <span>
#include <string_view>

namespace korvane {

struct DefaultSettingsFile {
  std::string_view name;     // "profil1.ini" .. "profil4.ini", "main.ini"
  std::string_view content;  // the file's bytes
};

std::span<const DefaultSettingsFile> DefaultSettingsFiles();

}  // namespace korvane
