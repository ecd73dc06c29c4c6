// Path optimisation of traced-contour-like lists: wall time and peak memory.
//   build-x/bench/pathopt_bench [segments] [paths|records|star] [swap|noswap] [--reference]
// "paths" scrambles the order of whole paths (as a trace leaves them), "records"
// scrambles every record, "star" is a flood of exact ties: every record starts
// at one centre point and ends somewhere around it. --reference also runs the plain quadratic
// search on the same list, times it and checks that both give the identical list.
#include <cstdio>
#include <cstring>
#include <string>

#include "../tests/contour/pathopt_reference.h"
#include "contour/pathopt.h"
#include "core/postprocess.h"
#include "core/job.h"
#include "traced_contours.h"

using namespace korvane;

int main(int argc, char** argv) {
  int32_t n = 100000;
  bool shuffleRecords = false, star = false, allowSwap = true, withReference = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "records")
      shuffleRecords = true;
    else if (a == "paths")
      shuffleRecords = false;
    else if (a == "star")
      star = true;
    else if (a == "swap")
      allowSwap = true;
    else if (a == "noswap")
      allowSwap = false;
    else if (a == "--reference")
      withReference = true;
    else
      n = std::atoi(argv[i]);
  }
  Job job;
  if (star) {
    std::mt19937 rng(3);
    for (int32_t i = 0; i < n; ++i) {
      job.segments.append(2048, 2048, 1048 + static_cast<int>(rng() % 2001),
                          1048 + static_cast<int>(rng() % 2001));
    }
  } else {
    bench::TracedContours(job.segments, n, 7, shuffleRecords);
  }
  if (job.segments.count() < n) return 2;
  // The reference works on its own copy, taken only with --reference: without
  // it the peak memory shows the list and the command alone.
  std::vector<Segment> input;
  if (withReference) input.assign(job.segments.data(), job.segments.data() + n);
  const long rssBefore = bench::PeakRssKiB();

  FixedAnswers yes(true);
  NullProgress progress;
  auto t0 = std::chrono::steady_clock::now();
  const WayOptimizeResult r = WayOptimizer(job, allowSwap, false, yes, progress);
  const double fast = bench::SecondsSince(t0);
  std::printf("path optimisation, %d segments, %s, reversal %s\n", n,
              star             ? "star of ties"
              : shuffleRecords ? "records scrambled"
                               : "paths scrambled",
              allowSwap ? "on" : "off");
  std::printf("  total path %.3Lf -> %.3Lf\n", r.totalBefore, r.totalAfter);
  std::printf("  WayOptimizer: %.3f s, peak RSS %ld KiB (%ld KiB before the command)\n", fast,
              bench::PeakRssKiB(), rssBefore);

  if (withReference) {
    std::vector<Segment>& ref = input;
    t0 = std::chrono::steady_clock::now();
    reference::OptimizeOrder(ref, allowSwap);
    const double plain = bench::SecondsSince(t0);
    bool same = static_cast<int32_t>(ref.size()) == job.segments.count();
    for (size_t i = 0; same && i < ref.size(); ++i) {
      const Segment& a = ref[i];
      const Segment& b = job.segments[static_cast<int32_t>(i)];
      same = a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.done == b.done;
    }
    std::printf("  plain quadratic search: %.3f s, identical list: %s\n", plain,
                same ? "yes" : "NO");
    return same ? 0 : 1;
  }
  return 0;
}
