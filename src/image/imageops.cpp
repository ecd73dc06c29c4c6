#include "image/imageops.h"

// The pixel loops are written to be vectorised; -O2 alone leaves most of them scalar.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("O3")
#endif

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "image/decode.h"

namespace korvane {

void SetSizeUninitialised(Picture& p, int32_t w, int32_t h) {
  p.width = w;
  p.height = h;
  p.px.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
}

ToneTable BuildLevelsTable(int brightness, int contrast, int gamma, int low, int mid, int high,
                           int rangeLow, int rangeHigh) {
  // Every named value is a float, so each step rounds to single precision.
  const float b = static_cast<float>(brightness) / 100.0f;
  const float c = static_cast<float>(contrast) / 100.0f;
  const float g = std::pow(10.0f, static_cast<float>(gamma) / 200.0f);
  const float l = static_cast<float>(low) / 255.0f;
  const float m = static_cast<float>(mid) / 255.0f;
  const float h = static_cast<float>(high) / 255.0f;
  const float rl = static_cast<float>(rangeLow) / 255.0f;
  const float rh = static_cast<float>(rangeHigh) / 255.0f;
  ToneTable table{};
  for (int i = 0; i < 256; ++i) {
    const float x = static_cast<float>(i) / 255.0f;
    float r;
    if (x < l) {
      r = 0.0f;
    } else if (x > h) {
      r = 1.0f;
    } else {
      float t;
      if (x < m) {
        t = ((x - l) / 2.0f) / (m - l);
      } else {
        t = ((x - m) / 2.0f) / (h - m) + 0.5f;
      }
      // g is exactly 1 only at gamma 0, where the power must be exact.
      const float v = g == 1.0f ? t : (t == 0.0f ? 0.0f : std::pow(t, g));
      r = (1.0f + c) * (v - 0.5f) + 0.5f;
      r = r + b;
      if (r < rl) {
        r = rl;
      } else if (r > rh) {
        r = rh;
      }
    }
    const float scaled = r * 255.0f;
    // rint rounds ties to even in the default rounding mode.
    table[static_cast<size_t>(i)] = static_cast<uint8_t>(std::rint(scaled));
  }
  return table;
}

void ApplyToneTable(const Picture& src, const ToneTable& table, Picture& dst) {
  if (&dst != &src) SetSizeUninitialised(dst, src.width, src.height);
  const uint32_t* s = src.px.data();
  uint32_t* d = dst.px.data();
  const size_t n = src.px.size();
  const uint8_t* t = table.data();
  for (size_t i = 0; i < n; ++i) {
    const uint32_t p = s[i];
    d[i] = 0xFF000000u | (uint32_t{t[(p >> 16) & 0xFF]} << 16) | (uint32_t{t[(p >> 8) & 0xFF]} << 8) |
           uint32_t{t[p & 0xFF]};
  }
}

const FilterKernel& KernelOf(FilterKind kind) {
  static const FilterKernel kKernels[] = {
      {{-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1},   // Grenzwert
      {{-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1},   // Hipass
      {{1, 1, 1, 1, -2, 1, -1, -1, -1}, 1},       // Kanten
      {{-1, -1, -1, -1, 16, -1, -1, -1, -1}, 8},  // Scharf
      {{1, 0, 1, 0, 0, 0, 1, 0, -2}, 1},          // Prägen
      {{2, 2, 2, 2, 0, 2, 2, 2, 2}, 16},          // Weich
  };
  return kKernels[static_cast<int>(kind)];
}

namespace {

// One source row split into three channel planes.
struct PlanarRow {
  std::vector<int32_t> ch[3];  // red, green, blue
  void resize(size_t w) {
    for (auto& c : ch) c.resize(w);
  }
  void load(const uint32_t* row, size_t w) {
    int32_t* r = ch[0].data();
    int32_t* g = ch[1].data();
    int32_t* b = ch[2].data();
    for (size_t x = 0; x < w; ++x) {
      const uint32_t p = row[x];
      r[x] = static_cast<int32_t>((p >> 16) & 0xFF);
      g[x] = static_cast<int32_t>((p >> 8) & 0xFF);
      b[x] = static_cast<int32_t>(p & 0xFF);
    }
  }
};

inline uint32_t ClampChannel(int32_t v) {
  return v > 254 ? 255u : v < 1 ? 0u : static_cast<uint32_t>(v);
}

// Sums of one channel for the interior columns 1 .. w-2 into `sum`.
inline void ChannelSums(const std::array<int32_t, 9>& k, const int32_t* a, const int32_t* b,
                        const int32_t* c, size_t w, int32_t* sum) {
  const int32_t k0 = k[0], k1 = k[1], k2 = k[2], k3 = k[3], k4 = k[4], k5 = k[5], k6 = k[6],
                k7 = k[7], k8 = k[8];
  for (size_t x = 1; x + 1 < w; ++x) {
    sum[x] = k0 * a[x - 1] + k1 * a[x] + k2 * a[x + 1] + k3 * b[x - 1] + k4 * b[x] +
             k5 * b[x + 1] + k6 * c[x - 1] + k7 * c[x] + k8 * c[x + 1];
  }
}

void DivideClampAny(const int32_t* sr, const int32_t* sg, const int32_t* sb, size_t w, int32_t d,
                    uint32_t* out) {
  for (size_t x = 1; x + 1 < w; ++x) {
    out[x] = 0xFF000000u | (ClampChannel(sr[x] / d) << 16) | (ClampChannel(sg[x] / d) << 8) |
             ClampChannel(sb[x] / d);
  }
}

}  // namespace

namespace {

// Fast pass: every byte of a row is a lane, a pixel's neighbours are 4 bytes
// away, and all sums fit 16 bits. The alpha lanes are computed too and then
// forced to 255.
using V8i16 = int16_t __attribute__((vector_size(16)));
using V8u8 = uint8_t __attribute__((vector_size(8)));

inline V8i16 Load8(const int16_t* p) {
  V8i16 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void WidenRow(const uint32_t* row, size_t w, int16_t* out) {
  const uint8_t* b = reinterpret_cast<const uint8_t*>(row);
  const size_t n = 4 * w;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    V8u8 u;
    std::memcpy(&u, b + i, sizeof u);
    const V8i16 v = __builtin_convertvector(u, V8i16);
    std::memcpy(out + i, &v, sizeof v);
  }
  for (; i < n; ++i) out[i] = b[i];
}

// Divides, clamps and packs the lanes of one row: `vecSum(i)` gives the sums
// of bytes i .. i+7, `sum(i)` the sum of byte i for the tail.
template <int kShift, typename VecSum, typename Sum>
void FinishRow16(size_t w, int32_t divisor, uint32_t* outRow, VecSum vecSum, Sum sum) {
  uint8_t* out = reinterpret_cast<uint8_t*>(outRow);
  const V8i16 alpha = {0, 0, 0, 255, 0, 0, 0, 255};
  const V8i16 zero = {0, 0, 0, 0, 0, 0, 0, 0};
  const V8i16 top = {255, 255, 255, 255, 255, 255, 255, 255};
  const size_t end = 4 * (w - 1);  // first byte of the last column
  size_t i = 4;
  for (; i + 8 <= end; i += 8) {
    V8i16 s = vecSum(i);
    if constexpr (kShift > 0) {
      s = (s + ((s >> 15) & static_cast<int16_t>((1 << kShift) - 1))) >> kShift;
    } else if constexpr (kShift < 0) {
      s = s / static_cast<int16_t>(divisor);
    }
    s = s < zero ? zero : s;
    s = s > top ? top : s;
    s |= alpha;
    const V8u8 u = __builtin_convertvector(s, V8u8);
    std::memcpy(out + i, &u, sizeof u);
  }
  for (; i < end; ++i)
    out[i] = (i & 3) == 3 ? 255 : static_cast<uint8_t>(ClampChannel(sum(i) / divisor));
}

// Any kernel: nine products per byte.
template <int kShift>
void ConvolveRow16(const std::array<int32_t, 9>& k, const int16_t* a, const int16_t* b,
                   const int16_t* c, size_t w, int32_t divisor, uint32_t* out) {
  const auto k0 = static_cast<int16_t>(k[0]), k1 = static_cast<int16_t>(k[1]),
             k2 = static_cast<int16_t>(k[2]), k3 = static_cast<int16_t>(k[3]),
             k4 = static_cast<int16_t>(k[4]), k5 = static_cast<int16_t>(k[5]),
             k6 = static_cast<int16_t>(k[6]), k7 = static_cast<int16_t>(k[7]),
             k8 = static_cast<int16_t>(k[8]);
  FinishRow16<kShift>(
      w, divisor, out,
      [&](size_t i) {
        return k0 * Load8(a + i - 4) + k1 * Load8(a + i) + k2 * Load8(a + i + 4) +
               k3 * Load8(b + i - 4) + k4 * Load8(b + i) + k5 * Load8(b + i + 4) +
               k6 * Load8(c + i - 4) + k7 * Load8(c + i) + k8 * Load8(c + i + 4);
      },
      [&](size_t i) {
        return k[0] * a[i - 4] + k[1] * a[i] + k[2] * a[i + 4] + k[3] * b[i - 4] + k[4] * b[i] +
               k[5] * b[i + 4] + k[6] * c[i - 4] + k[7] * c[i] + k[8] * c[i + 4];
      });
}

// Kernels with one weight n on all eight neighbours and m in the centre:
// n * (sum of the 3x3 box) + (m - n) * centre, from the rows' sums of three.
template <int kShift>
void ConvolveRowBox16(int16_t n, int16_t centre, const int16_t* ta, const int16_t* b,
                      const int16_t* tb, const int16_t* tc, size_t w, int32_t divisor,
                      uint32_t* out) {
  FinishRow16<kShift>(
      w, divisor, out,
      [&](size_t i) {
        return n * (Load8(ta + i) + Load8(tb + i) + Load8(tc + i)) + centre * Load8(b + i);
      },
      [&](size_t i) { return n * (ta[i] + tb[i] + tc[i]) + centre * b[i]; });
}

// triple[i] = row[i - 4] + row[i] + row[i + 4] for the interior bytes.
void TripleSums(const int16_t* row, size_t w, int16_t* triple) {
  for (size_t i = 4; i + 4 < 4 * w; ++i) triple[i] = row[i - 4] + row[i] + row[i + 4];
}

// The box form also needs its own partial sums to fit 16 bits.
bool IsBoxKernel(const std::array<int32_t, 9>& k) {
  for (size_t i = 0; i < 9; ++i)
    if (i != 4 && k[i] != k[0]) return false;
  const int64_t n = k[0] < 0 ? -int64_t{k[0]} : int64_t{k[0]};
  const int64_t m = k[4] - int64_t{k[0]};
  return (9 * n + (m < 0 ? -m : m)) * 255 <= 32767;
}

void Convolve3x3Fast(const std::array<int32_t, 9>& kernel, uint16_t divisor, Picture& picture) {
  const size_t w = static_cast<size_t>(picture.width);
  const bool box = IsBoxKernel(kernel);
  // Three widened rows and, for box kernels, their sums of three.
  std::vector<int16_t> rows(6 * 4 * w);
  int16_t* row[3] = {rows.data(), rows.data() + 4 * w, rows.data() + 8 * w};
  int16_t* triple[3] = {rows.data() + 12 * w, rows.data() + 16 * w, rows.data() + 20 * w};
  uint32_t* base = picture.px.data();
  for (int k = 0; k < 2; ++k) {
    WidenRow(base + static_cast<size_t>(k) * w, w, row[k]);
    if (box) TripleSums(row[k], w, triple[k]);
  }
  const auto n = static_cast<int16_t>(kernel[0]);
  const auto centre = static_cast<int16_t>(kernel[4] - kernel[0]);
  for (int32_t y = 1; y + 1 < picture.height; ++y) {
    WidenRow(base + static_cast<size_t>(y + 1) * w, w, row[2]);
    uint32_t* out = base + static_cast<size_t>(y) * w;
    if (box) {
      TripleSums(row[2], w, triple[2]);
      switch (divisor) {
        case 1: ConvolveRowBox16<0>(n, centre, triple[0], row[1], triple[1], triple[2], w, divisor, out); break;
        case 8: ConvolveRowBox16<3>(n, centre, triple[0], row[1], triple[1], triple[2], w, divisor, out); break;
        case 16: ConvolveRowBox16<4>(n, centre, triple[0], row[1], triple[1], triple[2], w, divisor, out); break;
        default: ConvolveRowBox16<-1>(n, centre, triple[0], row[1], triple[1], triple[2], w, divisor, out);
      }
    } else {
      switch (divisor) {
        case 1: ConvolveRow16<0>(kernel, row[0], row[1], row[2], w, divisor, out); break;
        case 8: ConvolveRow16<3>(kernel, row[0], row[1], row[2], w, divisor, out); break;
        case 16: ConvolveRow16<4>(kernel, row[0], row[1], row[2], w, divisor, out); break;
        default: ConvolveRow16<-1>(kernel, row[0], row[1], row[2], w, divisor, out);
      }
    }
    std::rotate(row, row + 1, row + 3);
    std::rotate(triple, triple + 1, triple + 3);
  }
}

// General pass in 32 bits, for kernels whose sums may leave 16 bits.
void Convolve3x3Wide(const std::array<int32_t, 9>& kernel, uint16_t divisor, Picture& picture) {
  const size_t w = static_cast<size_t>(picture.width);
  PlanarRow rows[3];
  for (auto& r : rows) r.resize(w);
  std::vector<int32_t> sums[3];
  for (auto& s : sums) s.resize(w);
  PlanarRow* above = &rows[0];
  PlanarRow* own = &rows[1];
  PlanarRow* below = &rows[2];
  uint32_t* base = picture.px.data();
  above->load(base, w);
  own->load(base + w, w);
  for (int32_t y = 1; y + 1 < picture.height; ++y) {
    below->load(base + static_cast<size_t>(y + 1) * w, w);
    for (int c = 0; c < 3; ++c)
      ChannelSums(kernel, above->ch[c].data(), own->ch[c].data(), below->ch[c].data(), w,
                  sums[c].data());
    DivideClampAny(sums[0].data(), sums[1].data(), sums[2].data(), w, divisor,
                   base + static_cast<size_t>(y) * w);
    PlanarRow* t = above;
    above = own;
    own = below;
    below = t;
  }
}

}  // namespace

void Convolve3x3(const std::array<int32_t, 9>& kernel, uint16_t divisor, Picture& picture) {
  if (picture.width < 3 || picture.height < 3 || divisor == 0) return;
  int64_t reach = 0;
  for (int32_t k : kernel) reach += (k < 0 ? -int64_t{k} : int64_t{k}) * 255;
  if (reach <= 32767) {
    Convolve3x3Fast(kernel, divisor, picture);
  } else {
    Convolve3x3Wide(kernel, divisor, picture);
  }
}

void GreyImage(Picture& picture) {
  for (uint32_t& p : picture.px) {
    const uint32_t i = (61u * ((p >> 16) & 0xFF) + 174u * ((p >> 8) & 0xFF) + 21u * (p & 0xFF)) >> 8;
    p = (p & 0xFF000000u) | (i << 16) | (i << 8) | i;
  }
}

void InvertImage(Picture& picture) {
  for (uint32_t& p : picture.px) p ^= 0x00FFFFFFu;
}

void RotateRight(Picture& dst, const Picture& src) {
  const int32_t w = src.width;
  const int32_t h = src.height;
  if (src.empty()) {
    SetSizeUninitialised(dst, std::max(h, 0), std::max(w, 0));
    return;
  }
  SetSizeUninitialised(dst, h, w);
  const uint32_t* s = src.px.data();
  uint32_t* d = dst.px.data();
  // Bands of 16 source rows: each written run is 16 pixels, one cache line,
  // and the 16 rows read are streamed side by side.
  constexpr int32_t kBand = 16;
  const size_t sw = static_cast<size_t>(w);
  const size_t dw = static_cast<size_t>(h);
  int32_t y0 = 0;
  for (; y0 + kBand <= h; y0 += kBand) {
    const uint32_t* rows[kBand];
    for (int32_t k = 0; k < kBand; ++k) rows[k] = s + static_cast<size_t>(y0 + k) * sw;
    uint32_t* col = d + (dw - 1 - static_cast<size_t>(y0));
    for (size_t x = 0; x < sw; ++x) {
      uint32_t* drow = col + x * dw;
      for (int32_t k = 0; k < kBand; ++k) drow[-k] = rows[k][x];
    }
  }
  for (; y0 < h; ++y0) {
    const uint32_t* row = s + static_cast<size_t>(y0) * sw;
    for (size_t x = 0; x < sw; ++x) d[x * dw + (dw - 1 - static_cast<size_t>(y0))] = row[x];
  }
}

void MirrorLeftRight(Picture& dst, const Picture& src) {
  if (&dst != &src) {
    SetSizeUninitialised(dst, src.width, src.height);
    const size_t w = static_cast<size_t>(std::max(src.width, 0));
    for (int32_t y = 0; y < src.height; ++y) {
      const uint32_t* s = src.px.data() + static_cast<size_t>(y) * w;
      std::reverse_copy(s, s + w, dst.px.data() + static_cast<size_t>(y) * w);
    }
    return;
  }
  const size_t w = static_cast<size_t>(std::max(dst.width, 0));
  for (int32_t y = 0; y < dst.height; ++y) {
    uint32_t* r = dst.px.data() + static_cast<size_t>(y) * w;
    std::reverse(r, r + w);
  }
}

void MirrorTopBottom(Picture& dst, const Picture& src) {
  const size_t w = static_cast<size_t>(std::max(src.width, 0));
  const int32_t h = src.height;
  if (&dst != &src) {
    SetSizeUninitialised(dst, src.width, src.height);
    for (int32_t y = 0; y < h; ++y) {
      const uint32_t* s = src.px.data() + static_cast<size_t>(y) * w;
      std::copy(s, s + w, dst.px.data() + static_cast<size_t>(h - 1 - y) * w);
    }
    return;
  }
  for (int32_t y = 0; y < h / 2; ++y) {
    uint32_t* a = dst.px.data() + static_cast<size_t>(y) * w;
    uint32_t* b = dst.px.data() + static_cast<size_t>(h - 1 - y) * w;
    std::swap_ranges(a, a + w, b);
  }
}

void RotateRightCommand(Picture& working, Picture& accepted) {
  RotateRight(accepted, working);
  working = accepted;
}

void MirrorCommand(Picture& working, Picture& accepted, bool leftRight) {
  if (leftRight) {
    MirrorLeftRight(accepted, working);
  } else {
    MirrorTopBottom(accepted, working);
  }
  working = accepted;
}

bool ResizeNearest(const Picture& src, int32_t width, int32_t height, Picture& dst) {
  if (width < kMinResizeSide || height < kMinResizeSide || src.empty()) return false;
  if (int64_t{width} * int64_t{height} > kMaxPicturePixels) return false;
  // Source column of every new column, once; the rows are found per row.
  std::vector<int32_t> column(static_cast<size_t>(width));
  const int64_t sw = src.width;
  const int64_t sh = src.height;
  for (int64_t x = 0; x < width; ++x)
    column[static_cast<size_t>(x)] =
        static_cast<int32_t>(std::min(sw - 1, ((2 * x + 1) * sw) / (2 * int64_t{width})));
  SetSizeUninitialised(dst, width, height);
  const int32_t* col = column.data();
  for (int64_t y = 0; y < height; ++y) {
    const int64_t sy = std::min(sh - 1, ((2 * y + 1) * sh) / (2 * int64_t{height}));
    const uint32_t* s = src.px.data() + static_cast<size_t>(sy) * static_cast<size_t>(sw);
    uint32_t* d = dst.px.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    // Rows that map to the same source row are equal: copy the previous one.
    if (y > 0 && sy == std::min(sh - 1, ((2 * y - 1) * sh) / (2 * int64_t{height}))) {
      std::copy(d - width, d, d);
      continue;
    }
    for (int32_t x = 0; x < width; ++x) d[x] = s[col[x]];
  }
  return true;
}

}  // namespace korvane
