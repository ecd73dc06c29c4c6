// korvane-cli: headless batch conversion of a picture into an NC program,
// through the same core calls as the desktop program.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/cliopts.h"
#include "app/ncsave.h"
#include "contour/linefollow.h"
#include "contour/pathopt.h"
#include "contour/tooldiameter.h"
#include "core/convert.h"
#include "core/interaction.h"
#include "core/job.h"
#include "core/numtext.h"
#include "image/blackwhite.h"
#include "image/picture_file.h"
#include "ncout/activate.h"
#include "ncout/outparams.h"
#include "settings/configdir.h"
#include "settings/settings.h"

using namespace korvane;

namespace {

// A one-line progress bar on stderr, redrawn only when the text or the
// percentage changes.
class TerminalProgress : public ProgressSink {
 public:
  explicit TerminalProgress(bool enabled) : enabled_(enabled) {}
  ~TerminalProgress() override { finish(); }
  void report(const std::string& text, int percent) override {
    if (!enabled_ || (text == text_ && percent == percent_)) return;
    text_ = text;
    percent_ = percent;
    int p = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    char bar[31];
    int filled = p * 30 / 100;
    for (int i = 0; i < 30; ++i) bar[i] = i < filled ? '#' : '.';
    bar[30] = 0;
    std::fprintf(stderr, "\r[%s] %3d%% %-40.40s", bar, p, text.c_str());
    std::fflush(stderr);
    drawn_ = true;
  }
  void finish() {
    if (drawn_) std::fprintf(stderr, "\r%80s\r", "");
    drawn_ = false;
  }

 private:
  bool enabled_;
  bool drawn_ = false;
  std::string text_;
  int percent_ = -1;
};

class CliHost : public ConvertHost {
 public:
  CliHost(Job& job, int threshold, bool quiet, UserDialogs& ui, ProgressSink& progress)
      : job_(job), threshold_(threshold), quiet_(quiet), ui_(ui), progress_(progress) {}
  void runBlackWhite() override {
    if (!quiet_)
      std::fprintf(stderr, "Picture is not black and white: threshold %d applied.\n", threshold_);
    // The same steps as the black-and-white dialog with its slider at N.
    BeginBlackWhite(job_);
    PreviewThreshold(job_, threshold_);
    AcceptImageEdit(job_);
  }
  void runConversionDialog() override { StartRun(job_, *this, ui_, progress_); }
  void programBuilt(bool ok) override { buildOk = ok; }
  bool buildOk = false;

 private:
  Job& job_;
  int threshold_;
  bool quiet_;
  UserDialogs& ui_;
  ProgressSink& progress_;
};

Placement ToPlacement(Origin o) {
  switch (o) {
    case Origin::TopLeft:
      return Placement::kTopLeft;
    case Origin::BottomLeft:
      return Placement::kBottomLeft;
    case Origin::BottomRight:
      return Placement::kBottomRight;
    case Origin::TopRight:
      return Placement::kTopRight;
    case Origin::Centre:
      break;
  }
  return Placement::kCentre;
}

std::string ExecutableDir() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string p(buf, static_cast<size_t>(n));
  auto slash = p.rfind('/');
  return slash == std::string::npos ? "." : p.substr(0, slash);
}

// Line following and path optimisation, answered Yes, with their before and
// after figures for the summary. False when a rebuild of the program failed.
bool RunPostProcessing(Job& job, const CliOptions& opt, UserDialogs& ui, ProgressSink& progress,
                       std::string& summary) {
  if (opt.followLines) {
    LineFollowResult r = FindLines(job, ui, progress);
    if (r.ncRebuild && !RebuildProgram(job, progress)) return false;
    summary += ", line following " + std::to_string(r.countBefore) + " -> " +
               std::to_string(job.segments.count()) + " segments";
  }
  if (opt.optimise) {
    WayOptimizeResult r = WayOptimizer(job, !opt.noReverse, false, ui, progress);
    if (r.ncRebuild && !RebuildProgram(job, progress)) return false;
    summary += ", path " + FormatFixed(r.totalBefore, 3) + " -> " +
               FormatFixed(r.kept ? r.totalAfter : r.totalBefore, 3) + " px";
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CliOptions opt;
  std::string usageError;
  if (!ParseCliOptions(argc, argv, opt, usageError)) {
    if (!usageError.empty()) std::fprintf(stderr, "korvane-cli: %s\n", usageError.c_str());
    std::fputs(kCliUsage, stderr);
    return 2;
  }
  if (opt.help) {
    std::fputs(kCliUsage, stdout);
    return 0;
  }
  auto started = std::chrono::steady_clock::now();

  Job job;
  FixedAnswers ui(true);  // every question answered Yes; messages go to stderr
  TerminalProgress progress(!opt.quiet && ::isatty(2));

  // Settings and profile. Messages of the settings store (a missing
  // language file, say) concern the desktop program only.
  std::string configDir = ResolveConfigDir(opt.configDir);
  std::string error;
  if (!EnsureConfigDir(configDir, &error)) {
    std::fprintf(stderr, "korvane-cli: %s\n", error.c_str());
    return 1;
  }
  {
    FixedAnswers quietUi;
    StartSettings(job, configDir, ExecutableDir(), quietUi);
  }
  if (!opt.profile.empty() && !ActivateProfile(job, opt.profile)) {
    std::fprintf(stderr, "korvane-cli: no profile '%s'\n", opt.profile.c_str());
    std::fputs(kCliUsage, stderr);
    return 2;
  }

  // Picture.
  if (!OpenPictureFile(job, opt.picture, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  if (const int status = PrepareCliPicture(job, opt); status >= 0) return status;

  // Output parameters, as if typed into the scale and diameter fields.
  job.scale = opt.scale;
  ConvertInputs in;
  in.scaleText = FormatFixed(job.scale, 3);
  in.diameterEnabled = true;
  if (opt.diameter) {
    in.diameterText = opt.diameterText;
    job.lineSpacing = LineSpacingForDiameter(*opt.diameter, job.scale);
  }
  OffsetTexts offsets = OffsetTextsFor(
      PlacementStart(ToPlacement(opt.origin), job.working.width, job.working.height, job.scale));
  job.xOffsetText = offsets.x;
  job.yOffsetText = offsets.y;

  job.contourType = opt.contour;
  CliHost host(job, opt.threshold, opt.quiet, ui, progress);
  DoConvert(job, false, in, host, ui, progress);
  if (!job.contourAccepted || !host.buildOk) {
    progress.finish();
    for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", m.c_str());
    if (!job.contourAccepted)
      std::fprintf(stderr, "korvane-cli: the conversion was not completed\n");
    else
      std::fprintf(stderr, "%s\n", job.lastBuildError.c_str());
    return 1;
  }
  std::string extra;
  if (!RunPostProcessing(job, opt, ui, progress, extra)) {
    progress.finish();
    std::fprintf(stderr, "%s\n", job.lastBuildError.c_str());
    return 1;
  }
  progress.finish();
  for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", m.c_str());

  for (const auto& [path, lines] :
       {std::pair{opt.output, &job.ncLines}, std::pair{opt.moves, &job.moveList}}) {
    if (!path.empty() && !SaveProgramLines(path, *lines)) {
      std::fprintf(stderr, "korvane-cli: cannot write %s: %s\n", path.c_str(),
                   std::strerror(errno));
      return 1;
    }
  }
  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (!opt.quiet)
    std::fprintf(stderr, "%d segments, %zu NC lines%s, %.2f s -> %s\n", job.segments.count(),
                 job.ncLines.size(), extra.c_str(), secs, opt.output.c_str());
  return 0;
}
