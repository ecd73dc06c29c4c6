#pragma once
// The NC program builder: turns the segment list into the NC program through
// the active profile's block templates, and in the same pass into the
// simulation move list. It reads its inputs only and returns the program.
// Both are line stores (base/linestore.h): one buffer of text per list.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/linestore.h"
#include "base/messages.h"
#include "base/interaction.h"
#include "base/segments.h"
#include "settings/profile.h"

namespace korvane {

enum class NCBuildStatus {
  Built,   // program and move list written, counters updated
  Failed,  // a number field was not a number: see error
  Busy,    // a build was already running; nothing changed
};

struct MachineExtents {
  long double xMin = 0, xMax = 0, yMin = 0, yMax = 0;  // X of minX, X of maxX, Y of minY, Y of maxY
};

// What a build reads besides the segments and the profile.
struct NCOutputParams {
  long double scale = 1.0L;  // millimetres per pixel
  int32_t joinGap = 0;       // pixels; a start this close to the last end is joined
  std::string_view xOffsetText = "0";
  std::string_view yOffsetText = "0";
  // Whether the move list (with its NC line per move) is written beside the
  // program. The desktop's simulation always needs it; korvane-cli only when
  // the list is to be saved.
  bool moveList = true;
};

// Program state carried from one build to the next: the block counter (an
// empty list continues the numbering of the previous build).
struct NCBuilderState {
  int32_t blockCounter = 0;
};

// A built program. On failure (a number field that is not a number) lines is
// empty, moves holds at most its header line, the counts are 0 and extents
// is empty when the offsets could not be read. Without a move list asked for,
// moves and moveLines stay empty.
struct NCProgram {
  NCBuildStatus status = NCBuildStatus::Failed;
  std::string error;  // the conversion error text of the offending field
  LineStore lines;
  LineStore moves;
  // Per move-list line, the index in `lines` of the NC line it comes from.
  std::vector<int32_t> moveLines;
  std::optional<MachineExtents> extents;
  int64_t charCount = 0;     // characters without blanks and block numbers
  int64_t lineCount = 0;     // emitted lines
  int32_t segmentCount = 0;  // segments ("Wege")
};

// Builds the program from the valid records of `segments`, their bounding
// rectangle, the output parameters and the active profile, and reports
// progress per segment (the done text is the caller's, once it shows the
// program). `reuse` only lends its storage (a previous program's line stores
// and vectors) so that a rebuild of a million lines does not fault in fresh
// memory. Segment records are the same after a build.
NCProgram BuildNC(const SegmentList& segments, const BoundingRect& rect, const NCOutputParams& out,
                  const ActiveProfile& profile, NCBuilderState& state, ProgressSink& progress,
                  NCProgram reuse = {});

struct NCBuildResult {
  NCBuildStatus status = NCBuildStatus::Busy;
  // The conversion error text for the offending field when the build failed.
  std::string error;
  bool ok() const { return status == NCBuildStatus::Built; }
};

}  // namespace korvane
