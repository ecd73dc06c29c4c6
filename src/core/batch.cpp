#include "core/batch.h"

#include <string_view>
#include <vector>

#include "base/messages.h"
#include "base/numtext.h"
#include "contour/tooldiameter.h"
#include "core/convert.h"
#include "core/picturejob.h"
#include "core/postprocess.h"
#include "export/export.h"
#include "image/decode.h"

namespace korvane {
namespace {

// The convert command's surroundings without windows: the black-and-white
// dialog becomes a fixed threshold, the conversion dialog a direct run.
class BatchHost : public ConvertHost {
 public:
  BatchHost(Job& job, const BatchOptions& options, UserDialogs& ui, ProgressSink& progress)
      : job_(job), options_(options), ui_(ui), progress_(progress) {}
  bool runBlackWhite() override {
    if (options_.beforeThreshold) options_.beforeThreshold(options_.threshold);
    // The same steps as the black-and-white dialog with its slider at N.
    BeginBlackWhite(job_);
    PreviewThreshold(job_, options_.threshold);
    AcceptImageEdit(job_);
    return true;
  }
  void runConversionDialog() override { StartRun(job_, *this, ui_, progress_); }
  void programBuilt(bool ok) override {
    buildOk = ok;
    if (ok) progress_.report(kBuildDoneText, 100);
  }
  bool buildOk = false;

 private:
  Job& job_;
  const BatchOptions& options_;
  UserDialogs& ui_;
  ProgressSink& progress_;
};

void RunSteps(Job& job, const BatchOptions& options, UserDialogs& ui, ProgressSink& progress,
              BatchResult& result) {
  // Picture preparation, before the threshold. A picture opened in its
  // compact form has no pixels to prepare or save.
  if (!job.compact.empty() && (!options.prepare.empty() || !options.savePicture.empty())) {
    result.outcome = BatchResult::Outcome::PrepareFailed;
    result.error = "a picture opened for tracing only cannot be prepared or saved";
    return;
  }
  if (!PreparePicture(job, options.prepare)) {
    result.outcome = BatchResult::Outcome::PrepareFailed;
    result.error = "the picture cannot be resized";
    return;
  }
  if (!options.savePicture.empty()) {
    StagedFile picture;
    {
      const std::vector<uint8_t> bytes = EncodeBmp32(job.working);
      if (!StageFile(options.savePicture,
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                     picture)) {
        result.error = CannotCreateFileText(options.savePicture);
        result.outcome = BatchResult::Outcome::PrepareFailed;
        return;
      }
    }
    result.staged.push_back(std::move(picture));
    if (options.stopAfterSave) {
      result.outcome = BatchResult::Outcome::PictureSaved;
      return;
    }
  }

  // Output parameters, as if typed into the scale and diameter fields.
  job.scale = options.scale;
  ConvertInputs in;
  in.scaleText = FormatFixed(job.scale, 3);
  in.diameterEnabled = true;
  if (options.diameter) {
    in.diameterText = options.diameterText;
    job.lineSpacing = LineSpacingForDiameter(*options.diameter, job.scale);
  }
  const OffsetTexts offsets = OffsetTextsFor(
      PlacementStart(options.origin, job.working.width, job.working.height, job.scale));
  job.xOffsetText = offsets.x;
  job.yOffsetText = offsets.y;
  job.contourType = options.contour;
  job.buildMoveList = options.moveList;
  job.parseMoveRecords = false;

  // Threshold, contour method, acceptance and the first build.
  BatchHost host(job, options, ui, progress);
  DoConvert(job, ConvertRequest::Command, in, host, ui, progress);
  if (!job.contourAccepted) return;
  if (!host.buildOk) {
    result.outcome = BatchResult::Outcome::BuildFailed;
    result.error = job.lastBuildError;
    return;
  }

  // Post-processing; each rebuilds the program where its result calls for it.
  const auto rebuild = [&] {
    const bool ok = RebuildProgram(job, progress);
    host.programBuilt(ok);
    return ok;
  };
  if (options.followLines) {
    result.lines = FindLines(job, ui, progress);
    if (result.lines->outOfMemory) {
      result.outcome = BatchResult::Outcome::BuildFailed;
      result.error = kLineFollowOutOfMemoryText;
      return;
    }
    if (result.lines->ncRebuild && !rebuild()) {
      result.outcome = BatchResult::Outcome::BuildFailed;
      result.error = job.lastBuildError;
      return;
    }
  }
  if (options.optimise) {
    result.way = WayOptimizer(job, options.allowReverse, false, ui, progress);
    if (result.way->outOfMemory) {
      result.outcome = BatchResult::Outcome::BuildFailed;
      result.error = kWayOptimizeOutOfMemoryText;
      return;
    }
    if (result.way->ncRebuild && !rebuild()) {
      result.outcome = BatchResult::Outcome::BuildFailed;
      result.error = job.lastBuildError;
      return;
    }
  }

  // Contour export, in the working picture's size after the run (the framed
  // picture of a traced contour, as the main window shows it).
  if (const ExportFormat* format = ExportFormatForFile(options.exportFile)) {
    NullProgress quiet;
    const std::string text =
        format->write(ExportInputOf(job.segments, job.working.width, job.working.height), quiet);
    StagedFile exported;
    if (!StageFile(options.exportFile, text, exported)) {
      result.error = CannotCreateFileText(options.exportFile);
      result.outcome = BatchResult::Outcome::ExportFailed;
      return;
    }
    result.staged.push_back(std::move(exported));
  }
  result.outcome = BatchResult::Outcome::Done;
}

}  // namespace

BatchResult RunBatch(Job& job, const BatchOptions& options, UserDialogs& ui,
                     ProgressSink& progress) {
  BatchResult result;
  // A run that stops early, or runs out of memory, leaves no temporary behind.
  try {
    RunSteps(job, options, ui, progress, result);
  } catch (...) {
    DiscardStagedFiles(result.staged);
    throw;
  }
  if (result.outcome != BatchResult::Outcome::Done &&
      result.outcome != BatchResult::Outcome::PictureSaved)
    DiscardStagedFiles(result.staged);
  return result;
}

}  // namespace korvane
