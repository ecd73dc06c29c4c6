// Centre line of a 2000 x 1500 line drawing, and the two surface scans of the
// same picture: wall time per run and peak memory (getrusage).
//   build-x/bench/centreline_bench [runs]
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "contour/centreline.h"
#include "contour/scan.h"
#include "core/job.h"

using namespace korvane;

namespace {

// Strokes 1 to 5 pixels wide: straight lines at any angle, circles and
// rectangle outlines, as a scanned line drawing has them.
Picture Drawing(int32_t w, int32_t h) {
  Picture p;
  p.resize(w + 2, h + 2, kWhite);  // with the white frame of the run
  std::mt19937 rng(1500);
  auto dot = [&](int32_t cx, int32_t cy, int32_t t) {
    for (int32_t y = cy; y < cy + t; ++y)
      for (int32_t x = cx; x < cx + t; ++x)
        if (x >= 1 && y >= 1 && x <= w && y <= h) p.at(x, y) = kBlack;
  };
  auto line = [&](double x0, double y0, double x1, double y1, int32_t t) {
    const int n = static_cast<int>(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) + 1;
    for (int i = 0; i <= n; ++i)
      dot(static_cast<int32_t>(x0 + (x1 - x0) * i / n),
          static_cast<int32_t>(y0 + (y1 - y0) * i / n), t);
  };
  for (int i = 0; i < 300; ++i) {
    const int32_t t = 1 + static_cast<int32_t>(rng() % 5);
    const double x0 = rng() % w, y0 = rng() % h;
    switch (rng() % 3) {
      case 0:
        line(x0, y0, x0 + static_cast<int>(rng() % 600) - 300,
             y0 + static_cast<int>(rng() % 600) - 300, t);
        break;
      case 1: {
        const double r = 10 + rng() % 120;
        const int n = static_cast<int>(r * 7);
        for (int k = 0; k < n; ++k)
          dot(static_cast<int32_t>(x0 + r * std::cos(k * 6.2831853 / n)),
              static_cast<int32_t>(y0 + r * std::sin(k * 6.2831853 / n)), t);
        break;
      }
      default: {
        const double a = 20 + rng() % 200, b = 20 + rng() % 200;
        line(x0, y0, x0 + a, y0, t);
        line(x0 + a, y0, x0 + a, y0 + b, t);
        line(x0 + a, y0 + b, x0, y0 + b, t);
        line(x0, y0 + b, x0, y0, t);
      }
    }
  }
  return p;
}

long PeakKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

template <class F>
double Seconds(F&& f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
  const Picture drawing = Drawing(2000, 1500);
  Picture unframed;
  unframed.resize(2000, 1500, kWhite);
  for (int32_t y = 0; y < 1500; ++y)
    for (int32_t x = 0; x < 2000; ++x) unframed.at(x, y) = drawing.at(x + 1, y + 1);
  std::printf("picture 2000 x 1500, peak before runs %ld KiB\n", PeakKiB());

  NullProgress progress;
  FixedAnswers ui(true);
  for (int r = 0; r < runs; ++r) {
    {
      Job job;
      Picture img = drawing;
      const double s = Seconds([&] { ScanInline(img, job.segments, job.scanStep, job.cancelRequested, progress, ui); });
      std::printf("centre line      %.3f s  %d segments\n", s, job.segments.count());
    }
    {
      Job job;
      Picture img = unframed;
      const double s = Seconds([&] { BMPAbtasten(img, job.segments, job.scanStep, job.cancelRequested, progress); });
      std::printf("scan             %.3f s  %d segments\n", s, job.segments.count());
    }
    {
      Job job;
      Picture img = unframed;
      const double s = Seconds([&] { BMPAbtastNeg(img, job.segments, job.scanStep, job.cancelRequested, progress); });
      std::printf("scan (negative)  %.3f s  %d segments\n", s, job.segments.count());
    }
  }
  std::printf("peak memory %ld KiB\n", PeakKiB());
  return 0;
}
