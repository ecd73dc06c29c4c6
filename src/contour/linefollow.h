#pragma once
// Line following: merges runs of consecutive segments that touch and continue
// in about the same direction into one longer segment, so that the NC program
// gets fewer, longer moves. The user sees the counts and decides.
#include <cstdint>

#include "base/messages.h"
#include "base/interaction.h"
#include "base/segments.h"

namespace korvane {

// Direction value of two segments: the angle between the line through their
// midpoints and the vertical, in whole units where 180 is a half turn measured
// with 3.14159265 (0 when the midpoints lie on one row). A whole number 0..180;
// NaN only for non-numeric coordinates, which then never merge.
long double DirectionValue(const Segment& a, const Segment& b);

// The longer length divided by the shorter: 1 or more, infinite against a
// zero-length segment, NaN for two zero-length segments (which never merge).
long double LengthRatio(const Segment& a, const Segment& b);

// True when the end point of `a` lies within a rounded distance of 1 of the
// start point of `b`.
bool Touches(const Segment& a, const Segment& b);

// The merge pass over the valid records, in place and in one linear pass.
// Reports progress per examined start position (only when the percentage
// changes). Every merged record keeps its start point and `done` flag and
// takes the end point of the last record of its run.
void MergeLines(SegmentList& list, ProgressSink& progress);

// The question shown when the count fell.
std::string LineFollowQuestion(int32_t before, int32_t after);

struct LineFollowResult {
  int32_t countBefore = 0;
  int32_t countAfter = 0;  // the count the question showed
  bool asked = false;      // the count fell and the user was asked
  bool kept = false;       // the merged list stays
  bool ncRebuild = false;  // the NC program must be rebuilt (the count fell)
  bool outOfMemory = false;    // ran out of memory: the list is as before, the user was told
};

// The command's work: saves the undo bank and merges. Fills the counts and
// ncRebuild (the count fell); the question and the restore are the caller's
// (SegmentList::restoreUndo brings back the exact former list).
LineFollowResult FollowLines(SegmentList& list, ProgressSink& progress);

}  // namespace korvane
