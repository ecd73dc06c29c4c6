// Damaged and forged picture files: each is refused with its own message and
// at little cost, damaged data never loads as a picture, and metafile text
// and bitmaps come through.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

// jpeglib.h needs FILE and size_t declared before it.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
#include <zlib.h>
// clang-format on

#include "asan_build.h"
#include "image/codecs.h"
#include "image/image_test_util.h"
#include "image/jpeg_test_util.h"


namespace korvane {
namespace {

using testutil::Bytes;
using testutil::RecordingSink;
using testutil::TempDir;

constexpr int64_t kMiB = int64_t{1} << 20;

// ---- small file builders -----------------------------------------------------

// PNG's chunk check is zlib's CRC-32.
uint32_t Crc32(const uint8_t* p, size_t n) {
  return static_cast<uint32_t>(crc32(0L, p, static_cast<uInt>(n)));
}

void PutBe32(Bytes& b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
}

// A PNG chunk; `claimed` replaces the true length in the header when set.
void PngChunk(Bytes& b, const char* type, const Bytes& data, int64_t claimed = -1) {
  PutBe32(b, static_cast<uint32_t>(claimed >= 0 ? claimed : static_cast<int64_t>(data.size())));
  const size_t start = b.size();
  b.insert(b.end(), type, type + 4);
  b.insert(b.end(), data.begin(), data.end());
  PutBe32(b, Crc32(b.data() + start, b.size() - start));
}

Bytes PngHead(uint32_t w, uint32_t h, uint8_t depth, uint8_t colour, bool interlaced) {
  Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  PutBe32(ihdr, w);
  PutBe32(ihdr, h);
  ihdr.insert(ihdr.end(), {depth, colour, 0, 0, static_cast<uint8_t>(interlaced ? 1 : 0)});
  PngChunk(b, "IHDR", ihdr);
  return b;
}

// 41 bytes: a text chunk whose header claims almost 2 GB.
Bytes PngHugeText() {
  Bytes b = PngHead(1, 1, 8, 0, false);
  PutBe32(b, 0x7FFFFFF0u);
  b.insert(b.end(), {'t', 'E', 'X', 't'});
  return b;
}

Bytes PngNoData(bool interlaced) {
  Bytes b = PngHead(16384, 16384, 8, 6, interlaced);
  PngChunk(b, "IEND", {});
  return b;
}

// An 8-bit RLE bitmap of w x h; `stream` is the pixel data after the palette.
Bytes Rle8(int32_t w, int32_t h, const Bytes& stream) {
  Bytes b(14 + 40 + 8, 0);
  b[0] = 'B';
  b[1] = 'M';
  testutil::Put32(b, 10, static_cast<uint32_t>(b.size()));
  testutil::Put32(b, 14, 40);
  testutil::Put32(b, 18, static_cast<uint32_t>(w));
  testutil::Put32(b, 22, static_cast<uint32_t>(h));
  testutil::Put16(b, 26, 1);
  testutil::Put16(b, 28, 8);
  testutil::Put32(b, 30, 1);  // RLE8
  testutil::Put32(b, 46, 2);  // two colours
  testutil::Put32(b, 54, 0x00FFFFFF);
  testutil::Put32(b, 58, 0x00000000);
  testutil::Put32(b, 2, static_cast<uint32_t>(b.size() + stream.size()));
  b.insert(b.end(), stream.begin(), stream.end());
  return b;
}

// Stripes and noise, so that every block carries data.
Bytes Jpeg(int32_t w, int32_t h) {
  std::vector<uint8_t> samples(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      samples[static_cast<size_t>(y) * w + x] =
          static_cast<uint8_t>(((x / 5 + y / 3) % 2) * 200 + (x * 7 + y * 13) % 50);
  return testutil::WriteJpeg(w, h, 1, samples);
}

// Offset of the first byte after the start-of-scan header.
size_t ScanStart(const Bytes& j) {
  for (size_t i = 2; i + 4 < j.size(); ++i)
    if (j[i] == 0xFF && j[i + 1] == 0xDA) return i + 2 + (size_t{j[i + 2]} << 8 | j[i + 3]);
  return 0;
}

// The JPEG's frame header given a new size.
void SetJpegSize(Bytes& j, uint16_t w, uint16_t h) {
  for (size_t i = 2; i + 9 < j.size(); ++i)
    if (j[i] == 0xFF && (j[i + 1] == 0xC0 || j[i + 1] == 0xC2)) {
      j[i + 5] = static_cast<uint8_t>(h >> 8);
      j[i + 6] = static_cast<uint8_t>(h);
      j[i + 7] = static_cast<uint8_t>(w >> 8);
      j[i + 8] = static_cast<uint8_t>(w);
      return;
    }
}

// ---- decoding in a child under a memory bound ------------------------------

struct Outcome {
  bool loaded = false;
  std::string error;
  int64_t peakGrowth = 0;  // resident memory above the child's start, bytes
  int64_t peakVirtualGrowth = 0;  // address space above the child's start, bytes
};

int64_t ResidentBytes() {
  std::ifstream in("/proc/self/statm");
  int64_t size = 0, resident = 0;
  in >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

int64_t VirtualBytes() {
  std::ifstream in("/proc/self/statm");
  int64_t size = 0;
  in >> size;
  return size * sysconf(_SC_PAGESIZE);
}

// The largest address space this process has had (a fork starts afresh).
int64_t PeakVirtualBytes() {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("VmPeak:", 0) == 0) return std::stoll(line.substr(7)) * 1024;
  return 0;
}

// Loads `path` in a child and reports the result and how far its resident
// memory grew. With `limited` its address space may grow by at most `bound`
// (not under AddressSanitizer, which reserves terabytes). Without, a big
// allocation shows in the resident memory (a limit would make some
// libraries skip the allocation quietly and hide it).
Outcome LoadInChild(const std::string& path, int64_t bound, bool limited) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const int64_t start = ResidentBytes();
    const int64_t startVirtual = VirtualBytes();
#ifndef KORVANE_ASAN
    if (limited) {
      const rlimit lim{static_cast<rlim_t>(VirtualBytes() + bound),
                       static_cast<rlim_t>(VirtualBytes() + bound)};
      setrlimit(RLIMIT_AS, &lim);
    }
#else
    (void)limited;
    (void)bound;
#endif
    Picture pic;
    std::string error;
    bool ok = false;
    try {
      ok = LoadPictureFile(path, pic, error);
    } catch (...) {
      // The child must never return into the test runner.
      error = "exception escaped";
    }
    const std::string msg = std::string(ok ? "1" : "0") + std::to_string(start) + " " +
                            std::to_string(PeakVirtualBytes() - startVirtual) + "\n" + error;
    (void)!write(fds[1], msg.data(), msg.size());
    _exit(0);
  }
  close(fds[1]);
  std::string text;
  char buf[4096];
  for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Outcome o;
  const size_t nl = text.find('\n');
  if (text.empty() || nl == std::string::npos) {
    o.error = "child died";
    return o;
  }
  o.loaded = text[0] == '1';
  size_t used = 0;
  o.peakGrowth = usage.ru_maxrss * 1024 - std::stoll(text.substr(1, nl - 1), &used);
  o.peakVirtualGrowth = std::stoll(text.substr(1 + used, nl - 1 - used));
  o.error = text.substr(nl + 1);
  return o;
}

struct ForgedCase {
  const char* name;
  Bytes bytes;
  std::string error;
};

// A refused file costs at most 64 MB plus twice its own size.
TEST(HostileInput, ForgedFilesAreRefusedBeforeTheirPictureIsAllocated) {
  Bytes jpegHeader = Jpeg(64, 64);
  jpegHeader.resize(ScanStart(jpegHeader));
  SetJpegSize(jpegHeader, 16384, 16384);
  jpegHeader.insert(jpegHeader.end(), {0xFF, 0xD9});
  // One run of white, then the stream just stops: no end-of-bitmap marker.
  const Bytes cutRle = Rle8(16384, 16384, {0xFF, 0x00, 0x00, 0x02, 0x00, 0xFF});
  const std::vector<ForgedCase> cases = {
      {"png_text_chunk_claims_2GB", PngHugeText(), kPngInvalidText},
      {"png_interlaced_header_without_data", PngNoData(true), kPngInvalidText},
      {"png_header_without_data", PngNoData(false), kPngInvalidText},
      {"jpeg_header_without_data", jpegHeader, JpegErrorText(JWRN_JPEG_EOF)},
      {"rle8_without_end", cutRle, kBitmapInvalidText},
  };
  TempDir dir;
  for (const ForgedCase& c : cases) {
    const std::string path = dir.write(std::string(c.name) + ".pic", c.bytes);
    const int64_t bound = 64 * kMiB + 2 * static_cast<int64_t>(c.bytes.size());
    const Outcome o = LoadInChild(path, bound, false);
    EXPECT_FALSE(o.loaded) << c.name;
    EXPECT_EQ(o.error, c.error) << c.name;
    EXPECT_LT(o.peakGrowth, bound) << c.name;
  }
}

// A file of 3 GB (sparse here) with a broken bitmap header is refused after
// reading its header, not after reading a gigabyte of it.
TEST(HostileInput, HugeFileWithBrokenHeaderIsNotReadWhole) {
  TempDir dir;
  const std::string path = dir.file("huge.bmp");
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, "BM", 2), 2);
  const bool sized = ftruncate(fd, int64_t{3} << 30) == 0;
  close(fd);
  if (!sized) GTEST_SKIP() << "no room for a sparse file of 3 GB";
  const Outcome o = LoadInChild(path, 0, false);
  EXPECT_EQ(o.error, kBitmapInvalidText);
  EXPECT_LT(o.peakGrowth, 64 * kMiB);
}

// A valid picture larger than the memory left is a message, not an abort.
TEST(HostileInput, PictureLargerThanMemoryGivesTheMemoryMessage) {
#ifdef KORVANE_ASAN
  GTEST_SKIP() << "needs an address-space limit";
#endif
  // 64 bytes: 16384 x 16384, all white, ended properly.
  const Bytes rle = Rle8(16384, 16384, {0x00, 0x01});
  TempDir dir;
  const std::string path = dir.write("big.bmp", rle);
  const Outcome o = LoadInChild(path, 256 * kMiB, true);
  EXPECT_FALSE(o.loaded);
  EXPECT_EQ(o.error, OutOfMemoryText(path));
}

// A PNG icon is decoded into the caller's picture only: a 4096 x 4096 one
// (64 MiB as a picture) must not cost a second picture on the way.
TEST(HostileInput, PngIconIsHeldOnce) {
  constexpr uint32_t kSide = 4096;
  Bytes raw;
  for (uint32_t y = 0; y < kSide; ++y) {
    raw.push_back(0);  // no filter
    raw.insert(raw.end(), kSide, static_cast<uint8_t>(y % 2 ? 0x00 : 0xFF));
  }
  Bytes packed(compressBound(static_cast<uLong>(raw.size())));
  uLongf packedSize = static_cast<uLongf>(packed.size());
  ASSERT_EQ(compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size())), Z_OK);
  packed.resize(packedSize);
  Bytes png = PngHead(kSide, kSide, 8, 0, false);
  PngChunk(png, "IDAT", packed);
  PngChunk(png, "IEND", {});
  Bytes ico = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0};
  PutBe32(ico, 0);  // length and offset are little-endian: set below
  PutBe32(ico, 0);
  testutil::Put32(ico, 14, static_cast<uint32_t>(png.size()));
  testutil::Put32(ico, 18, 22);
  ico.insert(ico.end(), png.begin(), png.end());
  TempDir dir;
  const std::string path = dir.write("big.ico", ico);
  const int64_t picture = int64_t{kSide} * kSide * 4;
  const Outcome o = LoadInChild(path, 0, false);
  EXPECT_TRUE(o.loaded) << o.error;
  EXPECT_LT(o.peakGrowth, picture + picture / 2);
}

// ---- damaged JPEG data -------------------------------------------------------

TEST(HostileInput, DamagedJpegDataIsAnErrorNotAGreyPicture) {
  const Bytes good = Jpeg(256, 256);
  const size_t scan = ScanStart(good);
  ASSERT_GT(scan, 0u);
  {
    RecordingSink sink;
    std::string error;
    ASSERT_TRUE(DecodePictureMemory(good.data(), good.size(), "a.jpg", sink, error)) << error;
  }
  Bytes middle = good;  // garbage in the middle of the entropy-coded data
  for (size_t i = (scan + good.size()) / 2, n = 0; n < 64; ++i, ++n)
    middle[i] = static_cast<uint8_t>(0xFF - n);
  Bytes cutWithEnd(good.begin(), good.begin() + static_cast<ptrdiff_t>((scan + good.size()) / 2));
  cutWithEnd.insert(cutWithEnd.end(), {0xFF, 0xD9});
  Bytes cut(good.begin(), good.begin() + static_cast<ptrdiff_t>((scan + good.size()) / 2));
  for (const Bytes* b : {&middle, &cutWithEnd, &cut}) {
    RecordingSink sink;
    std::string error;
    EXPECT_FALSE(DecodePictureMemory(b->data(), b->size(), "a.jpg", sink, error));
    EXPECT_EQ(error.rfind("JPEG-Fehler #", 0), 0u) << error;
  }
}

// ---- files that are no regular files -----------------------------------------

TEST(HostileInput, FifoIsRefusedWithoutWaitingForAWriter) {
  TempDir dir;
  const std::string path = dir.file("pipe.bmp");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  Picture pic;
  std::string error;
  EXPECT_FALSE(LoadPictureFile(path, pic, error));
  EXPECT_EQ(error, CannotOpenFileText(path));
  EXPECT_FALSE(LoadPictureFile("/dev/zero", pic, error));
  EXPECT_EQ(error, CannotOpenFileText("/dev/zero"));
}

// ---- metafiles ---------------------------------------------------------------

class WmfWriter {
 public:
  void record(uint16_t function, const std::vector<uint16_t>& params) {
    u32(static_cast<uint32_t>(3 + params.size()));
    u16(function);
    for (uint16_t p : params) u16(p);
  }
  // A placeable WMF of w x h units at 96 per inch, so one unit is one pixel.
  Bytes file(uint16_t w, uint16_t h) const {
    Bytes out;
    auto put16 = [&](uint32_t v) {
      out.push_back(static_cast<uint8_t>(v));
      out.push_back(static_cast<uint8_t>(v >> 8));
    };
    put16(0xCDD7);
    put16(0x9AC6);
    put16(0);
    for (uint16_t v : {uint16_t{0}, uint16_t{0}, w, h, uint16_t{96}}) put16(v);
    put16(0);
    put16(0);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2) sum ^= static_cast<uint16_t>(out[i] | (out[i + 1] << 8));
    put16(sum);
    const uint32_t words = static_cast<uint32_t>(9 + body_.size() / 2);
    for (uint32_t v : {1u, 9u, 0x300u}) put16(v);
    put16(words & 0xFFFF);
    put16(words >> 16);
    put16(2);
    put16(maxRecord_ & 0xFFFF);
    put16(maxRecord_ >> 16);
    put16(0);
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
  }

 private:
  void u16(uint32_t v) {
    body_.push_back(static_cast<uint8_t>(v));
    body_.push_back(static_cast<uint8_t>(v >> 8));
  }
  void u32(uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
    if (v > maxRecord_) maxRecord_ = v;
  }
  Bytes body_;
  uint32_t maxRecord_ = 3;
};

void Window(WmfWriter& w, uint16_t width, uint16_t height) {
  w.record(0x020B, {0, 0});            // SETWINDOWORG
  w.record(0x020C, {height, width});  // SETWINDOWEXT
}

int64_t CountDark(const Picture& p) {
  int64_t n = 0;
  for (uint32_t px : p.px)
    if ((px >> 24) == 0xFF && (px & 0xFF) < 0x80) ++n;
  return n;
}

TEST(HostileInput, WmfBitmapIsKept) {
  // META_STRETCHDIB of a 2 x 2 black 24-bit DIB over the whole 40 x 40 picture.
  Bytes dib(40 + 16, 0);
  testutil::Put32(dib, 0, 40);
  testutil::Put32(dib, 4, 2);
  testutil::Put32(dib, 8, 2);
  testutil::Put16(dib, 12, 1);
  testutil::Put16(dib, 14, 24);
  std::vector<uint16_t> params = {0x0020, 0x00CC,  // SRCCOPY
                                  0,      2,     2, 0, 0,  // usage, src h, w, y, x
                                  40,     40,    0, 0};    // dest h, w, y, x
  for (size_t i = 0; i < dib.size(); i += 2)
    params.push_back(static_cast<uint16_t>(dib[i] | (dib[i + 1] << 8)));
  WmfWriter w;
  Window(w, 40, 40);
  w.record(0x0F43, params);
  w.record(0x0000, {});
  const Bytes file = w.file(40, 40);
  RecordingSink sink;
  std::string error;
  ASSERT_TRUE(DecodePictureMemory(file.data(), file.size(), "a.wmf", sink, error)) << error;
  ASSERT_EQ(sink.pic.width, 40);
  EXPECT_EQ(sink.pic.at(20, 20), kBlack);
  EXPECT_GT(CountDark(sink.pic), 40 * 40 / 2);
}

// META_TEXTOUT with the string's bytes (padded to words) at (x, y).
std::vector<uint16_t> TextOut(const std::string& text, uint16_t x, uint16_t y) {
  std::vector<uint16_t> p = {static_cast<uint16_t>(text.size())};
  for (size_t i = 0; i < text.size(); i += 2)
    p.push_back(static_cast<uint16_t>(static_cast<uint8_t>(text[i]) |
                                      (i + 1 < text.size() ? static_cast<uint8_t>(text[i + 1]) << 8
                                                           : 0)));
  p.push_back(y);
  p.push_back(x);
  return p;
}

TEST(HostileInput, WmfTextWithMarkupCharactersIsDrawnAsText) {
  const std::vector<std::string> texts = {"A<B&C", "</text><rect width='999' height='999'/>",
                                          "\xC4rger \x01\x7F >"};
  for (const std::string& text : texts) {
    WmfWriter w;
    Window(w, 200, 60);
    // CREATEFONTINDIRECT, 40 units high, then select it.
    w.record(0x02FB, {40, 0, 0, 0, 400, 0, 0, 0, 0, 'A' | ('r' << 8), 'i' | ('a' << 8), 'l'});
    w.record(0x012D, {0});
    w.record(0x0521, TextOut(text, 5, 5));
    w.record(0x0000, {});
    const Bytes file = w.file(200, 60);
    RecordingSink sink;
    std::string error;
    ASSERT_TRUE(DecodePictureMemory(file.data(), file.size(), "t.wmf", sink, error))
        << text << ": " << error;
    const int64_t dark = CountDark(sink.pic);
    EXPECT_GT(dark, 20) << text;                 // glyphs were drawn
    EXPECT_LT(dark, 200 * 60 / 2) << text;       // and no injected shape covers the picture
  }
}

// A header whose description lies beyond the header made the EMF converter
// read past its buffer (seen under AddressSanitizer).
// So did a description offset without a length.
TEST(HostileInput, EmfWithDescriptionBeyondItsHeaderIsSafe) {
  for (const char* name : {"emf_description_beyond_header.emf", "emf_description_offset_without_length.emf"}) {
    const std::string path = std::string(KORVANE_TEST_DATA) + "/fuzz/" + name;
    Picture pic;
    std::string error;
    if (!LoadPictureFile(path, pic, error)) EXPECT_EQ(error, kMetafileInvalidText) << name;
    else EXPECT_FALSE(pic.empty()) << name;
  }
}

// Fuzz findings in libwmf's bitmap reader: a placeable WMF of 254 bytes whose
// bitmap records made it ask for 12.8 GB, and one of 150 bytes whose bitmap
// header reaches beyond its record, on which it spun for minutes (also when
// that record follows an end record of the wrong size). All are
// refused within the budget of a refused file; libwmf never touched that
// memory, so the address space shows it, not the resident size.
TEST(HostileInput, WmfBitmapRecordsAreCheckedBeforeLibwmfReadsThem) {
  for (const char* name : {"wmf_bitmap_claims_gigabytes.wmf", "wmf_bitmap_header_beyond_record.wmf",
                           "wmf_bitmap_after_early_end.wmf"}) {
    const std::string path = std::string(KORVANE_TEST_DATA) + "/fuzz/" + name;
    const int64_t bound = 64 * kMiB + 2 * static_cast<int64_t>(testing::ReadBytes(path).size());
    const Outcome o = LoadInChild(path, bound, false);
    EXPECT_FALSE(o.loaded) << name;
    EXPECT_EQ(o.error, kMetafileInvalidText) << name;
    EXPECT_LT(o.peakVirtualGrowth, bound) << name;
  }
}

// EMF text goes into CDATA sections: a "]]>" in it must not end one and
// turn the rest of the text into markup.
TEST(HostileInput, EmfTextCannotCloseItsCdataSection) {
  Bytes body;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) body.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  // EXTCREATEFONTINDIRECTW: handle 1, LOGFONTW 40 units high, "Arial".
  u32(82);
  u32(8 + 4 + 92);
  u32(1);
  for (uint32_t v : {0xFFFFFFD8u, 0u, 0u, 0u, 400u, 0u, 0u}) u32(v);  // height -40 ... weight, flags
  for (const char c : std::string("Arial")) {
    body.push_back(static_cast<uint8_t>(c));
    body.push_back(0);
  }
  body.resize(body.size() + 64 - 10, 0);
  u32(37);  // SELECTOBJECT
  u32(12);
  u32(1);
  const std::u16string text = u"a]]><rect width='9999' height='9999'/>&b";
  const uint32_t at = 76;
  const uint32_t size = at + static_cast<uint32_t>((text.size() * 2 + 3) / 4 * 4);
  u32(84);  // EXTTEXTOUTW
  u32(size);
  for (uint32_t v : {0u, 0u, 200u, 60u, 1u, 0x3F800000u, 0x3F800000u}) u32(v);  // bounds, mode, scales
  for (uint32_t v : {5u, 45u, static_cast<uint32_t>(text.size()), at, 0u, 0u, 0u, 0u, 0u, 0u})
    u32(v);  // reference, count, string offset, options, rectangle, spacing offset
  for (char16_t c : text) {
    body.push_back(static_cast<uint8_t>(c));
    body.push_back(static_cast<uint8_t>(c >> 8));
  }
  while (body.size() % 4 != 0) body.push_back(0);
  for (uint32_t v : {14u, 20u, 0u, 16u, 20u}) u32(v);  // EOF

  Bytes file;
  auto f32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  f32(1);
  f32(88);
  for (uint32_t v : {0u, 0u, 199u, 59u}) f32(v);                    // bounds
  for (uint32_t v : {0u, 0u, 200u * 2540 / 96, 60u * 2540 / 96}) f32(v);  // frame
  f32(0x464D4520);
  f32(0x10000);
  f32(static_cast<uint32_t>(88 + body.size()));
  f32(5);  // records
  f32(2);  // handles
  for (int i = 0; i < 3; ++i) f32(0);
  for (uint32_t v : {1920u, 1080u, 508u, 286u}) f32(v);
  file.insert(file.end(), body.begin(), body.end());

  RecordingSink sink;
  std::string error;
  ASSERT_TRUE(DecodePictureMemory(file.data(), file.size(), "t.emf", sink, error)) << error;
  EXPECT_LT(CountDark(sink.pic), 200 * 60 / 2);
}

}  // namespace
}  // namespace korvane
