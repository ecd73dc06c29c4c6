// Whole-picture operations of the correction and filter dialogs and the
// geometric commands on a 4096 x 4096 photo-like picture (the size of a large
// scan). Each must stay under 60 ms so that a slider or a button feels
// immediate. Pictures are allocated and touched once before timing, as the
// dialogs' working and accepted images are; the baseline is one plain copy of
// the picture, the step every preview already pays.
//
// usage: imageops_bench [REPEATS]
// Prints one line per operation: fastest and median time in milliseconds and
// the ratio of the fastest to the fastest copy.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "image/imageops.h"

namespace {

using namespace korvane;

Picture PhotoLike(int32_t w, int32_t h) {
  Picture p;
  p.resize(w, h, 0);
  uint32_t seed = 12345;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const uint32_t noise = seed >> 28;
      const uint32_t r = (x * 255 / w + noise) & 0xFF;
      const uint32_t g = (y * 255 / h + noise) & 0xFF;
      const uint32_t b = ((x + y) * 127 / (w + h) + noise) & 0xFF;
      p.at(x, y) = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
  return p;
}

struct Timing {
  double best, median;
};

Timing Measure(int repeats, const std::function<void()>& op) {
  std::vector<double> ms;
  for (int i = 0; i < repeats; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    op();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                     .count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  constexpr int32_t kSide = 4096;
  const Picture accepted = PhotoLike(kSide, kSide);
  Picture working = accepted;
  Picture other = accepted;  // destination of rotation and resize, touched once
  uint32_t sink = 0;

  struct Case {
    const char* name;
    std::function<void()> op;
  };
  const ToneTable table = BuildLevelsTable(30, 40, -50);
  const std::vector<Case> cases = {
      {"copy (baseline)", [&] { working = accepted; }},
      {"levels table + apply", [&] {
         ApplyToneTable(accepted, BuildLevelsTable(30, 40, -50), working);
       }},
      {"levels apply in place", [&] { ApplyToneTable(working, table, working); }},
      {"filter grenzwert", [&] { Convolve3x3(KernelOf(FilterKind::Grenzwert), working); }},
      {"filter scharf", [&] { Convolve3x3(KernelOf(FilterKind::Scharf), working); }},
      {"filter kanten", [&] { Convolve3x3(KernelOf(FilterKind::Kanten), working); }},
      {"filter praegen", [&] { Convolve3x3(KernelOf(FilterKind::Praegen), working); }},
      {"filter weich", [&] { Convolve3x3(KernelOf(FilterKind::Weich), working); }},
      {"grey", [&] { GreyImage(working); }},
      {"invert", [&] { InvertImage(working); }},
      {"rotate right", [&] { RotateRight(other, working); }},
      {"mirror left-right", [&] { MirrorLeftRight(other, working); }},
      {"mirror top-bottom", [&] { MirrorTopBottom(other, working); }},
      {"resize 4096x4096 -> 2896x2896", [&] { ResizeNearest(working, 2896, 2896, other); }},
      {"resize 4096x4096 -> 4096x4096", [&] { ResizeNearest(accepted, 4096, 4096, other); }},
  };
  double copyBest = 0;
  for (const Case& c : cases) {
    // Start every case from the same picture and size.
    working = accepted;
    other = accepted;
    const Timing t = Measure(repeats, c.op);
    if (copyBest == 0) copyBest = t.best;
    sink += working.px[12345] ^ other.px[54321];
    std::printf("imageops %-32s %dx%d: best %7.2f ms, median %7.2f ms, %.2fx copy\n", c.name,
                kSide, kSide, t.best, t.median, t.best / copyBest);
  }
  std::printf("(checksum %u)\n", sink);
  return 0;
}
