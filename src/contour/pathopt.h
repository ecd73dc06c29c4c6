#pragma once
// Path optimisation: reorders (and, where allowed, reverses) the segments so
// that the tool travels less between them. Starting from the first segment it
// repeatedly puts next the remaining segment whose start point (or end point,
// when reversal is allowed) lies nearest to the end of the current one.
#include <cstdint>
#include <string>

#include "base/messages.h"
#include "base/interaction.h"
#include "base/segments.h"

namespace korvane {

// Distance of two points in 80-bit arithmetic. When the two x values (or the
// two y values) are equal it is the difference of the other two, so equal
// points give exactly 0 and axis-parallel distances carry no root error.
long double PointDistance(long double ax, long double ay, long double bx, long double by);

// Total path: lengths of all records plus the gaps from each record to the
// next, summed record by record in 80-bit; 0 for fewer than two records.
long double TotalPath(const SegmentList& list);

// The greedy reordering of the valid records in place: for each position k the
// nearest remaining start point (or end point, reversing that record, when
// `allowSwap`) to the end of record k is swapped to position k + 1. Ties go to
// the record earliest in the current list order, the forward orientation
// before the reversed one; gaps of 999,999,999,999,999 or more are never taken.
// Afterwards every record is marked done. Runs far below quadratic time on
// real contours (a k-d tree over the end points) with the same result as the
// plain search.
void OptimizeOrder(SegmentList& list, bool allowSwap, ProgressSink& progress);

// The question shown when the total changed.
std::string WayOptimizeQuestion(long double before, long double after);

struct WayOptimizeResult {
  long double totalBefore = 0;
  long double totalAfter = 0;  // the total of the new order, as shown
  bool asked = false;          // the user was asked
  bool kept = false;           // the new order stays
  bool ncRebuild = false;      // the NC program must be rebuilt (the total changed)
  bool outOfMemory = false;    // ran out of memory: the list is as before, the user was told
};

// The command's work: saves the undo bank, reorders, and compares the totals
// exactly. Unchanged: the list stays exactly as it was (every record marked
// done) and the status line shows kNoNewWayText. Changed: ncRebuild is set and
// the new order stays in the list; the question and the restore are the
// caller's (SegmentList::restoreUndo brings back the exact former list).
WayOptimizeResult OptimizeWay(SegmentList& list, bool allowSwap, ProgressSink& progress);

}  // namespace korvane
