#include "image/imageops.h"

#include <gtest/gtest.h>

#include <cmath>

#include "image/prepare.h"
#include "image/resizelink.h"

namespace korvane {
namespace {

constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr uint32_t Grey(uint32_t v) { return Argb(255, v, v, v); }

Picture Filled(int32_t w, int32_t h, uint32_t v) {
  Picture p;
  p.resize(w, h, v);
  return p;
}

// Distinct pixels, so that any misplaced one shows.
Picture Numbered(int32_t w, int32_t h) {
  Picture p = Filled(w, h, 0);
  for (size_t i = 0; i < p.px.size(); ++i) p.px[i] = 0x01000000u * (i % 7) + static_cast<uint32_t>(i);
  return p;
}

// ---- tone table -------------------------------------------------------------

struct TableCase {
  int br, co, ga;
  std::vector<std::pair<int, int>> entries;  // index, value
};

TEST(LevelsTable, ValuesForTheSliderSettings) {
  const TableCase cases[] = {
      {0, 0, 0, {{0, 0}, {1, 1}, {126, 126}, {127, 128}, {128, 128}, {200, 200}, {255, 255}}},
      {0, 100, 0, {{0, 0}, {64, 1}, {126, 125}, {127, 128}, {128, 129}, {192, 255}}},
      {50, 0, 0, {{0, 128}, {1, 129}, {64, 192}, {126, 254}}},
      {0, 0, 100, {{64, 3}, {127, 28}, {192, 104}, {254, 252}, {255, 255}}},
      {0, 0, -100, {{1, 44}, {64, 165}, {127, 205}, {192, 233}}},
  };
  for (const TableCase& c : cases) {
    const ToneTable t = BuildLevelsTable(c.br, c.co, c.ga);
    for (auto [i, v] : c.entries)
      EXPECT_EQ(t[static_cast<size_t>(i)], v) << c.br << "/" << c.co << "/" << c.ga << " T[" << i
                                              << "]";
  }
}

TEST(LevelsTable, WholeTableCases) {
  const ToneTable neutral = BuildLevelsTable(0, 0, 0);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(neutral[i], i == 127 ? 128 : i) << i;
  const ToneTable b50 = BuildLevelsTable(50, 0, 0);
  for (int i = 127; i < 256; ++i) EXPECT_EQ(b50[i], 255) << i;
  const struct {
    int br, co;
    int value;
  } flat[] = {{100, 0, 255}, {-100, 0, 0}, {0, -100, 128}};
  for (const auto& f : flat) {
    const ToneTable t = BuildLevelsTable(f.br, f.co, 0);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(t[i], f.value) << f.br << "/" << f.co << " T[" << i << "]";
  }
}

TEST(LevelsTable, ApplyMapsChannelsAndMakesOpaque) {
  Picture src = Filled(2, 1, 0);
  src.px = {Argb(0, 10, 127, 250), Argb(128, 0, 255, 1)};
  const ToneTable t = BuildLevelsTable(50, 0, 0);
  Picture dst;
  ApplyToneTable(src, t, dst);
  EXPECT_EQ(dst.px, (std::vector<uint32_t>{Argb(255, t[10], 255, 255), Argb(255, 128, 255, 129)}));
  ApplyToneTable(src, BuildLevelsTable(0, 0, 0), src);  // in place
  EXPECT_EQ(src.px, (std::vector<uint32_t>{Argb(255, 10, 128, 250), Argb(255, 0, 255, 1)}));
}

// ---- 3x3 filters -------------------------------------------------------------

// A plain reading of the convolution, one pixel at a time from a full copy.
Picture ReferenceConvolve(const FilterKernel& f, const Picture& p) {
  Picture out = p;
  if (p.width < 3 || p.height < 3) return out;
  for (int y = 1; y < p.height - 1; ++y)
    for (int x = 1; x < p.width - 1; ++x) {
      uint32_t v = 0xFF000000u;
      for (int shift : {16, 8, 0}) {
        int32_t s = 0;
        for (int j = 0; j < 3; ++j)
          for (int i = 0; i < 3; ++i)
            s += f.k[j * 3 + i] * static_cast<int32_t>((p.at(x - 1 + i, y - 1 + j) >> shift) & 0xFF);
        int32_t c = s / f.divisor;
        c = c > 254 ? 255 : c < 1 ? 0 : c;
        v |= static_cast<uint32_t>(c) << shift;
      }
      out.at(x, y) = v;
    }
  return out;
}

const FilterKind kAllFilters[] = {FilterKind::Grenzwert, FilterKind::Hipass, FilterKind::Kanten,
                                  FilterKind::Scharf,    FilterKind::Praegen, FilterKind::Weich};

TEST(Convolve, UniformPictureKeepsOrBlackensTheInterior) {
  const uint32_t colour = Argb(255, 90, 160, 30);
  for (FilterKind f : kAllFilters) {
    Picture p = Filled(6, 5, colour);
    Convolve3x3(KernelOf(f), p);
    const bool zeroSum = f == FilterKind::Grenzwert || f == FilterKind::Kanten;
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 6; ++x) {
        const bool frame = x == 0 || y == 0 || x == 5 || y == 4;
        EXPECT_EQ(p.at(x, y), frame || !zeroSum ? colour : kBlack)
            << static_cast<int>(f) << " at " << x << "," << y;
      }
  }
}

TEST(Convolve, SingleWhitePixelUnderGrenzwert) {
  Picture p = Filled(5, 5, kBlack);
  p.at(2, 2) = kWhite;
  Convolve3x3(KernelOf(FilterKind::Grenzwert), p);
  Picture expected = Filled(5, 5, kBlack);
  expected.at(2, 2) = kWhite;
  EXPECT_EQ(p, expected);
}

TEST(Convolve, ScharfAndTruncationTowardZero) {
  Picture p = Filled(3, 3, Grey(50));
  p.at(1, 1) = Grey(100);
  Convolve3x3(KernelOf(FilterKind::Scharf), p);
  EXPECT_EQ(p.at(1, 1), Grey(150));

  // Only the centre weight, divisor 8: centre 15 -> 1, a sum of -15 -> -1 -> 0.
  const std::array<int32_t, 9> centre = {0, 0, 0, 0, 1, 0, 0, 0, 0};
  const std::array<int32_t, 9> minus = {0, 0, 0, 0, -1, 0, 0, 0, 0};
  for (auto [k, expected] : {std::pair{centre, 1u}, std::pair{minus, 0u}}) {
    Picture q = Filled(3, 3, Grey(15));
    Convolve3x3(k, 8, q);
    EXPECT_EQ(q.at(1, 1), Grey(expected));
  }
  // 8 * 2 = 16 neighbours' worth of 1: Weich of all-1 gives 16 div 16 = 1;
  // Weich of a 1 surrounded by zeros gives 0.
  Picture w = Filled(3, 3, Grey(1));
  Convolve3x3(KernelOf(FilterKind::Weich), w);
  EXPECT_EQ(w.at(1, 1), Grey(1));
}

TEST(Convolve, AlphaInsideBecomesOpaqueOnTheFrameStays) {
  for (FilterKind f : kAllFilters) {
    Picture p = Filled(4, 4, Argb(0, 40, 80, 120));
    Convolve3x3(KernelOf(f), p);
    EXPECT_EQ(p.at(1, 1) >> 24, 255u) << static_cast<int>(f);
    EXPECT_EQ(p.at(2, 2) >> 24, 255u) << static_cast<int>(f);
    EXPECT_EQ(p.at(0, 1), Argb(0, 40, 80, 120)) << static_cast<int>(f);
    EXPECT_EQ(p.at(3, 3), Argb(0, 40, 80, 120)) << static_cast<int>(f);
  }
}

TEST(Convolve, MatchesThePlainReadingOnNoise) {
  // Odd widths exercise the tail after the vector chunks.
  for (int32_t w : {3, 4, 5, 11, 37}) {
    Picture noise = Filled(w, 7, 0);
    uint32_t seed = 99u + static_cast<uint32_t>(w);
    for (uint32_t& v : noise.px) {
      seed = seed * 1664525u + 1013904223u;
      v = seed;
    }
    for (FilterKind f : kAllFilters) {
      Picture p = noise;
      Convolve3x3(KernelOf(f), p);
      EXPECT_EQ(p, ReferenceConvolve(KernelOf(f), noise)) << w << " " << static_cast<int>(f);
    }
    // Near and beyond the limits of 16-bit sums.
    const FilterKernel others[] = {{{0, 0, 0, 200, 1, -200, 0, 0, 0}, 3},
                                   {{15, 15, 15, 15, 0, 15, 15, 15, 15}, 100},
                                   {{-14, -14, -14, -14, 3, -14, -14, -14, -14}, 5}};
    for (const FilterKernel& k : others)
      for (const Picture& src : {noise, Filled(w, 4, kWhite)}) {  // white: the largest sums
        Picture p = src;
        Convolve3x3(k, p);
        EXPECT_EQ(p, ReferenceConvolve(k, src)) << w << " " << k.k[0];
      }
  }
}

TEST(Convolve, SmallPicturesUnchanged) {
  for (auto [w, h] : {std::pair{2, 5}, std::pair{5, 2}, std::pair{0, 0}}) {
    Picture p = Numbered(w, h);
    const Picture before = p;
    Convolve3x3(KernelOf(FilterKind::Hipass), p);
    EXPECT_EQ(p, before);
  }
}

TEST(GreyInvert, ChannelWeightsAndRoundTrips) {
  Picture p = Filled(5, 1, 0);
  p.px = {Argb(255, 255, 0, 0), Argb(255, 0, 255, 0), Argb(255, 0, 0, 255), kWhite,
          Argb(7, 100, 100, 100)};
  GreyImage(p);
  EXPECT_EQ(p.px, (std::vector<uint32_t>{Grey(60), Grey(173), Grey(20), kWhite,
                                         Argb(7, 100, 100, 100)}));
  const Picture once = p;
  GreyImage(p);
  EXPECT_EQ(p, once);

  Picture q = Filled(2, 1, 0);
  q.px = {Argb(255, 18, 52, 86), Argb(3, 0, 0, 0)};
  const Picture before = q;
  InvertImage(q);
  EXPECT_EQ(q.px, (std::vector<uint32_t>{Argb(255, 237, 203, 169), Argb(3, 255, 255, 255)}));
  InvertImage(q);
  EXPECT_EQ(q, before);
}

// ---- geometry ----------------------------------------------------------------

TEST(Geometry, RotateThreeByTwo) {
  Picture src = Filled(3, 2, 0);
  src.px = {'a', 'b', 'c', 'd', 'e', 'f'};
  Picture dst;
  RotateRight(dst, src);
  EXPECT_EQ(dst.width, 2);
  EXPECT_EQ(dst.height, 3);
  EXPECT_EQ(dst.px, (std::vector<uint32_t>{'d', 'a', 'e', 'b', 'f', 'c'}));
}

TEST(Geometry, FourRotationsRestore) {
  // 37 x 21 is not a multiple of the row band, 40 x 32 is.
  for (auto [w, h] : {std::pair{37, 21}, std::pair{40, 32}, std::pair{1, 17}}) {
    const Picture start = Numbered(w, h);
    Picture a = start, b;
    RotateRight(b, a);
    EXPECT_EQ(b.at(h - 1, 0), start.at(0, 0));  // top-left ends at top-right
    EXPECT_EQ(b.at(0, w - 1), start.at(w - 1, h - 1));
    for (int i = 0; i < 3; ++i) {
      RotateRight(a, b);
      std::swap(a, b);
    }
    EXPECT_EQ(b, start) << w << "x" << h;
  }
}

TEST(Geometry, MirrorsReverseAndRestore) {
  Picture p = Filled(3, 2, 0);
  p.px = {'a', 'b', 'c', 'd', 'e', 'f'};
  Picture lr;
  MirrorLeftRight(lr, p);
  EXPECT_EQ(lr.px, (std::vector<uint32_t>{'c', 'b', 'a', 'f', 'e', 'd'}));
  Picture tb;
  MirrorTopBottom(tb, p);
  EXPECT_EQ(tb.px, (std::vector<uint32_t>{'d', 'e', 'f', 'a', 'b', 'c'}));
  // In place and twice.
  for (auto mirror : {&MirrorLeftRight, &MirrorTopBottom}) {
    Picture q = Numbered(5, 3);
    const Picture before = q;
    mirror(q, q);
    EXPECT_NE(q, before);
    mirror(q, q);
    EXPECT_EQ(q, before);
  }
}

TEST(Geometry, CommandsTakeEffectAsAccepted) {
  Picture accepted = Numbered(4, 3);
  Picture working = accepted;
  working.at(0, 0) = kBlack;  // shown, never accepted: carried into the result
  const Picture shown = working;
  RotateRightCommand(working, accepted);
  Picture expected;
  RotateRight(expected, shown);
  EXPECT_EQ(accepted, expected);
  EXPECT_EQ(working, expected);
  MirrorCommand(working, accepted, true);
  MirrorLeftRight(expected, expected);
  EXPECT_EQ(accepted, expected);
  MirrorCommand(working, accepted, false);
  MirrorTopBottom(expected, expected);
  EXPECT_EQ(accepted, expected);
  EXPECT_EQ(working, expected);
}

TEST(Geometry, ResizeNearestNeighbour) {
  Picture src = Filled(20, 10, 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) src.at(x, y) = (x / 2 + y % 2 == 0) ? kBlack : Argb(0, x, y, 9);
  Picture half;
  ASSERT_TRUE(ResizeNearest(src, 10, 10, half));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(half.at(x, y), src.at(2 * x + 1, y)) << x << "," << y;

  Picture up;
  ASSERT_TRUE(ResizeNearest(src, 40, 30, up));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) EXPECT_EQ(up.at(x, y), src.at(x / 2, y / 3)) << x << "," << y;

  Picture untouched = Numbered(3, 3);
  const Picture before = untouched;
  EXPECT_FALSE(ResizeNearest(src, 9, 500, untouched));
  EXPECT_FALSE(ResizeNearest(src, 500, 9, untouched));
  EXPECT_FALSE(ResizeNearest(src, 9999999, 9999999, untouched));  // far beyond any picture
  EXPECT_FALSE(ResizeNearest(Picture{}, 10, 10, untouched));
  EXPECT_EQ(untouched, before);
}

TEST(ResizeLinkTest, FollowsTheEditedField) {
  ResizeLink link;
  link.begin(640, 480);
  EXPECT_EQ(link.newWidth(), 640);
  EXPECT_EQ(link.newHeight(), 480);
  link.widthChanged(320, true);
  EXPECT_EQ(link.newHeight(), 240);
  link.heightChanged(240, false);  // the echo of the field the link set
  EXPECT_EQ(link.newWidth(), 320);
  link.heightChanged(100, true);
  EXPECT_EQ(link.newWidth(), 133);  // 640 / 4.8 = 133.33
  EXPECT_EQ(link.ratio(), 4.8L);
  // Exact halves go to the even neighbour: ratio 4 gives 42 / 4 = 10.5 -> 10
  // and 46 / 4 = 11.5 -> 12.
  for (auto [h0, expected] : {std::pair{42, 10}, std::pair{46, 12}}) {
    link.begin(800, h0);
    link.widthChanged(200, true);
    EXPECT_EQ(link.newHeight(), expected) << h0;
  }
  // No picture: nothing to follow.
  link.begin(0, 0);
  link.widthChanged(320, true);
  EXPECT_EQ(link.newHeight(), 0);
  EXPECT_FALSE(link.acceptable());
}

TEST(PrepareStepsTest, AppliesInOrder) {
  Picture start = Filled(3, 2, 0);
  start.px = {Argb(255, 10, 20, 30), kWhite, kBlack, Argb(9, 1, 2, 3), Grey(100), Grey(200)};
  PrepareSteps steps(3);
  steps[0].kind = PrepareStep::Kind::Invert;
  steps[1].kind = PrepareStep::Kind::Rotate;
  steps[1].quarterTurns = 3;
  steps[2].kind = PrepareStep::Kind::MirrorTopBottom;
  Picture p = start;
  ASSERT_TRUE(ApplyPrepareSteps(steps, p));
  Picture expected = start;
  InvertImage(expected);
  Picture t;
  for (int i = 0; i < 3; ++i) {
    RotateRight(t, expected);
    std::swap(t, expected);
  }
  MirrorTopBottom(expected, expected);
  EXPECT_EQ(p, expected);

  PrepareSteps bad(1);
  bad[0].kind = PrepareStep::Kind::Resize;
  bad[0].width = 9;
  bad[0].height = 500;
  EXPECT_FALSE(ApplyPrepareSteps(bad, p));
  EXPECT_EQ(p, expected);
  EXPECT_EQ(FilterByName("praegen"), FilterKind::Praegen);
  EXPECT_EQ(FilterByName("Praegen"), std::nullopt);
}

}  // namespace
}  // namespace korvane
