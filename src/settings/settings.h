#pragma once
// The settings store: four profile files ("profil1.ini" .. "profil4.ini",
// section "set") and the main file ("main.ini", sections "path" and "set") in
// the configuration folder, read into and written from the job's profile
// store and general settings.
#include <string>

#include "core/job.h"

namespace korvane {

class UserDialogs;

// configDir + "profil<number>.ini" and configDir + "main.ini"; a missing
// trailing "/" on configDir is supplied.
std::string ProfileFilePath(const std::string& configDir, int number);
std::string MainFilePath(const std::string& configDir);

// One profile file, key by key; missing keys read as empty text or off.
Profile ReadProfile(const std::string& file);
// All keys in their fixed order, empty template lines with empty values,
// written in one go: false (and the file as it was) when it cannot be written.
bool WriteProfile(const std::string& file, const Profile& profile);

GeneralSettings ReadGeneralSettings(const std::string& file);
bool WriteGeneralSettings(const std::string& file, const GeneralSettings& general);

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

// The standard profile of the main file, or 1 when it names none of 1..4
// (a missing or damaged main file).
int StandardProfileNumber(const GeneralSettings& general);

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
