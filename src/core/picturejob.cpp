#include "core/picturejob.h"

#include <new>

#include "core/jobstate.h"
#include "image/blackwhite.h"
#include "image/decode.h"
#include "image/picture_file.h"

namespace korvane {

bool OpenPictureFile(Job& job, const std::string& path, std::string& error) {
  Picture decoded;
  if (!LoadPictureFile(path, decoded, error)) return false;
  // The working copy is made before anything changes, so running out of
  // memory here leaves the previous picture and job state as they were.
  Picture working;
  try {
    working = decoded;
  } catch (const std::bad_alloc&) {
    error = OutOfMemoryText(path);
    return false;
  }
  job.accepted = std::move(decoded);
  job.compact = TraceMap();
  ResetJobForNewPicture(job);
  job.working = std::move(working);
  return true;
}

namespace {

// IsBlackWhite on the inner part of a framed map: the test covers every
// column and row but the last, and at least the first of each.
bool FramedMapIsBlackWhite(const TraceMap& map) {
  const int32_t w = map.width - 2;
  const int32_t h = map.height - 2;
  if (w <= 0 || h <= 0) return false;
  const int32_t cols = w > 1 ? w - 1 : 1;
  const int32_t rows = h > 1 ? h - 1 : 1;
  for (int32_t y = 0; y < rows; ++y) {
    const uint8_t* row = &map.px[static_cast<std::size_t>(y + 1) * map.width + 1];
    uint8_t other = 0;
    for (int32_t x = 0; x < cols; ++x) other |= static_cast<uint8_t>(row[x] > kMapBlack);
    if (other) return false;
  }
  return true;
}

}  // namespace

bool OpenPictureCompact(Job& job, const std::string& path, std::string& error) {
  TraceMap map;
  FramedTraceMapSink sink(map);
  if (!DecodePictureFile(path, sink, error)) return false;
  if (!FramedMapIsBlackWhite(map)) return OpenPictureFile(job, path, error);
  job.accepted = Picture();
  ResetJobForNewPicture(job);
  job.working = Picture();
  job.working.width = map.width - 2;
  job.working.height = map.height - 2;
  job.compact = std::move(map);
  return true;
}

void ResetJobForNewPicture(Job& job) {
  job.scale = 1.0L;
  job.xOffsetText = kOffsetTextAfterOpen;
  job.yOffsetText = kOffsetTextAfterOpen;
  job.lineSpacing = 1.0L;
  job.segments.setCount(0);
  job.moveList.clear();
  job.moveRecords.clear();
  job.pathLengths = PathLengths();
  job.moveLines.clear();
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
