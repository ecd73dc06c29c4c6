#include "core/job.h"

#include "base/interaction.h"

namespace korvane {

bool Msg_Isconvert(const Job& job, UserDialogs& ui) {
  if (!job.contourAccepted) return false;
  ui.message(kPictureLockText);
  return true;
}

}  // namespace korvane
