#pragma once
// Every change of the job flags is one of these named transitions; no other
// code assigns a flag. Each says which flags it changes (and only those).
//
//   contourAccepted     a contour of the current picture has been accepted;
//                       the picture lock refuses edits while it is set
//   backupValid         job.backup holds the picture before the accepted run
//   graphicViewPending  the next accepted build fits and shows the graphic view
//   autoAccept          the running conversion is accepted without asking
//   pictureChanged      the working image must be traced by the next run
//   cancelRequested     the user asked the running method to stop
#include "core/job.h"

namespace korvane {

// How a convert command was asked for.
enum class ConvertRequest {
  Command,      // the user's convert command: asks, shows the dialogs
  SilentRerun,  // after a diameter or scale change: accepted without asking,
                // no black-and-white question, no view switch
};

// Main window shown for the first time: contourAccepted, autoAccept off.
void SessionStarted(Job& job);

// A new picture was opened: contourAccepted, backupValid off;
// graphicViewPending, pictureChanged on.
void PictureOpened(Job& job);

// The working image was edited (threshold preview): pictureChanged on.
void PictureEdited(Job& job);

// A diameter or scale change asks for a silent re-run (before the contour
// type is chosen again, so that choosing it does not switch views):
// autoAccept on.
void SilentRerunRequested(Job& job);

// The convert command begins: autoAccept on for a silent re-run, else off.
void ConvertCommandStarted(Job& job, ConvertRequest request);

// The convert command is over (whatever happened): autoAccept off.
void ConvertCommandFinished(Job& job);

// The first accepted build of this picture has shown the fitted graphic
// view: graphicViewPending off.
void GraphicViewShown(Job& job);

// A run starts (the conversion dialog's start timer): cancelRequested off.
void RunStarted(Job& job);

// The user confirmed cancelling the running method: cancelRequested on.
void CancelConfirmed(Job& job);

// The run's contour was accepted: contourAccepted, backupValid on.
void ContourAccepted(Job& job);

// The run's contour was refused or cancelled: contourAccepted off.
void ContourRefused(Job& job);

// Another contour type was chosen while a backup existed (the marked result
// goes back to the picture before it): backupValid, contourAccepted off;
// graphicViewPending on.
void ContourTypeChanged(Job& job);

}  // namespace korvane
