// Bitmap and icon decoding: every depth, header and row order to the same
// pixels; truncated, corrupt and absurd files refused with their texts.
#include <bit>
#include <climits>
#include <cmath>
#include <random>
#include <sys/resource.h>
#include <csignal>
#include <fstream>
#include <iterator>

#include "image/image_test_util.h"

namespace korvane {
namespace {

using testutil::BmpSpec;
using testutil::Bytes;
using testutil::Decode;
using testutil::RecordingSink;
using testutil::WriteBmp;

constexpr int32_t kW = 13;  // odd: partial bytes and row padding everywhere
constexpr int32_t kH = 7;

uint32_t Mix(uint32_t i) {
  i ^= i >> 16;
  i *= 0x7feb352dU;
  i ^= i >> 15;
  i *= 0x846ca68bU;
  return i ^ (i >> 16);
}

uint32_t Scale(uint32_t v, int bits) {
  const double max = std::ldexp(1.0, bits) - 1;
  return static_cast<uint32_t>(std::lround(v * 255.0 / max));
}

struct PaletteCase {
  const char* name;
  int bpp;
  uint32_t headerSize;
  bool topDown;
  uint32_t colorsUsed;
};

void PrintTo(const PaletteCase& c, std::ostream* os) { *os << c.name; }

class PaletteBitmaps : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(PaletteBitmaps, DecodeToPaletteColoursOpaque) {
  const PaletteCase& c = GetParam();
  BmpSpec s;
  s.bpp = c.bpp;
  s.headerSize = c.headerSize;
  s.topDown = c.topDown;
  s.colorsUsed = c.colorsUsed;
  const uint32_t n = c.colorsUsed != 0 ? c.colorsUsed : (1u << c.bpp);
  for (uint32_t i = 0; i < n; ++i) s.palette.push_back(Mix(i + 77) & 0x00FFFFFF);
  std::vector<uint32_t> idx(kW * kH);
  Picture expected;
  expected.resize(kW, kH, 0);
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x) {
      const uint32_t i = Mix(static_cast<uint32_t>(y * kW + x)) % n;
      idx[static_cast<size_t>(y) * kW + x] = i;
      expected.at(x, y) = 0xFF000000u | s.palette[i];
    }
  RecordingSink sink;
  std::string error;
  ASSERT_TRUE(Decode(WriteBmp(s, kW, kH, idx), sink, error)) << error;
  EXPECT_EQ(sink.begins, 1);
  EXPECT_TRUE(sink.allRowsOnce());
  EXPECT_EQ(sink.pic, expected);
}

INSTANTIATE_TEST_SUITE_P(All, PaletteBitmaps,
                         ::testing::Values(PaletteCase{"bpp1_info", 1, 40, false, 0},
                                           PaletteCase{"bpp1_topdown", 1, 40, true, 0},
                                           PaletteCase{"bpp1_core", 1, 12, false, 0},
                                           PaletteCase{"bpp2_info", 2, 40, false, 0},
                                           PaletteCase{"bpp4_info", 4, 40, false, 0},
                                           PaletteCase{"bpp4_short_palette", 4, 40, false, 5},
                                           PaletteCase{"bpp4_core", 4, 12, false, 0},
                                           PaletteCase{"bpp4_os2v2", 4, 64, false, 0},
                                           PaletteCase{"bpp8_info", 8, 40, false, 0},
                                           PaletteCase{"bpp8_topdown", 8, 40, true, 0},
                                           PaletteCase{"bpp8_core", 8, 12, false, 0},
                                           PaletteCase{"bpp8_v4", 8, 108, false, 0},
                                           PaletteCase{"bpp8_v5_short_palette", 8, 124, true, 200}),
                         [](const auto& info) { return std::string(info.param.name); });

struct DirectCase {
  const char* name;
  int bpp;
  uint32_t headerSize;
  uint32_t compression;
  bool topDown;
  uint32_t masks[4];
  bool alphaKept;  // expected alpha from the file, else 255
};

void PrintTo(const DirectCase& c, std::ostream* os) { *os << c.name; }

class DirectBitmaps : public ::testing::TestWithParam<DirectCase> {};

TEST_P(DirectBitmaps, DecodeThroughTheirMasks) {
  const DirectCase& c = GetParam();
  BmpSpec s;
  s.bpp = c.bpp;
  s.headerSize = c.headerSize;
  s.compression = c.compression;
  s.topDown = c.topDown;
  for (int i = 0; i < 4; ++i) s.masks[i] = c.masks[i];
  // The channels as the file stores them: plain 8-bit fields for BI_RGB 24/32,
  // 5-5-5 for BI_RGB 16, otherwise the masks.
  uint32_t m[4] = {c.masks[0], c.masks[1], c.masks[2], c.masks[3]};
  if (c.compression == 0 && c.bpp == 16) {
    m[0] = 0x7C00, m[1] = 0x03E0, m[2] = 0x1F, m[3] = 0;
  } else if (c.compression == 0) {
    m[0] = 0xFF0000, m[1] = 0xFF00, m[2] = 0xFF, m[3] = c.bpp == 32 ? 0xFF000000 : 0;
  } else if (c.bpp == 32 && m[3] == 0 && ((m[0] | m[1] | m[2]) & 0xFF000000u) == 0) {
    m[3] = 0xFF000000;  // no alpha mask: the stored top byte is the alpha
  }
  std::vector<uint32_t> raw(kW * kH);
  Picture expected;
  expected.resize(kW, kH, 0);
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x) {
      uint32_t v = Mix(static_cast<uint32_t>(y * 131 + x));
      if (c.bpp < 32) v &= (1u << c.bpp) - 1;
      raw[static_cast<size_t>(y) * kW + x] = v;
      uint32_t out = 0;
      for (int k = 0; k < 4; ++k) {
        if (m[k] == 0) continue;
        const int shift = std::countr_zero(m[k]);
        const int bits = std::popcount(m[k]);
        const uint32_t f = (v & m[k]) >> shift;
        out |= (bits > 8 ? f >> (bits - 8) : Scale(f, bits)) << (k == 3 ? 24 : 16 - 8 * k);
      }
      if (!c.alphaKept) out = (out & 0x00FFFFFF) | 0xFF000000u;
      expected.at(x, y) = out;
    }
  RecordingSink sink;
  std::string error;
  ASSERT_TRUE(Decode(WriteBmp(s, kW, kH, raw), sink, error)) << error;
  EXPECT_TRUE(sink.allRowsOnce());
  EXPECT_EQ(sink.pic, expected);
}

constexpr uint32_t k565[4] = {0xF800, 0x07E0, 0x001F, 0};
constexpr uint32_t k8888[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};

INSTANTIATE_TEST_SUITE_P(
    All, DirectBitmaps,
    ::testing::Values(
        DirectCase{"bpp24_info", 24, 40, 0, false, {}, false},
        DirectCase{"bpp24_topdown", 24, 40, 0, true, {}, false},
        DirectCase{"bpp24_core", 24, 12, 0, false, {}, false},
        DirectCase{"bpp24_v5", 24, 124, 0, false, {}, false},
        DirectCase{"bpp32_rgb_keeps_alpha", 32, 40, 0, false, {}, true},
        DirectCase{"bpp32_rgb_v4_topdown", 32, 108, 0, true, {}, true},
        DirectCase{"bpp16_rgb_555", 16, 40, 0, false, {}, false},
        DirectCase{
            "bpp16_565_trailing_masks", 16, 40, 3, false, {0xF800, 0x07E0, 0x001F, 0}, false},
        DirectCase{"bpp16_565_v3", 16, 56, 3, true, {0xF800, 0x07E0, 0x001F, 0}, false},
        DirectCase{"bpp16_4444_v4_alpha_mask_ignored",
                   16,
                   108,
                   3,
                   false,
                   {0x0F00, 0x00F0, 0x000F, 0xF000},
                   false},
        DirectCase{"bpp32_v5_alpha_mask",
                   32,
                   124,
                   3,
                   false,
                   {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
                   true},
        DirectCase{"bpp32_v4_swapped_alpha_mask",
                   32,
                   108,
                   3,
                   true,
                   {0x0000FF00, 0x00FF0000, 0xFF000000, 0xFF},
                   true},
        DirectCase{"bpp32_bitfields_without_alpha_mask_keeps_top_byte",
                   32,
                   40,
                   3,
                   false,
                   {0x00FF0000, 0x0000FF00, 0xFF, 0},
                   true},
        DirectCase{"bpp32_bitfields_bgr_without_alpha_mask_keeps_top_byte",
                   32,
                   108,
                   3,
                   false,
                   {0xFF, 0x0000FF00, 0x00FF0000, 0},
                   true},
        DirectCase{"bpp32_alphabitfields",
                   32,
                   40,
                   6,
                   false,
                   {0x00FF0000, 0x0000FF00, 0xFF, 0xFF000000},
                   true},
        DirectCase{"bpp32_10bit_channels",
                   32,
                   108,
                   3,
                   false,
                   {0x3FF00000, 0x000FFC00, 0x000003FF, 0},
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

// RLE8 encoder for the tests: runs where pixels repeat, absolute mode for
// stretches of three or more different pixels, end-of-line, end-of-bitmap.
Bytes EncodeRle8(const std::vector<uint32_t>& idx, int32_t w, int32_t h) {
  Bytes out;
  for (int32_t r = 0; r < h; ++r) {
    const uint32_t* row = idx.data() + static_cast<size_t>(h - 1 - r) * w;
    int32_t x = 0;
    while (x < w) {
      int32_t run = 1;
      while (x + run < w && run < 255 && row[x + run] == row[x]) ++run;
      if (run >= 2) {
        out.push_back(static_cast<uint8_t>(run));
        out.push_back(static_cast<uint8_t>(row[x]));
        x += run;
        continue;
      }
      int32_t lit = 1;
      while (x + lit < w && lit < 255 && (x + lit + 1 >= w || row[x + lit] != row[x + lit + 1]))
        ++lit;
      if (lit < 3) {
        out.push_back(1);
        out.push_back(static_cast<uint8_t>(row[x]));
        ++x;
        continue;
      }
      out.push_back(0);
      out.push_back(static_cast<uint8_t>(lit));
      for (int32_t i = 0; i < lit; ++i) out.push_back(static_cast<uint8_t>(row[x + i]));
      if (lit % 2) out.push_back(0);
      x += lit;
    }
    out.push_back(0);
    out.push_back(r == h - 1 ? 1 : 0);
  }
  return out;
}

Bytes RleFile(int bpp, int32_t w, int32_t h, const std::vector<uint32_t>& palette,
              const Bytes& stream) {
  BmpSpec s;
  s.bpp = bpp;
  s.compression = bpp == 8 ? 1 : 2;
  s.palette = palette;
  return WriteBmp(s, w, h, {}, stream);
}

TEST(RleBitmaps, Rle8MatchesTheUncompressedPicture) {
  std::vector<uint32_t> palette;
  for (uint32_t i = 0; i < 256; ++i) palette.push_back(Mix(i) & 0x00FFFFFF);
  const int32_t w = 37, h = 9;
  std::vector<uint32_t> idx(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < idx.size(); ++i)
    idx[i] = (Mix(static_cast<uint32_t>(i / 4)) % 6) + (i % 11 == 0 ? 100 : 0);
  RecordingSink rle, raw;
  std::string error;
  ASSERT_TRUE(Decode(RleFile(8, w, h, palette, EncodeRle8(idx, w, h)), rle, error)) << error;
  BmpSpec s;
  s.bpp = 8;
  s.palette = palette;
  ASSERT_TRUE(Decode(WriteBmp(s, w, h, idx), raw, error)) << error;
  EXPECT_TRUE(rle.allRowsOnce());
  EXPECT_EQ(rle.pic, raw.pic);
}

TEST(RleBitmaps, DeltaClippingAndEarlyEndLeaveIndexZero) {
  const std::vector<uint32_t> pal = {0x000000FF, 0x00112233, 0x00445566,
                                     0x00778899, 0x00AABBCC, 0x00DDEEFF};
  auto P = [&](int i) { return 0xFF000000u | pal[static_cast<size_t>(i)]; };
  // 4 x 3. Bottom row: two of 1, a delta one right and one up, one of 3;
  // end of line; a run of 6 clipped to the width; end of line; then the end of
  // the bitmap with the top row still empty.
  const Bytes rle8 = {2, 1, 0, 2, 1, 1, 1, 3, 0, 0, 6, 2, 0, 1};
  RecordingSink a;
  std::string error;
  ASSERT_TRUE(Decode(RleFile(8, 4, 3, pal, rle8), a, error)) << error;
  EXPECT_TRUE(a.allRowsOnce());
  const std::vector<uint32_t> want8 = {P(2), P(2), P(2), P(2), P(0), P(0),
                                       P(0), P(3), P(1), P(1), P(0), P(0)};
  EXPECT_EQ(a.pic.px, want8);

  // RLE4, 5 x 2: alternating nibbles of a run, then absolute mode 3,4,5.
  const Bytes rle4 = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1};
  RecordingSink b;
  ASSERT_TRUE(Decode(RleFile(4, 5, 2, pal, rle4), b, error)) << error;
  EXPECT_TRUE(b.allRowsOnce());
  const std::vector<uint32_t> want4 = {P(3), P(4), P(5), P(0), P(0), P(1), P(2), P(1), P(2), P(1)};
  EXPECT_EQ(b.pic.px, want4);
}

// Every prefix of a valid file is refused with the bitmap text (a raw file may
// only lose the padding of its last row), and never read out of bounds.
TEST(BrokenBitmaps, EveryTruncationIsRefused) {
  std::vector<uint32_t> idx(kW * kH), rgb(kW * kH);
  for (size_t i = 0; i < idx.size(); ++i) {
    idx[i] = Mix(static_cast<uint32_t>(i)) % 2;
    rgb[i] = Mix(static_cast<uint32_t>(i)) & 0xFFFFFF;
  }
  BmpSpec one;
  one.bpp = 1;
  one.palette = {0, 0xFFFFFF};
  BmpSpec core;
  core.headerSize = 12;
  core.bpp = 24;
  BmpSpec v5;
  v5.headerSize = 124;
  v5.bpp = 32;
  v5.compression = 3;
  std::copy(std::begin(k8888), std::end(k8888), v5.masks);
  std::vector<uint32_t> pal(256, 0x808080);
  const std::vector<Bytes> files = {WriteBmp(one, kW, kH, idx), WriteBmp(core, kW, kH, rgb),
                                    WriteBmp(v5, kW, kH, rgb),
                                    RleFile(8, kW, kH, pal, EncodeRle8(idx, kW, kH))};
  for (const Bytes& full : files) {
    for (size_t len = 0; len < full.size(); ++len) {
      const Bytes cut(full.begin(), full.begin() + static_cast<ptrdiff_t>(len));
      RecordingSink sink;
      std::string error;
      const bool ok = Decode(cut, sink, error);
      if (len + 4 <= full.size()) {
        EXPECT_FALSE(ok) << "length " << len << " of " << full.size();
      }
      if (!ok) {
        EXPECT_EQ(error, kBitmapInvalidText) << "length " << len;
      }
    }
  }
}

TEST(BrokenBitmaps, RandomByteDamageNeverBreaksTheSinkContract) {
  std::vector<uint32_t> idx(kW * kH);
  for (size_t i = 0; i < idx.size(); ++i) idx[i] = Mix(static_cast<uint32_t>(i)) % 16;
  std::vector<uint32_t> pal(16, 0x123456);
  BmpSpec four;
  four.bpp = 4;
  four.palette = pal;
  BmpSpec bf;
  bf.bpp = 16;
  bf.compression = 3;
  std::copy(std::begin(k565), std::end(k565), bf.masks);
  const std::vector<Bytes> files = {
      WriteBmp(four, kW, kH, idx), WriteBmp(bf, kW, kH, idx),
      RleFile(8, kW, kH, std::vector<uint32_t>(256, 1), EncodeRle8(idx, kW, kH))};
  std::mt19937 rng(12345);
  int accepted = 0, refused = 0;
  for (const Bytes& full : files) {
    for (int round = 0; round < 3000; ++round) {
      Bytes b = full;
      const int flips = 1 + static_cast<int>(rng() % 4);
      for (int i = 0; i < flips; ++i) {
        // Mostly the headers, sometimes anywhere.
        const size_t at = (rng() % 4 != 0) ? 2 + rng() % 60 : rng() % b.size();
        b[at] = static_cast<uint8_t>(rng());
      }
      RecordingSink sink;
      sink.maxPixels = 1 << 16;  // damaged sizes must not make the test allocate gigabytes
      std::string error;
      if (Decode(b, sink, error)) {
        ++accepted;
        EXPECT_EQ(sink.begins, 1);
        EXPECT_TRUE(sink.allRowsOnce());
      } else {
        ++refused;
        EXPECT_FALSE(error.empty());
      }
    }
  }
  EXPECT_GT(accepted, 0);
  EXPECT_GT(refused, 0);
}

// Headers that claim too much are refused before the sink allocates anything.
TEST(BrokenBitmaps, AbsurdOrInvalidHeadersAreRefusedBeforeBegin) {
  BmpSpec s;
  s.bpp = 24;
  const Bytes good = WriteBmp(s, 4, 4, std::vector<uint32_t>(16, 0x808080));
  struct Patch {
    const char* what;
    size_t at;
    uint32_t value;
    int bytes;
  };
  const Patch patches[] = {
      {"100000 x 100000", 18, 100000, 4},
      {"height 100000", 22, 100000, 4},
      {"16384 x 16384 in a tiny file", 18, 16384, 4},
      {"width 0", 18, 0, 4},
      {"negative width", 18, static_cast<uint32_t>(-4), 4},
      {"height INT_MIN", 22, 0x80000000u, 4},
      {"height 0", 22, 0, 4},
      {"7 bits per pixel", 28, 7, 2},
      {"RLE8 on 24 bits", 30, 1, 4},
      {"unknown compression", 30, 9, 4},
      {"header size 8", 14, 8, 4},
      {"header beyond file", 14, 4000, 4},
      {"data offset beyond file", 10, 100000, 4},
      {"data offset inside header", 10, 20, 4},
  };
  for (const Patch& p : patches) {
    Bytes b = good;
    if (p.what == std::string("16384 x 16384 in a tiny file")) testutil::Put32(b, 22, 16384);
    if (p.bytes == 2)
      testutil::Put16(b, p.at, p.value);
    else
      testutil::Put32(b, p.at, p.value);
    RecordingSink sink;
    std::string error;
    EXPECT_FALSE(Decode(b, sink, error)) << p.what;
    EXPECT_EQ(error, kBitmapInvalidText) << p.what;
    EXPECT_EQ(sink.begins, 0) << p.what;
  }
}

TEST(BrokenBitmaps, FileErrorsAndUnknownContent) {
  testutil::TempDir dir;
  struct Case {
    std::string name;
    Bytes content;
    std::string error;
  };
  const Bytes junk = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
  const Case cases[] = {
      {"notes.txt", junk, "Unbekannte Bilddateierweiterung (.txt)"},
      {"README", junk, "Unbekannte Bilddateierweiterung (.)"},
      {"bild.BMP", junk, "Bitmap ist ungültig"},
      {"leer.bmp", {}, "Bitmap ist ungültig"},
      {"bild.png", junk, "PNG-Datei ist ungültig"},
      {"bild.ico", junk, "Ungültiges Symbol"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.write(c.name, c.content);
    Picture pic;
    std::string error;
    EXPECT_FALSE(LoadPictureFile(path, pic, error)) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
  }
  const std::string missing = dir.file("fehlt.bmp");
  Picture pic;
  std::string error;
  EXPECT_FALSE(LoadPictureFile(missing, pic, error));
  EXPECT_EQ(error, "Datei " + missing + " kann nicht geöffnet werden");
  const std::string folder = dir.file("ordner.bmp");
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(LoadPictureFile(folder, pic, error));
  EXPECT_EQ(error, "Datei " + folder + " kann nicht geöffnet werden");
}

TEST(BrokenBitmaps, FailedLoadLeavesThePictureUntouched) {
  testutil::TempDir dir;
  BmpSpec s;
  const Bytes full = WriteBmp(s, kW, kH, std::vector<uint32_t>(kW * kH, 0x102030));
  const std::string path = dir.write("kurz.bmp", Bytes(full.begin(), full.end() - 20));
  Picture pic;
  pic.resize(2, 2, kRed);
  const Picture before = pic;
  std::string error;
  EXPECT_FALSE(LoadPictureFile(path, pic, error));
  EXPECT_EQ(pic, before);
}

TEST(SaveBitmap, RoundTripKeepsEveryPixelAndAlpha) {
  testutil::TempDir dir;
  Picture pic;
  pic.resize(kW, kH, 0);
  for (size_t i = 0; i < pic.px.size(); ++i) pic.px[i] = Mix(static_cast<uint32_t>(i) + 5);
  pic.at(0, 0) = 0x00000000;
  pic.at(1, 0) = 0x80FF0000;
  // Any extension: the file is a bitmap.
  const std::string path = dir.file("bild.jpg");
  std::string error;
  ASSERT_TRUE(SavePictureBmp32(path, pic, error)) << error;
  Picture back;
  ASSERT_TRUE(LoadPictureFile(path, back, error)) << error;
  EXPECT_EQ(back, pic);

  // A real third-party reader sees a bitmap with alpha and the same pixels.
  const std::string cmd =
      "identify -format '%m %w %h %[channels] %[pixel:p{1,0}]' '" + path + "' 2>&1";
  std::FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char buf[256] = {};
  const size_t n = std::fread(buf, 1, sizeof(buf) - 1, p);
  pclose(p);
  const std::string out(buf, n);
  EXPECT_EQ(out.substr(0, 9), "BMP 13 7 ") << out;
  EXPECT_NE(out.find("srgba"), std::string::npos) << out;
  EXPECT_NE(out.find("srgba(255,0,0,0.50"), std::string::npos) << out;
}

TEST(SaveBitmap, UncreatableFileIsReported) {
  testutil::TempDir dir;
  Picture pic;
  pic.resize(1, 1, kBlack);
  const std::string path = dir.file("no/such/folder/x.bmp");
  std::string error;
  EXPECT_FALSE(SavePictureBmp32(path, pic, error));
  EXPECT_EQ(error, "Datei " + path + " kann nicht erstellt werden");
}

TEST(SaveBitmap, FailedSaveKeepsTheOldFile) {
  testutil::TempDir dir;
  const std::string path = dir.file("x.bmp");
  {
    std::ofstream old(path, std::ios::binary);
    old << "old picture";
  }
  Picture pic;
  pic.resize(64, 64, kBlack);  // 16 KiB of pixels: beyond the file size limit below
  // A file size limit makes the write fail part-way, as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  rlimit small = before;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  const bool saved = SavePictureBmp32(path, pic, error);
  setrlimit(RLIMIT_FSIZE, &before);
  EXPECT_FALSE(saved);
  EXPECT_EQ(error, "Datei " + path + " kann nicht erstellt werden");
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old picture");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "no temporary file is left behind";
}

// Icons: one directory entry per image, the largest wins; pixels the icon
// does not cover read as transparent white.
Bytes IconFile(const std::vector<Bytes>& images, const std::vector<std::pair<int, int>>& sizes) {
  Bytes out(6 + 16 * images.size(), 0);
  testutil::Put16(out, 2, 1);
  testutil::Put16(out, 4, static_cast<uint32_t>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    const size_t e = 6 + 16 * i;
    out[e] = static_cast<uint8_t>(sizes[i].first);
    out[e + 1] = static_cast<uint8_t>(sizes[i].second);
    testutil::Put32(out, e + 8, static_cast<uint32_t>(images[i].size()));
    testutil::Put32(out, e + 12, static_cast<uint32_t>(out.size()));
    out.insert(out.end(), images[i].begin(), images[i].end());
  }
  return out;
}

// An icon image: a bitmap without its file header, double height, then the mask.
Bytes IconImage(const BmpSpec& s, int32_t w, int32_t h, const std::vector<uint32_t>& px,
                const std::vector<int>& mask) {
  Bytes dib = WriteBmp(s, w, h, px);
  dib.erase(dib.begin(), dib.begin() + 14);
  testutil::Put32(dib, 8, static_cast<uint32_t>(2 * h));
  const size_t stride = ((static_cast<size_t>(w) + 31) / 32) * 4;
  Bytes m(stride * h, 0);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      if (mask[static_cast<size_t>(y) * w + x])
        m[stride * (h - 1 - y) + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  dib.insert(dib.end(), m.begin(), m.end());
  return dib;
}

TEST(Icons, MaskAndAlphaGiveTransparentWhite) {
  BmpSpec four;
  four.bpp = 4;
  for (uint32_t i = 0; i < 16; ++i) four.palette.push_back(i * 0x111111);
  const std::vector<uint32_t> idx = {0, 5, 15, 9, 1, 2};
  const std::vector<int> mask = {0, 1, 0, 0, 0, 1};
  BmpSpec argb;
  argb.bpp = 32;
  const std::vector<uint32_t> px = {0xFF000000, 0x00123456, 0x80FF0000, 0xFFFFFFFF};
  const Bytes small = IconImage(four, 3, 2, idx, mask);
  const Bytes large = IconImage(argb, 2, 2, px, {0, 0, 0, 0});

  RecordingSink a;
  std::string error;
  ASSERT_TRUE(Decode(IconFile({small}, {{3, 2}}), a, error, "x.ico")) << error;
  EXPECT_EQ(a.pic.px, (std::vector<uint32_t>{0xFF000000, 0x00FFFFFF, 0xFFFFFFFF, 0xFF999999,
                                             0xFF111111, 0x00FFFFFF}));

  // Two images: the 32-bit one is larger and is taken; its alpha decides.
  RecordingSink b;
  ASSERT_TRUE(Decode(IconFile({small, large}, {{3, 2}, {4, 4}}), b, error, "x.ico")) << error;
  ASSERT_EQ(b.pic.width, 2);
  EXPECT_EQ(b.pic.px, (std::vector<uint32_t>{0xFF000000, 0x00FFFFFF, 0xFFFF7F7F, 0xFFFFFFFF}));

  // Damaged directory entries and images.
  Bytes bad = IconFile({small}, {{3, 2}});
  testutil::Put32(bad, 6 + 12, 100000);
  RecordingSink c;
  EXPECT_FALSE(Decode(bad, c, error, "x.ico"));
  EXPECT_EQ(error, kIconInvalidText);
  const Bytes full = IconFile({small}, {{3, 2}});
  for (size_t len = 4; len < full.size(); ++len) {
    RecordingSink d;
    EXPECT_FALSE(
        Decode(Bytes(full.begin(), full.begin() + static_cast<ptrdiff_t>(len)), d, error, "x.ico"))
        << len;
    EXPECT_EQ(error, kIconInvalidText);
  }
}

}  // namespace
}  // namespace korvane
