#include "core/job.h"

#include "base/interaction.h"

namespace korvane {

const char* const kPictureLockText =
    "Vom aktuellen Bild ist bereits eine Kontur erstellt worden!\r\n\r\n"
    "Für Änderungen das Bild erneut öffnen.";

bool Msg_Isconvert(const Job& job, UserDialogs& ui) {
  if (!job.contourAccepted) return false;
  ui.message(kPictureLockText);
  return true;
}

}  // namespace korvane
