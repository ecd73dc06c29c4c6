#include "settings/configdir.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "base/fileio.h"
#include "settings/defaults.h"
#include "settings/inifile.h"

namespace korvane {
namespace {

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string NonEmpty(const EnvLookup& env, const std::string& name) {
  std::optional<std::string> v = env(name);
  return v ? *v : std::string();
}

// XDG_DOCUMENTS_DIR="$HOME/Dokumente" from a user-dirs.dirs file; the value
// is either absolute or relative to $HOME.
std::string FromUserDirs(const std::string& file, const std::string& home) {
  std::string content;
  if (!ReadWholeFile(file, content)) return {};
  std::istringstream in(content);
  std::string line;
  const std::string key = "XDG_DOCUMENTS_DIR=";
  while (std::getline(in, line)) {
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
      value.pop_back();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    if (value.rfind("$HOME", 0) == 0) {
      if (home.empty()) return {};
      value = home + value.substr(5);
    }
    if (value.empty() || value.front() != '/') return {};
    return value;
  }
  return {};
}

}  // namespace

std::optional<std::string> ProcessEnv(const std::string& name) {
  const char* v = std::getenv(name.c_str());
  if (v == nullptr) return std::nullopt;
  return std::string(v);
}

std::string DocumentsDir(const EnvLookup& env) {
  std::string dir = NonEmpty(env, "XDG_DOCUMENTS_DIR");
  if (!dir.empty()) return dir;
  const std::string home = NonEmpty(env, "HOME");
  std::string configHome = NonEmpty(env, "XDG_CONFIG_HOME");
  if (configHome.empty() && !home.empty()) configHome = home + "/.config";
  if (!configHome.empty()) {
    dir = FromUserDirs(WithSlash(configHome) + "user-dirs.dirs", home);
    if (!dir.empty()) return dir;
  }
  return home.empty() ? std::string() : home + "/Documents";
}

std::string ResolveConfigDir(const std::string& cliOverride, const EnvLookup& env) {
  if (!cliOverride.empty()) return WithSlash(cliOverride);
  std::string dir = NonEmpty(env, "KORVANE_CONFIG_DIR");
  if (!dir.empty()) return WithSlash(dir);
  const std::string docs = DocumentsDir(env);
  return (docs.empty() ? std::string() : WithSlash(docs)) + "Korvane1/config/";
}

bool EnsureConfigDir(const std::string& dir, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path path(dir);
  if (fs::exists(path, ec)) {
    if (!fs::is_directory(path, ec)) {
      if (error) *error = dir + " ist kein Ordner";
      return false;
    }
  } else {
    fs::create_directories(path, ec);
    if (ec || !fs::is_directory(path, ec)) {
      if (error) *error = "Ordner " + dir + " kann nicht angelegt werden";
      return false;
    }
  }
  // A folder that lacks some files (emptied by hand, say) would otherwise give
  // empty profiles and programs; only the missing files are written.
  for (const DefaultSettingsFile& f : DefaultSettingsFiles()) {
    const std::string file = WithSlash(dir) + std::string(f.name);
    if (fs::exists(fs::path(file), ec)) continue;
    if (!WriteFileAtomically(file, f.content)) {
      if (error) *error = "In " + file + " kann nicht geschrieben werden";
      return false;
    }
  }
  return true;
}

}  // namespace korvane
