#pragma once
// Helpers shared by the picture tests: a recording row sink, temporary files,
// and a small independent bitmap writer for every header and depth.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/decode.h"
#include "support/tempdir.h"

namespace korvane::testutil {

using Bytes = std::vector<uint8_t>;

// Checks the sink contract while collecting the picture: begin once, every
// row inside the picture and exactly once.
class RecordingSink : public RowSink {
 public:
  bool begin(int32_t w, int32_t h) override {
    if (int64_t{w} * h > maxPixels) return false;
    ++begins;
    pic.resize(w, h, 0xDEADBEEF);
    seen.assign(static_cast<size_t>(h), 0);
    return true;
  }
  void row(int32_t y, const uint32_t* px) override {
    ASSERT_GE(y, 0);
    ASSERT_LT(y, pic.height);
    ++seen[static_cast<size_t>(y)];
    std::copy(px, px + pic.width, pic.px.begin() + static_cast<ptrdiff_t>(y) * pic.width);
  }
  bool allRowsOnce() const {
    for (int n : seen)
      if (n != 1) return false;
    return true;
  }
  int64_t maxPixels = kMaxPicturePixels;  // larger pictures are refused in begin
  int begins = 0;
  std::vector<int> seen;
  Picture pic;
};

inline bool Decode(const Bytes& b, RecordingSink& sink, std::string& error,
                   const std::string& name = "test.bmp") {
  return DecodePictureMemory(b.data(), b.size(), name, sink, error);
}

// A scratch folder removed with the fixture.
using TempDir = korvane::testing::TempDir;

inline void Put16(Bytes& v, size_t at, uint32_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}
inline void Put32(Bytes& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

// Independent bitmap writer: header size (12 core, 40 info, 52/56 info with
// masks, 64 OS/2 2.x, 108 V4, 124 V5), depth, compression and row order.
struct BmpSpec {
  uint32_t headerSize = 40;
  int bpp = 24;
  uint32_t compression = 0;  // 0 RGB, 3 bit fields, 6 alpha bit fields
  bool topDown = false;
  uint32_t masks[4] = {0, 0, 0, 0};  // written for compression 3 and 6
  std::vector<uint32_t> palette;     // ARGB, for bpp <= 8
  uint32_t colorsUsed = 0;
};

// `pixels` holds palette indices for bpp <= 8, packed pixel values otherwise.
inline Bytes WriteBmp(const BmpSpec& s, int32_t w, int32_t h, const std::vector<uint32_t>& pixels,
                      const Bytes& rawData = {}) {
  const bool core = s.headerSize == 12;
  const size_t entry = core ? 3 : 4;
  const size_t trailingMasks = (s.headerSize == 40 && s.compression == 3)   ? 12
                               : (s.headerSize == 40 && s.compression == 6) ? 16
                                                                            : 0;
  const size_t palBytes = s.palette.size() * entry;
  const size_t stride = ((static_cast<size_t>(w) * s.bpp + 31) / 32) * 4;
  const size_t offBits = 14 + s.headerSize + trailingMasks + palBytes;
  const size_t dataBytes = rawData.empty() ? stride * h : rawData.size();
  Bytes b(offBits + dataBytes, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 10, static_cast<uint32_t>(offBits));
  Put32(b, 14, s.headerSize);
  if (core) {
    Put16(b, 18, w);
    Put16(b, 20, h);
    Put16(b, 22, 1);
    Put16(b, 24, s.bpp);
  } else {
    Put32(b, 18, static_cast<uint32_t>(w));
    Put32(b, 22, static_cast<uint32_t>(s.topDown ? -h : h));
    Put16(b, 26, 1);
    Put16(b, 28, s.bpp);
    if (s.headerSize >= 20) Put32(b, 30, s.compression);
    if (s.headerSize >= 24) Put32(b, 34, static_cast<uint32_t>(dataBytes));
    if (s.headerSize >= 36) Put32(b, 46, s.colorsUsed);
    if (s.compression == 3 || s.compression == 6) {
      if (trailingMasks != 0) {
        for (size_t i = 0; i < trailingMasks / 4; ++i) Put32(b, 14 + 40 + 4 * i, s.masks[i]);
      } else if (s.headerSize >= 52) {
        for (size_t i = 0; i < (s.headerSize >= 56 ? 4u : 3u); ++i)
          Put32(b, 54 + 4 * i, s.masks[i]);
      }
    }
  }
  size_t at = 14 + s.headerSize + trailingMasks;
  for (uint32_t c : s.palette) {
    b[at] = static_cast<uint8_t>(c);
    b[at + 1] = static_cast<uint8_t>(c >> 8);
    b[at + 2] = static_cast<uint8_t>(c >> 16);
    at += entry;
  }
  if (!rawData.empty()) {
    std::copy(rawData.begin(), rawData.end(), b.begin() + static_cast<ptrdiff_t>(offBits));
    return b;
  }
  for (int32_t y = 0; y < h; ++y) {
    const int32_t fileRow = s.topDown ? y : h - 1 - y;
    uint8_t* row = b.data() + offBits + stride * fileRow;
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t v = pixels[static_cast<size_t>(y) * w + x];
      if (s.bpp < 8) {
        const int perByte = 8 / s.bpp;
        const int shift = 8 - s.bpp * (x % perByte + 1);
        row[x / perByte] |= static_cast<uint8_t>(v << shift);
      } else {
        for (int k = 0; k < s.bpp / 8; ++k)
          row[x * (s.bpp / 8) + k] = static_cast<uint8_t>(v >> (8 * k));
      }
    }
  }
  return b;
}

}  // namespace korvane::testutil
