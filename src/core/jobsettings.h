#pragma once
// The job's settings: the five files read into the job's profile store,
// general settings and language texts, and profile activation on the job.
#include <string>
#include <string_view>

#include "base/interaction.h"
#include "core/job.h"
#include "settings/activate.h"
#include "settings/settings.h"

namespace korvane {

// Activates profile `number` (1..4) of job.profiles into job.active.
void ActivateProfile(Job& job, int number);

// Activates by key (a profile name or "1".."4"); false when none matches.
bool ActivateProfile(Job& job, std::string_view key);

// Read all five files into job.profiles and job.general, then load the
// language file of job.general.lang (beside `exeDir`, else in the installed
// data folder). Loading activates no profile. Returns false when the language
// file could not be loaded (the user has seen why; the language texts keep
// their previous state, and the caller skips applying the general settings).
bool LoadSettings(Job& job, const std::string& configDir, const std::string& exeDir,
                  UserDialogs& ui, const std::string& dataDir = KORVANE_DATADIR);

// Write all five files from job.profiles and job.general, then load them
// again. A file that cannot be written stops the save with
// "In %s kann nicht geschrieben werden" (the files written before keep their
// new content) and the result is false. The active profile is not touched.
bool SaveSettings(Job& job, const std::string& configDir, const std::string& exeDir,
                  UserDialogs& ui, const std::string& dataDir = KORVANE_DATADIR);

// Activates the standard profile the way the program start does: by the key
// "1".."4" of job.general.Profil (so a profile named "1" may be chosen); when
// that matches no profile (a missing or damaged main file), profile 1.
// Returns the number of the activated profile.
int ActivateStandardProfile(Job& job);

// Program start: LoadSettings, then ActivateStandardProfile. The result is
// LoadSettings' (false: the language file failed and the general settings
// should not be applied); the profile is activated either way.
bool StartSettings(Job& job, const std::string& configDir, const std::string& exeDir,
                   UserDialogs& ui, const std::string& dataDir = KORVANE_DATADIR);

}  // namespace korvane
