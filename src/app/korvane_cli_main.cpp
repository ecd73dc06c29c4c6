// korvane-cli: headless batch conversion of a picture into an NC program,
// through the same core calls as the desktop program.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/cliopts.h"
#include "base/fileio.h"
#include "base/interaction.h"
#include "base/messages.h"
#include "base/numtext.h"
#include "core/batch.h"
#include "core/job.h"
#include "core/jobsettings.h"
#include "core/picturejob.h"
#include "image/decode.h"
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

// `path` as an absolute name with its folder resolved, for files that need
// not exist yet.
std::string AbsoluteName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  char resolved[PATH_MAX];
  if (::realpath(folder.c_str(), resolved) == nullptr) return path;
  return std::string(resolved) + "/" + path.substr(slash == std::string::npos ? 0 : slash + 1);
}

// Whether two names reach the same file: the same device and inode when both
// exist (so hard and symbolic links count), otherwise the same resolved name.
bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  const bool hasA = ::stat(a.c_str(), &sa) == 0, hasB = ::stat(b.c_str(), &sb) == 0;
  if (hasA && hasB) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  if (hasA != hasB) return false;
  return AbsoluteName(a) == AbsoluteName(b);
}

// An output must not overwrite the picture or another output.
bool OutputsAreDistinct(const CliOptions& opt, std::string& error) {
  const std::string* outs[] = {&opt.output, &opt.moves, &opt.exportFile, &opt.savePicture};
  for (size_t i = 0; i < std::size(outs); ++i) {
    if (outs[i]->empty()) continue;
    if (SameFile(*outs[i], opt.picture)) {
      error = "the output " + *outs[i] + " is the picture";
      return false;
    }
    for (size_t j = 0; j < i; ++j) {
      if (!outs[j]->empty() && SameFile(*outs[i], *outs[j])) {
        error = "the outputs name the same file " + *outs[i];
        return false;
      }
    }
  }
  return true;
}

// Every output goes to a temporary file first; only when all of them are
// written do they replace their targets, so a failing one leaves no other
// behind. The texts are the line stores' own buffers; `staged` holds the
// run's own files (prepared picture, export).
bool WriteOutputs(const std::vector<std::pair<std::string, std::string_view>>& outputs,
                  std::vector<StagedFile> staged) {
  for (const auto& [path, text] : outputs) {
    StagedFile f;
    if (!StageFile(path, text, f)) {
      DiscardStagedFiles(staged);
      std::fprintf(stderr, "%s\n", CannotCreateFileText(path).c_str());
      return false;
    }
    staged.push_back(std::move(f));
  }
  if (CommitStagedFiles(staged)) return true;
  std::fprintf(stderr, "%s\n", CannotCreateFileText(staged.front().target).c_str());
  return false;
}

int Run(int argc, char** argv) {
  CliOptions opt;
  std::string usageError;
  if (!ParseCliOptions(argc, argv, opt, usageError)) {
    if (!usageError.empty()) std::fprintf(stderr, "korvane-cli: %s\n", usageError.c_str());
    std::fputs(kCliUsage, stderr);
    return 2;
  }
  if (opt.help) {
    std::fputs("korvane-cli " KORVANE_VERSION "\n", stdout);
    std::fputs(kCliUsage, stdout);
    return 0;
  }
  if (!OutputsAreDistinct(opt, usageError)) {
    std::fprintf(stderr, "korvane-cli: %s\n", usageError.c_str());
    std::fputs(kCliUsage, stderr);
    return 2;
  }
  auto started = std::chrono::steady_clock::now();

  Job job;
  FixedAnswers ui(true);  // every question answered Yes; messages go to stderr
  TerminalProgress progress(!opt.quiet && ::isatty(2));

  // Settings and profile. Messages of the settings store (a missing
  // language file, say) concern the desktop program only; a settings file
  // that is there but cannot be read is reported, and reads as missing.
  std::string configDir = ResolveConfigDir(opt.configDir);
  std::string error;
  if (!EnsureConfigDir(configDir, &error)) {
    std::fprintf(stderr, "korvane-cli: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& file : UnreadableSettingsFiles(configDir))
    std::fprintf(stderr, "%s\n", UnreadableSettingsFileText(file).c_str());
  {
    FixedAnswers quietUi;
    StartSettings(job, configDir, ExecutableDir(), quietUi);
  }
  if (!opt.profile.empty() && !ActivateProfile(job, opt.profile)) {
    std::fprintf(stderr, "korvane-cli: no profile '%s'\n", opt.profile.c_str());
    std::fputs(kCliUsage, stderr);
    return 2;
  }

  // Picture: the traced types need only its compact form, unless it is to
  // be prepared or saved, which works on the full picture.
  const bool traced = opt.contour == ContourType::Outline || opt.contour == ContourType::CentreLine;
  const bool compact = traced && opt.prepare.empty() && opt.savePicture.empty();
  if (!(compact ? OpenPictureCompact(job, opt.picture, error)
               : OpenPictureFile(job, opt.picture, error))) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }

  BatchOptions batch;
  batch.contour = opt.contour;
  batch.threshold = opt.threshold;
  batch.scale = opt.scale;
  batch.origin = ToPlacement(opt.origin);
  batch.diameter = opt.diameter;
  batch.diameterText = opt.diameterText;
  batch.followLines = opt.followLines;
  batch.optimise = opt.optimise;
  batch.allowReverse = !opt.noReverse;
  batch.moveList = !opt.moves.empty();
  batch.exportFile = opt.exportFile;
  batch.prepare = opt.prepare;
  batch.savePicture = opt.savePicture;
  batch.stopAfterSave = opt.output.empty() && opt.exportFile.empty();
  if (!opt.quiet) {
    batch.beforeThreshold = [](int threshold) {
      std::fprintf(stderr, "Picture is not black and white: threshold %d applied.\n", threshold);
    };
  }
  BatchResult r = RunBatch(job, batch, ui, progress);
  progress.finish();
  if (r.outcome == BatchResult::Outcome::PictureSaved) return WriteOutputs({}, std::move(r.staged)) ? 0 : 1;
  if (r.outcome == BatchResult::Outcome::PrepareFailed) {
    std::fprintf(stderr, "korvane-cli: %s\n", r.error.c_str());
    return 1;
  }
  // Messages of the run come before the reason it stopped; a rebuild that
  // failed during post-processing reports only its reason.
  const bool postProcessed = r.lines || r.way;
  if (r.outcome == BatchResult::Outcome::NotAccepted ||
      (r.outcome == BatchResult::Outcome::BuildFailed && !postProcessed)) {
    for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", m.c_str());
  }
  if (r.outcome == BatchResult::Outcome::NotAccepted) {
    std::fprintf(stderr, "korvane-cli: the conversion was not completed\n");
    return 1;
  }
  if (r.outcome == BatchResult::Outcome::BuildFailed) {
    std::fprintf(stderr, "%s\n", r.error.c_str());
    return 1;
  }
  for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", m.c_str());
  if (r.outcome == BatchResult::Outcome::ExportFailed) {
    std::fprintf(stderr, "%s\n", r.error.c_str());
    return 1;
  }
  if (job.segments.count() == 0)
    std::fprintf(stderr, "korvane-cli: no contour found (no black pixels): the program has no moves\n");
  std::string extra;
  if (r.lines) {
    extra += ", line following " + std::to_string(r.lines->countBefore) + " -> " +
             std::to_string(job.segments.count()) + " segments";
  }
  if (r.way) {
    extra += ", path " + FormatFixed(r.way->totalBefore, 3) + " -> " +
             FormatFixed(r.way->kept ? r.way->totalAfter : r.way->totalBefore, 3) + " px";
  }

  std::vector<std::pair<std::string, std::string_view>> outputs;
  if (!opt.output.empty()) outputs.emplace_back(opt.output, job.ncLines.text());
  if (!opt.moves.empty()) outputs.emplace_back(opt.moves, job.moveList.text());
  if (!WriteOutputs(outputs, std::move(r.staged))) return 1;
  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (!opt.quiet)
    std::fprintf(stderr, "%d segments, %zu NC lines%s, %.2f s -> %s\n", job.segments.count(),
                 job.ncLines.size(), extra.c_str(), secs,
                 (opt.output.empty() ? opt.exportFile : opt.output).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A picture or a result too large for the memory left is a message and
  // exit status 1, never an abort.
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "%s\n", korvane::kConvertOutOfMemoryText);
    return 1;
  }
}
