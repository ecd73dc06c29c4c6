// Picture decoding speed: a 4096 x 4096 1-bit bitmap (the size of a large
// scan) through DecodePictureFile into a one-byte-per-pixel map, the way the
// outline tracer reads it, and through LoadPictureFile into a 32-bit picture;
// a 24-bit bitmap of the same size for comparison.
//
// usage: decode_bench [REPEATS]
// Prints the fastest and the median time of each case in milliseconds.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/decode.h"

namespace {

using korvane::RowSink;

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

// Blobs of black on white, bottom-up, 1 or 24 bits per pixel.
std::vector<uint8_t> MakeBitmap(int32_t w, int32_t h, int bpp) {
  const size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
  const size_t pal = bpp == 1 ? 8 : 0;
  const size_t off = 14 + 40 + pal;
  std::vector<uint8_t> b(off + stride * h, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, static_cast<uint32_t>(off));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(w));
  Put32(b, 22, static_cast<uint32_t>(h));
  b[26] = 1;
  b[28] = static_cast<uint8_t>(bpp);
  if (bpp == 1) Put32(b, 58, 0x00FFFFFF);  // index 0 black, 1 white
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const int dx = x % 64 - 32, dy = y % 64 - 32;
      const bool black = dx * dx + dy * dy < 400 + (x / 64 * 7 + y / 64 * 13) % 300;
      uint8_t* row = b.data() + off + stride * (h - 1 - y);
      if (bpp == 1) {
        if (!black) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      } else {
        row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = black ? 0 : 255;
      }
    }
  return b;
}

// One byte per pixel, 1 for black: what a tracer keeps.
class ByteMapSink : public RowSink {
 public:
  bool begin(int32_t w, int32_t h) override {
    w_ = w;
    map.resize(static_cast<size_t>(w) * h);
    return true;
  }
  void row(int32_t y, const uint32_t* px) override {
    uint8_t* out = map.data() + static_cast<size_t>(y) * w_;
    for (int32_t x = 0; x < w_; ++x) out[x] = px[x] == 0xFF000000u;
  }
  std::vector<uint8_t> map;

 private:
  int32_t w_ = 0;
};

// Takes the rows and does nothing: the decoder's own cost.
class NullSink : public RowSink {
 public:
  bool begin(int32_t, int32_t) override { return true; }
  void row(int32_t, const uint32_t* px) override { last = px[0]; }
  uint32_t last = 0;
};

template <class F>
void Time(const char* name, int repeats, F run) {
  std::vector<double> ms;
  for (int i = 0; i < repeats; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    if (!run()) {
      std::printf("%s: failed\n", name);
      return;
    }
    ms.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  const double first = ms.front();
  std::sort(ms.begin(), ms.end());
  std::printf("%-40s first %7.1f ms  fastest %7.1f ms  median %7.1f ms\n", name, first, ms.front(),
              ms[ms.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  char dir[] = "/tmp/korvane_decode_bench_XXXXXX";
  if (mkdtemp(dir) == nullptr) return 1;
  const std::string one = std::string(dir) + "/scan1.bmp";
  const std::string rgb = std::string(dir) + "/scan24.bmp";
  for (const auto& [path, bpp] : {std::pair{one, 1}, std::pair{rgb, 24}}) {
    const std::vector<uint8_t> b = MakeBitmap(4096, 4096, bpp);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 1;
    std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
  }
  std::string error;
  NullSink null;
  Time("1-bit 4096x4096 -> rows only (RowSink)", repeats,
       [&] { return korvane::DecodePictureFile(one, null, error); });
  ByteMapSink sink;  // kept between runs, as a tracer reusing its map would
  Time("1-bit 4096x4096 -> byte map (RowSink)", repeats,
       [&] { return korvane::DecodePictureFile(one, sink, error); });
  Time("1-bit 4096x4096 -> fresh byte map", repeats, [&] {
    ByteMapSink fresh;
    return korvane::DecodePictureFile(one, fresh, error);
  });
  Time("1-bit 4096x4096 -> 32-bit Picture", repeats, [&] {
    korvane::Picture pic;
    return korvane::LoadPictureFile(one, pic, error);
  });
  Time("24-bit 4096x4096 -> byte map (RowSink)", repeats,
       [&] { return korvane::DecodePictureFile(rgb, sink, error); });
  std::remove(one.c_str());
  std::remove(rgb.c_str());
  rmdir(dir);
  return 0;
}
