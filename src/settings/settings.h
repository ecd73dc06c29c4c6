#pragma once
// The settings store: four profile files ("profil1.ini" .. "profil4.ini",
// section "set") and the main file ("main.ini", sections "path" and "set") in
// the configuration folder.
#include <string>
#include <vector>

#include "settings/profile.h"

namespace korvane {

class UserDialogs;

// configDir + "profil<number>.ini" and configDir + "main.ini"; a missing
// trailing "/" on configDir is supplied.
std::string ProfileFilePath(const std::string& configDir, int number);
std::string MainFilePath(const std::string& configDir);

// The store's files that are there but cannot be read (a FIFO, a folder, no
// read permission): they read as missing, and the user is told.
std::vector<std::string> UnreadableSettingsFiles(const std::string& configDir);
// "Datei %s kann nicht geöffnet werden"
std::string UnreadableSettingsFileText(const std::string& file);

// One profile file, key by key; missing keys read as empty text or off.
Profile ReadProfile(const std::string& file);
// All keys in their fixed order, empty template lines with empty values,
// written in one go: false (and the file as it was) when it cannot be written.
bool WriteProfile(const std::string& file, const Profile& profile);

GeneralSettings ReadGeneralSettings(const std::string& file);
bool WriteGeneralSettings(const std::string& file, const GeneralSettings& general);

// The standard profile of the main file, or 1 when it names none of 1..4
// (a missing or damaged main file).
int StandardProfileNumber(const GeneralSettings& general);

}  // namespace korvane
