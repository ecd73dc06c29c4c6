#include "core/convert.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <new>

#include "base/numtext.h"
#include "base/percent.h"
#include "image/blackwhite.h"
#include "ncout/ncbuild.h"

#include "contour/centreline.h"
#include "contour/outline.h"
#include "contour/scan.h"

namespace korvane {

namespace {

bool IsTraced(ContourType t) { return t == ContourType::Outline || t == ContourType::CentreLine; }

// Runs the method of the chosen contour type on job.result (or on the
// compact map, which is traced in place).
void RunContourMethod(Job& job, UserDialogs& ui, ProgressSink& progress) {
  if (!job.compact.empty()) {
    if (job.contourType == ContourType::Outline)
      ScanOutLine(job.compact, job.segments, job.cancelRequested, progress);
    else
      ScanInline(job.compact, job.segments, job.scanStep, job.cancelRequested, progress, ui);
    return;
  }
  switch (job.contourType) {
    case ContourType::Outline:
      ScanOutLine(job.result, job.segments, job.cancelRequested, progress);
      break;
    case ContourType::CentreLine:
      ScanInline(job.result, job.segments, job.scanStep, job.cancelRequested, progress, ui);
      break;
    case ContourType::Scan:
      BMPAbtasten(job.result, job.segments, job.scanStep, job.cancelRequested, progress);
      break;
    case ContourType::ScanNegative:
      BMPAbtastNeg(job.result, job.segments, job.scanStep, job.cancelRequested, progress);
      break;
  }
}

}  // namespace

int32_t JoinGapFor(ContourType type, const ConvertInputs& in) {
  int32_t gap = IsTraced(type) ? 1 : 0;
  if (in.diameterEnabled && IsTraced(type)) {
    auto d = ParseNumber(in.diameterText);
    if (d && *d > 0) {
      auto s = ParseNumber(in.scaleText);
      long double q = s ? *d / *s : std::numeric_limits<long double>::quiet_NaN();
      // A zero or unreadable scale gives no usable gap; keep the plain one.
      if (std::isfinite(q) && q >= 0 && q < 2147483647.0L) gap = static_cast<int32_t>(q);
    }
  }
  return gap;
}

NCBuildResult ConvertToNC(Job& job, ProgressSink& progress) {
  NCBuildResult result;
  if (job.ncBusy) return result;
  job.ncBusy = true;
  struct BusyGuard {
    bool& flag;
    ~BusyGuard() { flag = false; }
  } guard{job.ncBusy};

  NCProgram storage;
  storage.lines = std::move(job.ncLines);
  storage.moves = std::move(job.moveList);
  storage.moveLines = std::move(job.moveLines);
  const NCOutputParams params{job.scale, job.joinGap, job.xOffsetText, job.yOffsetText,
                              job.buildMoveList};
  NCProgram p;
  try {
    p = BuildNC(job.segments, job.rect, params, job.active, job.builder, progress,
                std::move(storage));
    job.ncLines = std::move(p.lines);
    job.moveList = std::move(p.moves);
    job.moveLines = std::move(p.moveLines);
    // Millions of lines take seconds to read: the status line says so (a
    // failed build leaves at most the header line and reports nothing).
    // korvane-cli needs no records at all.
    job.moveRecords.clear();
    job.pathLengths = PathLengths();
    if (job.parseMoveRecords) {
      job.moveRecords.reserve(job.moveList.size());
      NullProgress silent;
      PercentReporter reader(p.status == NCBuildStatus::Built ? progress : silent, kMovesReadText);
      // The path lengths the graphic shows are summed on the way: replaying
      // millions of records again afterwards would be a second unreported pause.
      PathMeter meter;
      const size_t moves = job.moveList.size();
      for (size_t i = 0; i < moves; ++i) {
        if (i % 4096 == 0)
          reader.report(static_cast<long double>(i), static_cast<long double>(moves));
        job.moveRecords.append(job.moveList[i]);
        meter.add(job.moveRecords.records().back(), job.moveRecords);
      }
      job.pathLengths = meter.lengths();
      if (!job.keepMoveText) job.moveList = LineStore();
    }
  } catch (const std::bad_alloc&) {
    // A program too large for the memory left fails like a bad number field:
    // no program, and the reason in the status line.
    p = NCProgram();
    p.error = kBuildOutOfMemoryText;
    job.ncLines = LineStore();
    job.moveList = LineStore();
    std::vector<int32_t>().swap(job.moveLines);
    job.moveRecords.clear();
    job.pathLengths = PathLengths();
  }
  if (p.extents) job.extents = *p.extents;
  result.status = p.status;
  result.error = std::move(p.error);
  if (result.ok()) {
    job.ncCharCount = p.charCount;
    job.ncLineCount = p.lineCount;
    job.ncSegmentCount = p.segmentCount;
  }
  return result;
}

bool RebuildProgram(Job& job, ProgressSink& progress) {
  NCBuildResult r = ConvertToNC(job, progress);
  job.lastBuildError = r.ok() ? std::string() : r.error;
  return r.ok();
}

void DoConvert(Job& job, ConvertRequest request, const ConvertInputs& in, ConvertHost& host,
               UserDialogs& ui, ProgressSink& progress) {
  const bool rerun = request == ConvertRequest::SilentRerun;
  ConvertCommandStarted(job, request);
  if (!rerun && !job.contourAccepted && job.compact.empty() && !IsBlackWhite(job.working)) {
    if (!ui.ask(kAskBlackWhiteText)) return;
    if (!host.runBlackWhite()) return;
  }
  job.joinGap = JoinGapFor(job.contourType, in);
  if (job.contourAccepted) {
    host.buildStarting();
    host.programBuilt(RebuildProgram(job, progress));
  } else {
    std::fill(job.result.px.begin(), job.result.px.end(), kBlack);
    host.runConversionDialog();
  }
  if (job.contourAccepted && !rerun && (!job.moveList.empty() || !job.moveRecords.empty()) &&
      job.graphicViewPending) {
    host.showFittedGraphic();
    GraphicViewShown(job);
  }
  ConvertCommandFinished(job);
}

void StartRun(Job& job, ConvertHost& host, UserDialogs& ui, ProgressSink& progress) {
  std::fill(job.result.px.begin(), job.result.px.end(), kBlack);
  job.ncLines.clear();
  job.segments.clear();
  RunStarted(job);
  // The tracer's undo copy is never restored (the list commands save their
  // own), and on a large job it is as big as the list: it is not made.
  struct UndoOff {
    SegmentList& list;
    explicit UndoOff(SegmentList& l) : list(l) { list.setUndoKept(false); }
    ~UndoOff() { list.setUndoKept(true); }
  } undoOff(job.segments);
  ConvertStart(job, host, ui, progress);
}

void ConvertStart(Job& job, ConvertHost& host, UserDialogs& ui, ProgressSink& progress) {
  job.scanStep = 1.0L;
  // The compact map is traced in place: no framed copy, nothing to restore.
  const bool compact = !job.compact.empty();
  const Picture& w = job.working;
  std::string error;
  bool outOfMemory = false;
  try {
    if (compact) {
      // Traced in place below.
    } else if (IsTraced(job.contourType)) {
      // One-pixel white frame so every object has white around it.
      job.result.resize(w.width + 2, w.height + 2, kWhite);
      for (int32_t y = 0; y < w.height; ++y)
        std::copy_n(&w.px[static_cast<size_t>(y) * w.width], w.width, &job.result.at(1, y + 1));
    } else {
      job.result = w;
    }
    if (job.pictureChanged) {
      if (!IsTraced(job.contourType)) job.scanStep = job.lineSpacing;
      RunContourMethod(job, ui, progress);
    }
  } catch (const std::bad_alloc&) {
    outOfMemory = true;
  } catch (const std::exception& e) {
    error = e.what();
  }

  // From here on the clean-up always runs, also after an error.
  host.hideDialog();
  if (outOfMemory) {
    // What the run found is dropped, with the memory it held; the pictures
    // and the job are as after a refused contour.
    job.result = Picture();
    job.segments.clear();
    progress.report(kConvertOutOfMemoryText, 0);
    ContourRefused(job);
    host.closeDialog();
    ui.message(kConvertOutOfMemoryText);
    return;
  }
  Picture before;
  const int32_t openWidth = job.working.width, openHeight = job.working.height;
  if (!compact) {
    before = std::move(job.working);
    job.working = std::move(job.result);
    job.result = Picture();
    host.workingImageChanged();
  } else {
    // The traced map is framed: the working picture takes its size, as the
    // framed result does on the full-colour path (exports are flipped by it).
    job.working.width = job.compact.width;
    job.working.height = job.compact.height;
  }

  bool accept = job.autoAccept || (!job.cancelRequested && ui.ask(kAskAcceptText));
  if (accept) {
    if (!compact) job.backup = std::move(before);
    ContourAccepted(job);
    job.rect = FindWayRect(job.segments);
    host.programBuilt(RebuildProgram(job, progress));
  } else {
    if (job.cancelRequested) progress.report(kCancelledText, 0);
    if (!compact) {
      job.working = std::move(before);
      host.workingImageChanged();
    } else {
      job.working.width = openWidth;
      job.working.height = openHeight;
    }
    ContourRefused(job);
  }
  host.closeDialog();
  if (!error.empty()) ui.message(error);
}

float PreviewScale(int viewWidth, int viewHeight, const Picture& result) {
  float sx = static_cast<float>(static_cast<double>(viewWidth - 20) / result.width);
  float sy = static_cast<float>(static_cast<double>(viewHeight - 20) / result.height);
  return sx < sy ? sx : sy;
}

bool ChooseContourType(Job& job, ContourType type) {
  job.contourType = type;
  if (!job.backupValid) return false;
  job.working = job.backup;
  ContourTypeChanged(job);
  return !job.autoAccept;
}

void RequestCancel(Job& job, UserDialogs& ui) {
  if (ui.ask(kAskCancelText)) CancelConfirmed(job);
}

}  // namespace korvane
