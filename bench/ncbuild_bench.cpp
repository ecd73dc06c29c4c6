// NC build of 100,000 traced segments: many closed outlines of round blobs,
// one-pixel steps along each outline, jumps between the blobs. Prints the
// time of each build and the peak resident memory of the process.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/interaction.h"
#include "core/convert.h"
#include "core/job.h"
#include "ncout/ncbuild.h"

namespace {

using korvane::Job;

void SetTemplate(Job& job, korvane::TemplateKind kind, std::vector<std::string> lines) {
  for (size_t i = 0; i < lines.size(); ++i) job.active.templates[kind][i] = lines[i];
}

// Outlines of blobs on a grid, as a tracer leaves them: whole pixel
// coordinates, each step one pixel in x, y or both, every outline closed.
void FillTracedBlobs(korvane::SegmentList& list, int32_t target) {
  const double kPi = 3.14159265358979323846;
  int blob = 0;
  while (list.count() < target) {
    const int cx = 60 + (blob % 40) * 100, cy = 60 + (blob / 40) * 100;
    const double r = 8 + (blob * 37 % 35);
    ++blob;
    std::vector<std::pair<int, int>> pts;
    const int steps = static_cast<int>(8 * r);
    for (int i = 0; i <= steps; ++i) {
      const double a = 2 * kPi * i / steps;
      const std::pair<int, int> p{cx + static_cast<int>(std::lround(r * std::cos(a))),
                                  cy + static_cast<int>(std::lround(r * std::sin(a)))};
      if (pts.empty() || pts.back() != p) pts.push_back(p);
    }
    for (size_t i = 1; i < pts.size() && list.count() < target; ++i) {
      list.append(pts[i - 1].first, pts[i - 1].second, pts[i].first, pts[i].second);
    }
  }
}

long PeakKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

}  // namespace

int main() {
  Job job;
  SetTemplate(job, korvane::kSynS, {"%", "G90 G21", "G0 Z[#RVAL]"});
  SetTemplate(job, korvane::kSynR, {"G0 Z[#RVAL]"});
  SetTemplate(job, korvane::kSynA, {"G0 X[#XVAL] Y[#YVAL]"});
  SetTemplate(job, korvane::kSynZ, {"G1 Z[#ZVAL] F[#F1VAL]"});
  SetTemplate(job, korvane::kSynXY, {"G1 X[#XVAL] Y[#YVAL] F[#F2VAL]"});
  SetTemplate(job, korvane::kSynE, {"M5", "-M30", "-%"});
  job.active.REbene = "5";
  job.active.ZEbene = "-0.5";
  job.active.VorschubZ = "100";
  job.active.VorschubXY = "600";
  job.active.Satznum = true;
  job.active.format.Satzzeichen = "N";
  job.active.format.Start = 10;
  job.active.format.Schritt = 10;
  job.active.format.Dezipunkt = true;
  job.active.format.Nachkommastellen = 3;
  job.joinGap = 1;
  FillTracedBlobs(job.segments, 100000);
  job.rect = korvane::FindWayRect(job.segments);
  std::printf("segments: %d\n", job.segments.count());

  korvane::NullProgress progress;
  const struct {
    const char* name;
    long double scale;
    const char* xOffset;
  } variants[] = {{"scale 0.1, offsets 0 (decimals)", 0.1L, "0"},
                  {"scale 1, offsets 0 (whole numbers)", 1.0L, "0"},
                  {"scale 0.0254, offset 12.7 (decimals)", 0.0254L, "12.7"}};
  for (const auto& v : variants) {
    job.scale = v.scale;
    job.xOffsetText = v.xOffset;
    std::vector<double> ms;
    for (int run = 0; run < 5; ++run) {
      const auto t0 = std::chrono::steady_clock::now();
      const korvane::NCBuildResult r = korvane::ConvertToNC(job, progress);
      const auto t1 = std::chrono::steady_clock::now();
      if (!r.ok()) {
        std::printf("build failed: %s\n", r.error.c_str());
        return 1;
      }
      ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s NC lines %zu, move lines %zu: min %.1f ms, median %.1f ms, max %.1f ms\n",
                v.name, job.ncLines.size(), job.moveList.size(), ms.front(), ms[ms.size() / 2],
                ms.back());
  }
  const std::string_view last = job.ncLines.back();
  std::printf("last NC line: %.*s\n", static_cast<int>(last.size()), last.data());
  std::printf("peak resident memory: %ld KiB\n", PeakKiB());
  return 0;
}
