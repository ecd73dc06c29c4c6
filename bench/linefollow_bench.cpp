// Line following of traced-contour-like lists: wall time and peak memory.
//   build-x/bench/linefollow_bench [segments]
#include <cstdio>
#include <cstdlib>

#include "contour/linefollow.h"
#include "core/postprocess.h"
#include "core/job.h"
#include "traced_contours.h"

using namespace korvane;

int main(int argc, char** argv) {
  const int32_t n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  Job job;
  bench::TracedContours(job.segments, n, 11, false);
  if (job.segments.count() < n) return 2;
  const long rssBefore = bench::PeakRssKiB();

  FixedAnswers yes(true);
  NullProgress progress;
  const auto t0 = std::chrono::steady_clock::now();
  const LineFollowResult r = FindLines(job, yes, progress);
  const double secs = bench::SecondsSince(t0);
  std::printf("line following, %d segments: %d -> %d\n", n, r.countBefore, r.countAfter);
  std::printf("  FindLines: %.3f s, peak RSS %ld KiB (%ld KiB before the command)\n", secs,
              bench::PeakRssKiB(), rssBefore);
  return 0;
}
