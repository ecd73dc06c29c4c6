#include "core/jobstate.h"

namespace korvane {

void SessionStarted(Job& job) {
  job.contourAccepted = false;
  job.autoAccept = false;
}

void PictureOpened(Job& job) {
  job.contourAccepted = false;
  job.backupValid = false;
  job.graphicViewPending = true;
  job.pictureChanged = true;
}

void PictureEdited(Job& job) { job.pictureChanged = true; }

void SilentRerunRequested(Job& job) { job.autoAccept = true; }

void ConvertCommandStarted(Job& job, ConvertRequest request) {
  job.autoAccept = request == ConvertRequest::SilentRerun;
}

void ConvertCommandFinished(Job& job) { job.autoAccept = false; }

void GraphicViewShown(Job& job) { job.graphicViewPending = false; }

void RunStarted(Job& job) { job.cancelRequested = false; }

void CancelConfirmed(Job& job) { job.cancelRequested = true; }

void ContourAccepted(Job& job) {
  job.contourAccepted = true;
  job.backupValid = true;
}

void ContourRefused(Job& job) { job.contourAccepted = false; }

void ContourTypeChanged(Job& job) {
  job.backupValid = false;
  job.contourAccepted = false;
  job.graphicViewPending = true;
}

}  // namespace korvane
