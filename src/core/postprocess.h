#pragma once
// The post-processing commands on the job's segment list: the contour layer
// does the work, these ask whether to keep the result and restore on No.
#include <functional>

#include "base/interaction.h"
#include "contour/linefollow.h"
#include "contour/pathopt.h"
#include "core/job.h"

namespace korvane {

// Line following: merges, and when the count fell asks whether to keep the
// result; on No the exact former list comes back. The NC program is the
// caller's: when `rebuildNc` is given it is called where the program must be
// rebuilt (before the question, and again after a refusal); otherwise the
// caller rebuilds once afterwards when `ncRebuild` is set.
LineFollowResult FindLines(Job& job, UserDialogs& ui, ProgressSink& progress,
                           const std::function<void()>& rebuildNc = {});

// Path optimisation: reorders; when the total changed asks (unless `silent`)
// whether to keep the new order; on No the exact former list comes back. The
// NC program is handled as for FindLines.
WayOptimizeResult WayOptimizer(Job& job, bool allowSwap, bool silent, UserDialogs& ui,
                               ProgressSink& progress, const std::function<void()>& rebuildNc = {});

}  // namespace korvane
