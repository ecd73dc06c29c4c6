#pragma once
// Profile activation: copy one stored profile into the active values the NC
// builder reads, turning its number-format texts into the active format.
#include <string_view>

#include "core/job.h"

namespace korvane {

// Activates profile `number` (1..4) of job.profiles into job.active. Any other
// number changes nothing.
void ActivateProfile(Job& job, int number);

// Activates by key: a profile name or "1".."4". Profiles are tested 1 to 4 and
// the last match wins. Returns false, changing nothing, when none matches.
bool ActivateProfile(Job& job, std::string_view key);

// The number-format record of a stored profile: Stellen and Nachkommastellen
// keep the low 8 bits, Schritt and Start as read, all four decimal only (any
// other text is 0); Satzzeichen loses a last digit 1 to 9.
TNCFormat FormatOfProfile(const Profile& profile);

}  // namespace korvane
