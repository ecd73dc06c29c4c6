#pragma once
// The whole conversion in one place, as korvane-cli runs it: threshold,
// contour method, acceptance, line following, path optimisation, NC build.
// The desktop program's convert command runs the same steps (DoConvert) with
// its dialogs around them.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/fileio.h"
#include "base/interaction.h"
#include "contour/linefollow.h"
#include "contour/pathopt.h"
#include "core/job.h"
#include "image/prepare.h"
#include "ncout/outparams.h"

namespace korvane {

struct BatchOptions {
  ContourType contour = ContourType::Outline;
  int threshold = 128;  // for a picture that is not black and white
  long double scale = 1.0L;
  Placement origin = Placement::kCentre;  // the picture point put at the machine origin
  std::optional<long double> diameter;    // with the text it was read from
  std::string diameterText;
  bool followLines = false;
  bool optimise = false;
  bool allowReverse = true;  // path optimisation may reverse segments
  // Whether the builds write the move list (korvane-cli: only when it is
  // saved). A batch run never replays it, so its records are not parsed.
  bool moveList = true;
  // Contour export after the build; the format comes from the file's
  // extension (ExportFormatForFile). Empty: no export.
  std::string exportFile;
  // Picture preparation before the threshold, in this order; the prepared
  // picture is staged for savePicture (32-bit bitmap) when that is set, and
  // the run ends there when stopAfterSave is set too.
  PrepareSteps prepare;
  std::string savePicture;
  bool stopAfterSave = false;
  // Called before the threshold is applied to a picture that is not black
  // and white (korvane-cli tells the user).
  std::function<void(int threshold)> beforeThreshold;
};

struct BatchResult {
  enum class Outcome {
    Done,           // program built (and post-processed)
    PictureSaved,   // the prepared picture was written and no program was asked for
    PrepareFailed,  // a preparation step or the picture's save failed: error says which
    NotAccepted,    // the run was not accepted (cancelled or failed)
    BuildFailed,    // a build or a post-processing step failed: error holds the text
    ExportFailed,   // the export file could not be written: error says which
  };
  Outcome outcome = Outcome::NotAccepted;
  std::string error;
  std::optional<LineFollowResult> lines;  // set when line following ran
  std::optional<WayOptimizeResult> way;   // set when path optimisation ran
  // The files of the run (prepared picture, export), written under temporary
  // names: the caller commits them together with its own outputs, or
  // discards them, so that a failing output leaves no other behind.
  std::vector<StagedFile> staged;
};

// Runs the conversion on a job whose settings are loaded and whose picture is
// open (OpenPictureFile; OpenPictureCompact only without preparation steps
// and savePicture). Every question is put to `ui`. Nothing is renamed
// onto its target: see BatchResult::staged.
BatchResult RunBatch(Job& job, const BatchOptions& options, UserDialogs& ui,
                     ProgressSink& progress);

}  // namespace korvane
