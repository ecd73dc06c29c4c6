#pragma once
// The NC program builder: turns the live segment list into the NC program
// (job.ncLines) through the active profile's block templates, and in the same
// pass into the simulation move list (job.moveList).
#include <cstdint>
#include <string>

#include "base/interaction.h"
#include "core/job.h"

namespace korvane {

extern const char* const kBuildProgressText;  // "NC-Sätze erstellen ..."
extern const char* const kBuildDoneText;      // "NC-Programm erstellt!"

enum class NCBuildStatus {
  Built,   // program and move list written, counters updated
  Failed,  // a number field was not a number: see error
  Busy,    // a build was already running; nothing changed
};

struct NCBuildResult {
  NCBuildStatus status = NCBuildStatus::Busy;
  // The conversion error text for the offending field when the build failed.
  std::string error;
  bool ok() const { return status == NCBuildStatus::Built; }
};

// Builds job.ncLines, job.moveList and job.extents from job.segments,
// job.rect, job.scale, job.joinGap, the offset texts and job.active.
// On success it also sets job.ncCharCount, job.ncLineCount and
// job.ncSegmentCount (the editor's character, line and "Wege" counts) and
// reports progress. A failed build stays silent: the NC lines stay empty, the
// move list holds at most its header line and the counts keep their values.
// Segment records, done marks included, are the same after a build.
NCBuildResult ConvertToNC(Job& job, ProgressSink& progress);

}  // namespace korvane
