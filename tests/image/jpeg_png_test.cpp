// JPEG and PNG decoding: pictures written here with libjpeg and libpng come
// back with their pixels; truncated, damaged and absurd files are refused.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

// jpeglib.h needs FILE and size_t declared before it.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "image/image_test_util.h"
#include "image/jpeg_test_util.h"

namespace korvane {
namespace {

using testutil::Bytes;
using testutil::Decode;
using testutil::RecordingSink;
using testutil::WriteJpeg;

// ---- JPEG ------------------------------------------------------------------


// Flat 16 x 16 blocks survive JPEG almost unchanged.
uint32_t BlockColour(int32_t x, int32_t y) {
  static const uint32_t kColours[] = {0x000000, 0xFFFFFF, 0xC03020, 0x20A040, 0x3050D0, 0x808080};
  return kColours[static_cast<size_t>((x / 16 + 2 * (y / 16)) % 6)];
}

void ExpectClose(const Picture& got, const Picture& want, int tolerance) {
  ASSERT_EQ(got.width, want.width);
  ASSERT_EQ(got.height, want.height);
  int worst = 0;
  for (size_t i = 0; i < want.px.size(); ++i) {
    ASSERT_EQ(got.px[i] >> 24, want.px[i] >> 24) << "alpha at " << i;
    for (int s = 0; s < 24; s += 8)
      worst = std::max(worst, std::abs(static_cast<int>((got.px[i] >> s) & 0xFF) -
                                       static_cast<int>((want.px[i] >> s) & 0xFF)));
  }
  EXPECT_LE(worst, tolerance);
}

struct JpegCase {
  const char* name;
  int components;
  bool progressive;
};

void PrintTo(const JpegCase& c, std::ostream* os) { *os << c.name; }

class JpegRoundTrip : public ::testing::TestWithParam<JpegCase> {};

TEST_P(JpegRoundTrip, DecodesOpaqueWithItsColours) {
  const JpegCase& c = GetParam();
  const int32_t w = 48, h = 32;
  std::vector<uint8_t> samples;
  Picture want;
  want.resize(w, h, 0);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint32_t rgb = BlockColour(x, y);
      if (c.components == 1) rgb = (rgb & 0xFF) * 0x010101;
      const uint8_t r = rgb >> 16, g = rgb >> 8, b = rgb;
      if (c.components == 1) samples.push_back(b);
      if (c.components == 3) samples.insert(samples.end(), {r, g, b});
      // Adobe CMYK is stored inverted: no black ink is 255.
      if (c.components == 4) samples.insert(samples.end(), {r, g, b, 255});
      want.at(x, y) = 0xFF000000u | rgb;
    }
  RecordingSink sink;
  std::string error;
  ASSERT_TRUE(Decode(WriteJpeg(w, h, c.components, samples, c.progressive), sink, error, "x.jpg"))
      << error;
  EXPECT_TRUE(sink.allRowsOnce());
  ExpectClose(sink.pic, want, 8);
}

INSTANTIATE_TEST_SUITE_P(All, JpegRoundTrip,
                         ::testing::Values(JpegCase{"rgb", 3, false}, JpegCase{"grey", 1, false},
                                           JpegCase{"progressive", 3, true},
                                           JpegCase{"cmyk", 4, false}),
                         [](const auto& info) { return std::string(info.param.name); });

Bytes SampleJpeg() {
  std::vector<uint8_t> s;
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 48; ++x) {
      const uint32_t c = BlockColour(x, y);
      s.insert(s.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                         static_cast<uint8_t>(c)});
    }
  return WriteJpeg(48, 32, 3, s);
}

TEST(BrokenJpeg, ErrorsCarryLibjpegsMessageCode) {
  const Bytes good = SampleJpeg();
  std::string error;

  // Cut inside the scan data: libjpeg's "premature end" is an error here.
  RecordingSink cut;
  EXPECT_FALSE(Decode(Bytes(good.begin(), good.end() - 200), cut, error, "x.jpg"));
  EXPECT_EQ(error, JpegErrorText(JWRN_JPEG_EOF));

  // Named .jpg but no JPEG at all.
  RecordingSink junk;
  EXPECT_FALSE(Decode(Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}, junk, error, "x.jpg"));
  EXPECT_EQ(error, JpegErrorText(JERR_NO_SOI));
  EXPECT_EQ(error, "JPEG-Fehler #" + std::to_string(JERR_NO_SOI));

  // A frame header claiming 60000 x 60000 is refused before anything is allocated.
  Bytes big = good;
  size_t sof = 2;
  while (sof + 9 < big.size() && !(big[sof] == 0xFF && big[sof + 1] == 0xC0)) ++sof;
  ASSERT_LT(sof + 9, big.size());
  big[sof + 5] = 60000 >> 8, big[sof + 6] = 60000 & 0xFF;  // height
  big[sof + 7] = 60000 >> 8, big[sof + 8] = 60000 & 0xFF;  // width
  RecordingSink huge;
  EXPECT_FALSE(Decode(big, huge, error, "x.jpg"));
  EXPECT_EQ(error, JpegErrorText(JERR_IMAGE_TOO_BIG));
  EXPECT_EQ(huge.begins, 0);
}

TEST(BrokenJpeg, EveryTruncationIsRefusedWithAJpegError) {
  const Bytes good = SampleJpeg();
  // The last two bytes are the end marker, which libjpeg does not need.
  for (size_t len = 0; len + 2 < good.size(); ++len) {
    RecordingSink sink;
    std::string error;
    EXPECT_FALSE(Decode(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(len)), sink,
                        error, "x.jpg"))
        << len;
    EXPECT_EQ(error.rfind("JPEG-Fehler #", 0), 0u) << len << ": " << error;
  }
}

// ---- PNG -------------------------------------------------------------------

struct PngImage {
  int32_t w = 0, h = 0;
  int colourType = PNG_COLOR_TYPE_RGBA;
  int depth = 8;
  bool interlaced = false;
  std::vector<std::vector<uint8_t>> rows;  // as libpng takes them (big-endian 16-bit)
  std::vector<png_color> palette;
  std::vector<uint8_t> paletteAlpha;
};

void WriteToVector(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

Bytes WritePng(const PngImage& img) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, WriteToVector, nullptr);
  png_set_IHDR(png, info, img.w, img.h, img.depth, img.colourType,
               img.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!img.palette.empty())
    png_set_PLTE(png, info, img.palette.data(), static_cast<int>(img.palette.size()));
  if (!img.paletteAlpha.empty())
    png_set_tRNS(png, info, img.paletteAlpha.data(), static_cast<int>(img.paletteAlpha.size()),
                 nullptr);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const auto& r : img.rows) rows.push_back(const_cast<png_bytep>(r.data()));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

constexpr int32_t kPw = 11, kPh = 6;

uint32_t Colour(int32_t x, int32_t y) {
  uint32_t v = static_cast<uint32_t>(x * 2654435761u) ^ static_cast<uint32_t>(y * 40503u);
  v ^= v >> 13;
  v *= 0x9E3779B1u;
  // Column 0 fully transparent, column 1 opaque, the rest anything.
  if (x == 0) return v & 0x00FFFFFFu;
  if (x == 1) return v | 0xFF000000u;
  return v;
}

// Each case builds its PNG rows and the ARGB picture they must decode to.
struct PngCase {
  const char* name;
  void (*make)(PngImage&, Picture&);
};
void PrintTo(const PngCase& c, std::ostream* os) { *os << c.name; }

void MakeRgba8(PngImage& img, Picture& want, bool interlaced) {
  img.interlaced = interlaced;
  for (int32_t y = 0; y < kPh; ++y) {
    std::vector<uint8_t> row;
    for (int32_t x = 0; x < kPw; ++x) {
      const uint32_t c = Colour(x, y);
      row.insert(row.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                             static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 24)});
      want.at(x, y) = c;  // alpha as stored, not premultiplied
    }
    img.rows.push_back(row);
  }
}

const PngCase kPngCases[] = {
    {"rgba8", [](PngImage& img, Picture& want) { MakeRgba8(img, want, false); }},
    {"rgba8_interlaced", [](PngImage& img, Picture& want) { MakeRgba8(img, want, true); }},
    {"rgb16",
     [](PngImage& img, Picture& want) {
       img.colourType = PNG_COLOR_TYPE_RGB;
       img.depth = 16;
       for (int32_t y = 0; y < kPh; ++y) {
         std::vector<uint8_t> row;
         for (int32_t x = 0; x < kPw; ++x) {
           const uint32_t c = Colour(x, y);
           // v * 257 in 16 bits scales back to exactly v.
           for (int s = 16; s >= 0; s -= 8) row.insert(row.end(), 2, static_cast<uint8_t>(c >> s));
           want.at(x, y) = c | 0xFF000000u;
         }
         img.rows.push_back(row);
       }
     }},
    {"palette4_with_transparency",
     [](PngImage& img, Picture& want) {
       img.colourType = PNG_COLOR_TYPE_PALETTE;
       img.depth = 4;
       for (int i = 0; i < 16; ++i)
         img.palette.push_back({static_cast<uint8_t>(i * 16), static_cast<uint8_t>(255 - i),
                                static_cast<uint8_t>(i * 3)});
       img.paletteAlpha = {0, 128, 255, 7};  // the other entries are opaque
       for (int32_t y = 0; y < kPh; ++y) {
         std::vector<uint8_t> row((kPw + 1) / 2, 0);
         for (int32_t x = 0; x < kPw; ++x) {
           const int i = (x + 3 * y) % 16;
           row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 ? i : i << 4);
           const uint32_t a = i < 4 ? img.paletteAlpha[static_cast<size_t>(i)] : 255;
           const png_color& p = img.palette[static_cast<size_t>(i)];
           want.at(x, y) = (a << 24) | (uint32_t{p.red} << 16) | (uint32_t{p.green} << 8) | p.blue;
         }
         img.rows.push_back(row);
       }
     }},
    {"grey1",
     [](PngImage& img, Picture& want) {
       img.colourType = PNG_COLOR_TYPE_GRAY;
       img.depth = 1;
       for (int32_t y = 0; y < kPh; ++y) {
         std::vector<uint8_t> row((kPw + 7) / 8, 0);
         for (int32_t x = 0; x < kPw; ++x) {
           const bool white = (Colour(x, y) & 1) != 0;
           if (white) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
           want.at(x, y) = white ? kWhite : kBlack;
         }
         img.rows.push_back(row);
       }
     }},
    {"grey_alpha8",
     [](PngImage& img, Picture& want) {
       img.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
       for (int32_t y = 0; y < kPh; ++y) {
         std::vector<uint8_t> row;
         for (int32_t x = 0; x < kPw; ++x) {
           const uint32_t c = Colour(x, y);
           const uint8_t g = static_cast<uint8_t>(c), a = static_cast<uint8_t>(c >> 8);
           row.insert(row.end(), {g, a});
           want.at(x, y) = (uint32_t{a} << 24) | (uint32_t{g} * 0x010101u);
         }
         img.rows.push_back(row);
       }
     }},
};

class PngRoundTrip : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngRoundTrip, DecodesToExactArgb) {
  PngImage img;
  img.w = kPw;
  img.h = kPh;
  Picture want;
  want.resize(kPw, kPh, 0);
  GetParam().make(img, want);
  RecordingSink sink;
  std::string error;
  ASSERT_TRUE(Decode(WritePng(img), sink, error, "x.png")) << error;
  EXPECT_TRUE(sink.allRowsOnce());
  EXPECT_EQ(sink.pic, want);
}

INSTANTIATE_TEST_SUITE_P(All, PngRoundTrip, ::testing::ValuesIn(kPngCases),
                         [](const auto& info) { return std::string(info.param.name); });

uint32_t Crc(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

void PutBe32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

Bytes SamplePng() {
  PngImage img;
  img.w = kPw;
  img.h = kPh;
  Picture unused;
  unused.resize(kPw, kPh, 0);
  MakeRgba8(img, unused, false);
  return WritePng(img);
}

TEST(BrokenPng, AbsurdSizeDamageAndTruncationAreRefused) {
  const Bytes good = SamplePng();
  std::string error;

  // IHDR (at 8: length, "IHDR", width, height, ..., CRC over type and data).
  Bytes big = good;
  PutBe32(big, 16, 100000);
  PutBe32(big, 20, 100000);
  PutBe32(big, 29, Crc(big.data() + 12, 17));
  RecordingSink huge;
  EXPECT_FALSE(Decode(big, huge, error, "x.png"));
  EXPECT_EQ(error, kPngInvalidText);
  EXPECT_EQ(huge.begins, 0);

  Bytes badCrc = good;
  badCrc[40] ^= 0x55;  // inside the image data
  RecordingSink damaged;
  EXPECT_FALSE(Decode(badCrc, damaged, error, "x.png"));
  EXPECT_EQ(error, kPngInvalidText);

  for (size_t len = 0; len < good.size(); ++len) {
    RecordingSink sink;
    EXPECT_FALSE(Decode(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(len)), sink,
                        error, "x.png"))
        << len;
    EXPECT_EQ(error, kPngInvalidText) << len;
  }
}

// Damaged bytes anywhere: either a picture that kept the sink contract or
// the format's error text; never a crash or a jump out of the decoder.
TEST(BrokenJpegAndPng, RandomDamage) {
  std::mt19937 rng(777);
  const Bytes files[] = {SampleJpeg(), SamplePng()};
  for (const Bytes& good : files) {
    const bool jpeg = good[0] == 0xFF;
    for (int round = 0; round < 1500; ++round) {
      Bytes b = good;
      for (int i = 0; i < 1 + static_cast<int>(rng() % 3); ++i)
        b[2 + rng() % (b.size() - 2)] = static_cast<uint8_t>(rng());
      RecordingSink sink;
      sink.maxPixels = 1 << 20;
      std::string error;
      if (Decode(b, sink, error, jpeg ? "x.jpg" : "x.png")) {
        EXPECT_EQ(sink.begins, 1);
        EXPECT_TRUE(sink.allRowsOnce());
      } else if (jpeg) {
        EXPECT_EQ(error.rfind("JPEG-Fehler #", 0), 0u) << error;
      } else {
        EXPECT_EQ(error, kPngInvalidText);
      }
    }
  }
}

// PNG streams wrapped in other containers: a bitmap with compression 5 and
// an icon image (whose uncovered pixels become transparent white).
TEST(PngFile, InsideBitmapAndIcon) {
  const Bytes png = SamplePng();
  Picture want;
  want.resize(kPw, kPh, 0);
  PngImage unused;
  MakeRgba8(unused, want, false);

  testutil::BmpSpec s;
  s.bpp = 0;
  s.compression = 5;
  Bytes bmp = testutil::WriteBmp(s, kPw, kPh, {}, png);
  RecordingSink inBmp;
  std::string error;
  ASSERT_TRUE(Decode(bmp, inBmp, error)) << error;
  EXPECT_EQ(inBmp.pic, want);

  Bytes ico(6 + 16, 0);
  testutil::Put16(ico, 2, 1);
  testutil::Put16(ico, 4, 1);
  ico[6] = kPw;
  ico[7] = kPh;
  testutil::Put32(ico, 6 + 8, static_cast<uint32_t>(png.size()));
  testutil::Put32(ico, 6 + 12, static_cast<uint32_t>(ico.size()));
  ico.insert(ico.end(), png.begin(), png.end());
  RecordingSink inIco;
  ASSERT_TRUE(Decode(ico, inIco, error, "x.ico")) << error;
  for (size_t i = 0; i < want.px.size(); ++i) {
    const uint32_t a = want.px[i] >> 24;
    if (a == 0) {
      EXPECT_EQ(inIco.pic.px[i], 0x00FFFFFFu) << i;
    } else if (a == 255) {
      EXPECT_EQ(inIco.pic.px[i], want.px[i]) << i;
    } else {
      EXPECT_EQ(inIco.pic.px[i] >> 24, 255u) << i;
    }
  }
}

TEST(PngFile, LoadsFromDiskWhateverItsName) {
  testutil::TempDir dir;
  const std::string path = dir.write("bild.bmp", SamplePng());
  Picture pic;
  std::string error;
  ASSERT_TRUE(LoadPictureFile(path, pic, error)) << error;
  EXPECT_EQ(pic.width, kPw);
  EXPECT_EQ(pic.at(3, 2), Colour(3, 2));
}

}  // namespace
}  // namespace korvane
