#pragma once
// The job's pictures: opening a file into the job, and the preview / accept /
// cancel cycle of the image dialogs on the working and accepted images.
#include <string>

#include "core/job.h"
#include "image/prepare.h"

namespace korvane {

// Decode `path` into the accepted image, reset the job for the new picture and
// copy it into the working image. On failure the job is untouched and `error`
// holds the message to show.
bool OpenPictureFile(Job& job, const std::string& path, std::string& error);

// Opening for a batch conversion with a traced contour type: a black-and-white
// picture is decoded straight into job.compact (see there); any other picture
// opens as OpenPictureFile does, for the threshold step.
bool OpenPictureCompact(Job& job, const std::string& path, std::string& error);

// The job-state reset of an open: scale 1, offsets "0.0", line spacing 1,
// segment list, move list and NC lines emptied, then PictureOpened.
void ResetJobForNewPicture(Job& job);

// The working image was resized: scale 1, offsets "0.0", line spacing 1, as
// after an open; the segments stay. Changes pictureChanged (PictureEdited).
void PictureResized(Job& job);

// Showing the black-and-white dialog: the working image becomes the accepted
// image, then the preview for kDefaultThreshold is computed.
void BeginBlackWhite(Job& job);

// Slider change: working image := accepted image thresholded at `threshold`.
void PreviewThreshold(Job& job, int threshold);

// "Übernehmen" of the black-and-white, correction and filter dialogs: the
// accepted image := working image. Returns IsBlackWhite of the result; the
// caller shows BBWWarning exactly when it is false.
bool AcceptImageEdit(Job& job);

// Preparation without dialogs (korvane-cli): the steps in order on the working
// image, each taken over as after "Übernehmen", so the accepted image follows.
// False when a resize step cannot be done; the pictures then hold the steps
// before it.
bool PreparePicture(Job& job, const PrepareSteps& steps);

// "Abbrechen" (and the filter dialog's "Rückgängig"): working image := accepted image.
void CancelImageEdit(Job& job);

}  // namespace korvane
