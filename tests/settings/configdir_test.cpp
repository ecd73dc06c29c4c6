#include "settings/configdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "settings/defaults.h"
#include "settings/inifile.h"
#include "support/tempdir.h"

namespace korvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string DefaultContent(std::string_view name) {
  for (const DefaultSettingsFile& f : DefaultSettingsFiles())
    if (f.name == name) return std::string(f.content);
  return "no such default file";
}

EnvLookup FakeEnv(std::map<std::string, std::string> vars) {
  return [vars](const std::string& name) -> std::optional<std::string> {
    auto it = vars.find(name);
    if (it == vars.end()) return std::nullopt;
    return it->second;
  };
}

TEST(ConfigDir, ResolutionOrder) {
  TempDir home;
  std::filesystem::create_directories(home.file(".config"));
  WriteBytes(home.file(".config/user-dirs.dirs"),
             "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
             "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  TempDir otherConfig;
  WriteBytes(otherConfig.file("user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n");
  const std::string h = home.path();
  struct Case {
    const char* what;
    std::string cli;
    std::map<std::string, std::string> env;
    std::string expected;
  };
  const Case cases[] = {
      {"--config wins", "/tmp/cfg", {{"KORVANE_CONFIG_DIR", "/env/cfg"}, {"HOME", h}}, "/tmp/cfg/"},
      {"--config keeps its slash", "rel/cfg/", {}, "rel/cfg/"},
      {"environment next", "", {{"KORVANE_CONFIG_DIR", "/env/cfg"}, {"HOME", h}}, "/env/cfg/"},
      {"empty environment value ignored",
       "",
       {{"KORVANE_CONFIG_DIR", ""}, {"HOME", h}},
       h + "/Dokumente/Korvane1/config/"},
      {"XDG_DOCUMENTS_DIR variable",
       "",
       {{"XDG_DOCUMENTS_DIR", "/data/docs"}, {"HOME", h}},
       "/data/docs/Korvane1/config/"},
      {"user-dirs.dirs under ~/.config", "", {{"HOME", h}}, h + "/Dokumente/Korvane1/config/"},
      {"user-dirs.dirs under XDG_CONFIG_HOME",
       "",
       {{"HOME", h}, {"XDG_CONFIG_HOME", otherConfig.path()}},
       "/srv/docs/Korvane1/config/"},
      {"~/Documents without user-dirs.dirs",
       "",
       {{"HOME", "/nohome/u"}},
       "/nohome/u/Documents/Korvane1/config/"},
      {"no home at all", "", {}, "Korvane1/config/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolveConfigDir(c.cli, FakeEnv(c.env)), c.expected) << c.what;
  }
}

TEST(ConfigDir, FirstStartFillsANewFolder) {
  TempDir base;
  const std::string dir = base.file("Dokumente/Korvane1/config/");
  std::string error;
  ASSERT_TRUE(EnsureConfigDir(dir, &error)) << error;
  for (const DefaultSettingsFile& f : DefaultSettingsFiles()) {
    EXPECT_EQ(ReadBytes(dir + std::string(f.name)), f.content) << f.name;
  }
  // A later start leaves the user's files alone and brings back a missing one.
  ASSERT_TRUE(IniWriteString(dir + "main.ini", "set", "lang", "2"));
  std::filesystem::remove(dir + "profil4.ini");
  ASSERT_TRUE(EnsureConfigDir(dir, &error)) << error;
  EXPECT_EQ(IniReadInt(dir + "main.ini", "set", "lang"), 2);
  EXPECT_EQ(ReadBytes(dir + "profil4.ini"), DefaultContent("profil4.ini"));
}

TEST(ConfigDir, ExistingEmptyFolderGetsEveryDefaultFile) {
  TempDir base;
  const std::string dir = base.file("config/");
  std::filesystem::create_directories(dir);
  WriteBytes(dir + "profil2.ini", "[set]\nProfil=Mine\n");
  std::string error;
  ASSERT_TRUE(EnsureConfigDir(dir, &error)) << error;
  for (const DefaultSettingsFile& f : DefaultSettingsFiles()) {
    if (std::string(f.name) == "profil2.ini") {
      EXPECT_EQ(ReadBytes(dir + "profil2.ini"), "[set]\nProfil=Mine\n");
    } else {
      EXPECT_EQ(ReadBytes(dir + std::string(f.name)), f.content) << f.name;
    }
  }
}

TEST(ConfigDir, FirstStartFailures) {
  TempDir base;
  WriteBytes(base.file("file"), "x");
  std::string error;
  EXPECT_FALSE(EnsureConfigDir(base.file("file"), &error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(EnsureConfigDir(base.file("file/config"), &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace korvane
