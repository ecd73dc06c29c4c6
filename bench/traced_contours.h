#pragma once
// Traced-contour-like segment lists for the post-processing benchmarks: closed
// paths of varied size scattered over a 4096 x 4096 picture. Half are pixel
// outlines of blobs (unit steps, as outline tracing gives them), half polygons
// with longer edges (as line following leaves them). Paths come in scrambled
// order, each starting at a random record, about half of them reversed.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "base/segments.h"

namespace korvane::bench {

// Appends `target` records to `out`. The paths are generated one by one in
// their scrambled order, straight into the list, so that the list itself is all
// the memory the input takes.
inline void TracedContours(SegmentList& out, int32_t target, uint32_t seed, bool shuffleRecords) {
  struct PathShape {
    double cx, cy, r;
    uint32_t seed;
  };
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<PathShape> shapes;
  double estimate = 0;
  while (estimate < 1.5 * target + 100) {
    PathShape ps{64 + unit(rng) * 3968, 64 + unit(rng) * 3968, 2 + 58 * unit(rng) * unit(rng),
                 static_cast<uint32_t>(rng())};
    estimate += ps.seed % 2 == 0 ? 8 * ps.r : 3;
    shapes.push_back(ps);
  }
  std::shuffle(shapes.begin(), shapes.end(), rng);

  out.clear();
  out.reserve(target);
  std::vector<Segment> p;
  auto add = [&p](long double x1, long double y1, long double x2, long double y2) {
    Segment s;
    s.x1 = x1;
    s.y1 = y1;
    s.x2 = x2;
    s.y2 = y2;
    p.push_back(s);
  };
  for (const PathShape& ps : shapes) {
    if (out.count() >= target) break;
    std::mt19937 prng(ps.seed);
    p.clear();
    const double cx = ps.cx, cy = ps.cy, r = ps.r;
    if (ps.seed % 2 == 0) {
      // Pixel outline of a wobbly disc: unit steps between rounded boundary points.
      const int n = std::max(8, static_cast<int>(r * 6));
      const double wob = 0.3 * unit(prng);
      long double x = std::lround(cx + r), y = std::lround(cy);
      const long double x0 = x, y0 = y;
      for (int k = 1; k <= n; ++k) {
        const double a = 6.283185307179586 * k / n;
        const double rr = r * (1 + wob * std::sin(3 * a));
        const long double tx = k == n ? x0 : std::lround(cx + rr * std::cos(a));
        const long double ty = k == n ? y0 : std::lround(cy + rr * std::sin(a));
        while (x != tx) {
          const long double nx = x + (tx > x ? 1 : -1);
          add(x, y, nx, y);
          x = nx;
        }
        while (y != ty) {
          const long double ny = y + (ty > y ? 1 : -1);
          add(x, y, x, ny);
          y = ny;
        }
      }
    } else {
      // Polygon with longer edges.
      const int n = 3 + static_cast<int>(prng() % 40);
      std::vector<std::pair<long double, long double>> v;
      for (int k = 0; k < n; ++k) {
        const double a = 6.283185307179586 * k / n;
        const double rr = r * (0.6 + 0.4 * unit(prng));
        v.emplace_back(std::lround(cx + rr * std::cos(a)), std::lround(cy + rr * std::sin(a)));
      }
      for (int k = 0; k < n; ++k) {
        const auto& a = v[static_cast<size_t>(k)];
        const auto& b = v[static_cast<size_t>((k + 1) % n)];
        if (a != b) add(a.first, a.second, b.first, b.second);
      }
    }
    if (p.empty()) continue;
    std::rotate(p.begin(), p.begin() + static_cast<long>(prng() % p.size()), p.end());
    if (prng() % 2 == 0) {
      std::reverse(p.begin(), p.end());
      for (Segment& s : p) {
        std::swap(s.x1, s.x2);
        std::swap(s.y1, s.y2);
      }
    }
    for (const Segment& s : p) {
      if (out.count() >= target) break;
      out.append(s);
    }
  }
  if (shuffleRecords) std::shuffle(out.data(), out.data() + out.count(), rng);
}

inline long PeakRssKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

inline double SecondsSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace korvane::bench
