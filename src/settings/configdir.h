#pragma once
// Where the five settings files live: "Korvane1/config/" under the user's
// documents folder, unless KORVANE_CONFIG_DIR or korvane-cli's --config names
// another folder.
#include <functional>
#include <optional>
#include <string>

namespace korvane {

// Looks up an environment variable; nothing when it is not set.
using EnvLookup = std::function<std::optional<std::string>(const std::string&)>;

// The process environment.
std::optional<std::string> ProcessEnv(const std::string& name);

// The documents folder: $XDG_DOCUMENTS_DIR, else XDG_DOCUMENTS_DIR of
// user-dirs.dirs (in $XDG_CONFIG_HOME, else ~/.config), else ~/Documents.
// Empty when not even a home folder is known.
std::string DocumentsDir(const EnvLookup& env = ProcessEnv);

// The configuration folder, with a trailing "/": `cliOverride` when not
// empty, else $KORVANE_CONFIG_DIR when set and not empty, else
// DocumentsDir() + "/Korvane1/config/" (the relative "Korvane1/config/" when
// no documents folder is known).
std::string ResolveConfigDir(const std::string& cliOverride, const EnvLookup& env = ProcessEnv);

// When `dir` does not exist yet, create it; then every one of the five
// settings files that is missing gets the shipped default. Files that exist
// are left exactly as they are.
// Returns false when the folder is missing afterwards or a default file could
// not be written; `error` then says what failed.
bool EnsureConfigDir(const std::string& dir, std::string* error = nullptr);

}  // namespace korvane
