#include "core/postprocess.h"

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

}  // namespace

LineFollowResult FindLines(Job& job, UserDialogs& ui, ProgressSink& progress,
                           const std::function<void()>& rebuildNc) {
  LineFollowResult r = FollowLines(job.segments, progress);
  if (!r.ncRebuild) return r;  // nothing merged: silent
  r.asked = true;
  r.kept = KeepOrRestore(job.segments, LineFollowQuestion(r.countBefore, r.countAfter), ui,
                         rebuildNc);
  return r;
}

WayOptimizeResult WayOptimizer(Job& job, bool allowSwap, bool silent, UserDialogs& ui,
                               ProgressSink& progress, const std::function<void()>& rebuildNc) {
  WayOptimizeResult r = OptimizeWay(job.segments, allowSwap, progress);
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
