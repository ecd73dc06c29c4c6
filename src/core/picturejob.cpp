#include "core/picturejob.h"

#include "core/jobstate.h"
#include "image/blackwhite.h"
#include "image/decode.h"
#include "image/picture_file.h"

namespace korvane {

bool OpenPictureFile(Job& job, const std::string& path, std::string& error) {
  Picture decoded;
  if (!LoadPictureFile(path, decoded, error)) return false;
  job.accepted = std::move(decoded);
  ResetJobForNewPicture(job);
  job.working = job.accepted;
  return true;
}

void ResetJobForNewPicture(Job& job) {
  job.scale = 1.0L;
  job.xOffsetText = kOffsetTextAfterOpen;
  job.yOffsetText = kOffsetTextAfterOpen;
  job.lineSpacing = 1.0L;
  job.segments.setCount(0);
  job.moveList.clear();
  job.ncLines.clear();
  // The working image is about to be replaced: the next run must trace it.
  PictureOpened(job);
}

void PictureResized(Job& job) {
  job.scale = 1.0L;
  job.xOffsetText = kOffsetTextAfterOpen;
  job.yOffsetText = kOffsetTextAfterOpen;
  job.lineSpacing = 1.0L;
  PictureEdited(job);
}

void BeginBlackWhite(Job& job) {
  job.accepted = job.working;
  PreviewThreshold(job, kDefaultThreshold);
}

void PreviewThreshold(Job& job, int threshold) {
  ThresholdInto(job.accepted, threshold, job.working);
  PictureEdited(job);
}

bool AcceptImageEdit(Job& job) {
  job.accepted = job.working;
  return IsBlackWhite(job.working);
}

bool PreparePicture(Job& job, const PrepareSteps& steps) {
  if (steps.empty()) return true;
  const bool ok = ApplyPrepareSteps(steps, job.working);
  job.accepted = job.working;
  PictureEdited(job);
  return ok;
}

void CancelImageEdit(Job& job) { job.working = job.accepted; }

}  // namespace korvane
