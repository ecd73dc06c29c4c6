#pragma once
// Shared body of the picture decoder targets: decode, and when a picture
// comes out, check the row contract and that writing it as a 32-bit bitmap
// and reading that back gives the same pixels.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "image/codecs.h"
#include "image/decode.h"

namespace korvane::fuzz {

// Collects the picture and aborts on any break of the sink contract.
class CheckingSink : public RowSink {
 public:
  bool begin(int32_t w, int32_t h) override {
    if (begun_ || w <= 0 || h <= 0 || int64_t{w} * h > kMaxPicturePixels) std::abort();
    begun_ = true;
    // Large pictures are legal but too slow for fuzzing; refusing them here
    // still runs every check before the allocation.
    if (int64_t{w} * h > (int64_t{1} << 22)) return false;
    pic.resize(w, h, 0xDEADBEEFu);
    seen_.assign(static_cast<size_t>(h), 0);
    return true;
  }
  void row(int32_t y, const uint32_t* px) override {
    if (!begun_ || y < 0 || y >= pic.height || seen_[static_cast<size_t>(y)]++ != 0) std::abort();
    std::memcpy(pic.px.data() + static_cast<size_t>(y) * pic.width, px,
                sizeof(uint32_t) * static_cast<size_t>(pic.width));
  }
  bool complete() const {
    for (unsigned char n : seen_)
      if (n != 1) return false;
    return begun_;
  }
  Picture pic;

 private:
  bool begun_ = false;
  std::vector<unsigned char> seen_;
};

using Decoder = bool (*)(const uint8_t*, size_t, RowSink&, std::string&);

inline int CheckDecoder(Decoder decode, const uint8_t* data, size_t size) {
  CheckingSink sink;
  std::string error;
  const bool ok = decode(data, size, sink, error);
  if (!ok) {
    if (error.empty()) std::abort();  // every refusal names its reason
    return 0;
  }
  if (!sink.complete()) std::abort();  // success with rows missing
  const std::vector<uint8_t> bmp = EncodeBmp32(sink.pic);
  CheckingSink back;
  if (!codec::DecodeBmp(bmp.data(), bmp.size(), back, error) || !(back.pic == sink.pic))
    std::abort();
  return 0;
}

}  // namespace korvane::fuzz
