#include "core/jobsettings.h"

#include "settings/language.h"

namespace korvane {

void ActivateProfile(Job& job, int number) { ActivateProfile(job.profiles, job.active, number); }

bool ActivateProfile(Job& job, std::string_view key) {
  return ActivateProfile(job.profiles, job.active, key);
}

bool LoadSettings(Job& job, const std::string& configDir, const std::string& exeDir,
                  UserDialogs& ui, const std::string& dataDir) {
  for (const std::string& file : UnreadableSettingsFiles(configDir))
    ui.message(UnreadableSettingsFileText(file));
  for (int p = 1; p <= 4; ++p) {
    job.profiles[static_cast<std::size_t>(p - 1)] = ReadProfile(ProfileFilePath(configDir, p));
  }
  job.general = ReadGeneralSettings(MainFilePath(configDir));
  return LoadLanguage(job.language, job.general.lang, exeDir, ui, dataDir);
}

bool SaveSettings(Job& job, const std::string& configDir, const std::string& exeDir,
                  UserDialogs& ui, const std::string& dataDir) {
  for (int p = 1; p <= 4; ++p) {
    const std::string file = ProfileFilePath(configDir, p);
    if (!WriteProfile(file, job.profiles[static_cast<std::size_t>(p - 1)])) {
      ui.message("In " + file + " kann nicht geschrieben werden");
      return false;
    }
  }
  const std::string file = MainFilePath(configDir);
  if (!WriteGeneralSettings(file, job.general)) {
    ui.message("In " + file + " kann nicht geschrieben werden");
    return false;
  }
  return LoadSettings(job, configDir, exeDir, ui, dataDir);
}

int ActivateStandardProfile(Job& job) {
  if (!ActivateProfile(job, std::string_view(std::to_string(job.general.Profil)))) {
    ActivateProfile(job, 1);
  }
  return job.active.number;
}

bool StartSettings(Job& job, const std::string& configDir, const std::string& exeDir,
                   UserDialogs& ui, const std::string& dataDir) {
  const bool loaded = LoadSettings(job, configDir, exeDir, ui, dataDir);
  ActivateStandardProfile(job);
  return loaded;
}

}  // namespace korvane
