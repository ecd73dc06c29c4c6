#pragma once
// Profile activation: copy one stored profile into the active values the NC
// builder reads, turning its number-format texts into the active format.
#include <array>
#include <string_view>

#include "settings/profile.h"

namespace korvane {

using ProfileStore = std::array<Profile, 4>;

// Activates profile `number` (1..4) of `profiles` into `active`. Any other
// number changes nothing.
void ActivateProfile(const ProfileStore& profiles, ActiveProfile& active, int number);

// Activates by key: a profile name or "1".."4". Profiles are tested 1 to 4 and
// the last match wins. Returns false, changing nothing, when none matches.
bool ActivateProfile(const ProfileStore& profiles, ActiveProfile& active, std::string_view key);

// The number-format record of a stored profile: Stellen and Nachkommastellen
// keep the low 8 bits, Schritt and Start as read, all four decimal only (any
// other text is 0); Satzzeichen loses a last digit 1 to 9.
TNCFormat FormatOfProfile(const Profile& profile);

}  // namespace korvane
