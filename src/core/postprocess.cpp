#include "core/postprocess.h"

#include <cstdint>
#include <new>

#include "base/messages.h"

namespace korvane {
namespace {

// Rebuild before the question, ask, and on No restore and rebuild again.
bool KeepOrRestore(SegmentList& list, const std::string& question, UserDialogs& ui,
                   const std::function<void()>& rebuildNc) {
  if (rebuildNc) rebuildNc();
  const bool kept = ui.ask(question);
  if (!kept) {
    list.restoreUndo();
    if (rebuildNc) rebuildNc();
  }
  return kept;
}

// Runs `step` on the list; running out of memory on the way restores the
// list from the undo copy the step took (if it got that far) and tells the
// user. False then.
template <class Step>
bool WithinMemory(SegmentList& list, const char* text, UserDialogs& ui, Step step) {
  const uint64_t serial = list.undoSerial();
  try {
    step();
    return true;
  } catch (const std::bad_alloc&) {
    if (list.undoSerial() != serial) list.restoreUndo();
    ui.message(text);
    return false;
  }
}

// Once a list command has been decided (kept, refused or failed), its undo
// copy has no further use: on a list of millions it is hundreds of megabytes.
struct ReleaseUndoAtEnd {
  SegmentList& list;
  ~ReleaseUndoAtEnd() { list.releaseUndoCopy(); }
};

}  // namespace

LineFollowResult FindLines(Job& job, UserDialogs& ui, ProgressSink& progress,
                           const std::function<void()>& rebuildNc) {
  const ReleaseUndoAtEnd release{job.segments};
  LineFollowResult r;
  if (!WithinMemory(job.segments, kLineFollowOutOfMemoryText, ui,
                    [&] { r = FollowLines(job.segments, progress); })) {
    r = LineFollowResult();
    r.outOfMemory = true;
    return r;
  }
  if (!r.ncRebuild) return r;  // nothing merged: silent
  r.asked = true;
  r.kept = KeepOrRestore(job.segments, LineFollowQuestion(r.countBefore, r.countAfter), ui,
                         rebuildNc);
  return r;
}

WayOptimizeResult WayOptimizer(Job& job, bool allowSwap, bool silent, UserDialogs& ui,
                               ProgressSink& progress, const std::function<void()>& rebuildNc) {
  const ReleaseUndoAtEnd release{job.segments};
  WayOptimizeResult r;
  if (!WithinMemory(job.segments, kWayOptimizeOutOfMemoryText, ui,
                    [&] { r = OptimizeWay(job.segments, allowSwap, progress); })) {
    r = WayOptimizeResult();
    r.outOfMemory = true;
    return r;
  }
  if (!r.ncRebuild) return r;  // same total: the list is as it was
  if (silent) {
    if (rebuildNc) rebuildNc();
    r.kept = true;
    return r;
  }
  r.asked = true;
  r.kept = KeepOrRestore(job.segments, WayOptimizeQuestion(r.totalBefore, r.totalAfter), ui,
                         rebuildNc);
  return r;
}

}  // namespace korvane
