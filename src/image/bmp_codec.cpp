// Windows bitmap (and icon) decoding and 32-bit bitmap writing.
//
// The whole file is in memory; every offset is checked against its size before
// it is read, and the header's claims (dimensions, pixel data size) are checked
// before the sink allocates anything.
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "base/fileio.h"
#include "image/codecs.h"
#include "image/decode.h"

namespace korvane {
namespace {

enum : uint32_t {
  kBiRgb = 0,
  kBiRle8 = 1,
  kBiRle4 = 2,
  kBiBitfields = 3,
  kBiJpeg = 4,
  kBiPng = 5,
  kBiAlphaBitfields = 6,
};

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

// One colour channel given by a bit mask, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  std::vector<uint8_t> scale;  // value -> 8 bits, for masks of up to 8 bits

  void init(uint32_t m) {
    mask = m;
    shift = 0;
    bits = 0;
    scale.clear();
    if (m == 0) return;
    while (((m >> shift) & 1u) == 0) ++shift;
    uint32_t v = m >> shift;
    while (v != 0) {
      ++bits;
      v >>= 1;
    }
    if (bits <= 8) {
      const uint32_t max = (1u << bits) - 1;
      scale.resize(max + 1);
      for (uint32_t i = 0; i <= max; ++i)
        scale[i] = static_cast<uint8_t>((i * 255 + max / 2) / max);
    }
  }
  uint32_t get(uint32_t p) const {
    if (bits == 0) return 0;
    const uint32_t v = (p & mask) >> shift;
    if (!scale.empty()) return scale[v];
    return v >> (bits - 8);  // wider fields keep their top 8 bits
  }
};

// What a bitmap header says about its pixels.
struct Dib {
  int32_t width = 0;
  int32_t height = 0;  // positive; topDown tells the row order
  bool topDown = false;
  int bpp = 0;
  uint32_t compression = kBiRgb;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool useAlphaMask = false;
  std::array<uint32_t, 256> palette{};
  size_t bits = 0;     // offset of the pixel data in the buffer
  size_t bitsEnd = 0;  // end of the data available for the pixels
};

// Parse the header block at `pos`. With `fileBits` != 0 the pixel data starts
// there (file header's offset); otherwise directly after the palette (icons).
// `icon` halves the height, which then counts the colour and the mask image.
bool ParseDib(const uint8_t* data, size_t size, size_t pos, size_t fileBits, bool icon, Dib& d) {
  if (pos > size || size - pos < 4) return false;
  const uint32_t hsize = U32(data + pos);
  if (hsize < 12 || hsize > size - pos) return false;
  const uint8_t* h = data + pos;
  int64_t width = 0, height = 0;
  int paletteEntry = 4;
  uint32_t colorsUsed = 0;
  size_t maskBytes = 0;
  if (hsize == 12) {
    // Core header: 16-bit unsigned dimensions, three-byte palette entries.
    width = U16(h + 4);
    height = U16(h + 6);
    d.bpp = U16(h + 10);
    d.compression = kBiRgb;
    paletteEntry = 3;
  } else if (hsize < 16) {
    return false;
  } else {
    width = I32(h + 4);
    height = I32(h + 8);
    d.bpp = U16(h + 14);
    d.compression = hsize >= 20 ? U32(h + 16) : kBiRgb;
    colorsUsed = hsize >= 36 ? U32(h + 32) : 0;
    const bool os2 = hsize != 40 && hsize != 52 && hsize != 56 && hsize <= 64;
    if (os2) {
      // OS/2 2.x headers: their compression 3 and 4 mean Huffman and RLE24.
      if (d.compression != kBiRgb && d.compression != kBiRle8 && d.compression != kBiRle4)
        return false;
    } else if (d.compression == kBiBitfields || d.compression == kBiAlphaBitfields) {
      const size_t count = d.compression == kBiAlphaBitfields ? 4 : 3;
      if (hsize >= 52) {
        for (size_t i = 0; i < 3; ++i) d.masks[i] = U32(h + 40 + 4 * i);
        if (hsize >= 56) d.masks[3] = U32(h + 52);
      } else {
        // A plain info header keeps its masks right behind it.
        maskBytes = 4 * count;
        if (size - pos - hsize < maskBytes) return false;
        for (size_t i = 0; i < count; ++i) d.masks[i] = U32(h + hsize + 4 * i);
      }
    }
  }
  if (height < 0) {
    if (icon) return false;
    d.topDown = true;
    height = -height;
  }
  if (icon) {
    if (height % 2 != 0) return false;
    height /= 2;
  }
  if (width <= 0 || height <= 0) return false;
  if (!codec::SaneDimensions(width, height)) return false;
  d.width = static_cast<int32_t>(width);
  d.height = static_cast<int32_t>(height);

  switch (d.compression) {
    case kBiRgb:
      if (d.bpp != 1 && d.bpp != 2 && d.bpp != 4 && d.bpp != 8 && d.bpp != 16 && d.bpp != 24 &&
          d.bpp != 32)
        return false;
      if (d.bpp == 16) {
        d.masks[0] = 0x7C00;
        d.masks[1] = 0x03E0;
        d.masks[2] = 0x001F;
      } else if (d.bpp == 32) {
        // A 32-bit bitmap keeps the alpha bytes it stores.
        d.masks[0] = 0x00FF0000;
        d.masks[1] = 0x0000FF00;
        d.masks[2] = 0x000000FF;
        d.masks[3] = 0xFF000000;
        d.useAlphaMask = true;
      }
      break;
    case kBiRle8:
      if (d.bpp != 8 || d.topDown) return false;
      break;
    case kBiRle4:
      if (d.bpp != 4 || d.topDown) return false;
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (d.bpp != 16 && d.bpp != 32) return false;
      // Bitmaps of fewer than 32 bits per pixel are opaque. A 32-bit one keeps
      // the alpha it stores: without an alpha mask that is the top byte,
      // unless the colours use it.
      if (d.bpp == 32 && d.masks[3] == 0 &&
          ((d.masks[0] | d.masks[1] | d.masks[2]) & 0xFF000000u) == 0)
        d.masks[3] = 0xFF000000u;
      d.useAlphaMask = d.bpp == 32 && d.masks[3] != 0;
      if (d.bpp == 16)
        for (uint32_t& m : d.masks) m &= 0xFFFF;
      break;
    case kBiJpeg:
    case kBiPng:
      if (icon) return false;
      break;
    default:
      return false;
  }

  // Palette: unused or missing entries read as black.
  d.palette.fill(kBlack);
  const size_t palPos = pos + hsize + maskBytes;
  size_t palCount = 0;
  if (d.bpp <= 8 && d.compression != kBiJpeg && d.compression != kBiPng) {
    palCount = size_t{1} << d.bpp;
    if (colorsUsed != 0 && colorsUsed < palCount) palCount = colorsUsed;
    // Some writers give fewer entries than the depth allows without saying so.
    if (fileBits != 0 && fileBits >= palPos && (fileBits - palPos) / paletteEntry < palCount)
      palCount = (fileBits - palPos) / paletteEntry;
    if (palPos > size || (size - palPos) / paletteEntry < palCount) return false;
    for (size_t i = 0; i < palCount; ++i) {
      const uint8_t* e = data + palPos + i * paletteEntry;
      d.palette[i] = 0xFF000000u | (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
    }
  }
  if (fileBits != 0) {
    if (fileBits < pos + hsize || fileBits > size) return false;
    d.bits = fileBits;
  } else {
    d.bits = palPos + palCount * paletteEntry;
    if (d.bits > size) return false;
  }
  d.bitsEnd = size;
  return true;
}

int64_t Stride(const Dib& d) { return ((int64_t{d.width} * d.bpp + 31) / 32) * 4; }

// Expands packed rows into ARGB with lookup tables, so a 1-bit row costs one
// 32-byte copy per source byte.
class RowConverter {
 public:
  explicit RowConverter(const Dib& d) : d_(d) {
    if (d.bpp == 1 || d.bpp == 2 || d.bpp == 4) {
      const int perByte = 8 / d.bpp;
      const uint32_t mask = (1u << d.bpp) - 1;
      table_.resize(256 * static_cast<size_t>(perByte));
      for (int b = 0; b < 256; ++b)
        for (int k = 0; k < perByte; ++k) {
          const int index = (b >> (8 - d.bpp * (k + 1))) & mask;
          table_[static_cast<size_t>(b) * perByte + k] = d.palette[static_cast<size_t>(index)];
        }
    }
    if (d.bpp == 16 || (d.bpp == 32 && !Plain32())) {
      for (int i = 0; i < 4; ++i) ch_[i].init(d.masks[i]);
    }
  }

  void convert(const uint8_t* src, uint32_t* out) const {
    const int32_t w = d_.width;
    switch (d_.bpp) {
      case 1:
      case 2:
      case 4: {
        const int perByte = 8 / d_.bpp;
        const int32_t whole = w / perByte;
        const uint32_t* t = table_.data();
        for (int32_t i = 0; i < whole; ++i)
          std::memcpy(out + static_cast<size_t>(i) * perByte,
                      t + static_cast<size_t>(src[i]) * perByte, sizeof(uint32_t) * perByte);
        const int rest = w - whole * perByte;
        if (rest > 0)
          std::memcpy(out + static_cast<size_t>(whole) * perByte,
                      t + static_cast<size_t>(src[whole]) * perByte, sizeof(uint32_t) * rest);
        break;
      }
      case 8:
        for (int32_t x = 0; x < w; ++x) out[x] = d_.palette[src[x]];
        break;
      case 24:
        for (int32_t x = 0; x < w; ++x, src += 3)
          out[x] = 0xFF000000u | (uint32_t{src[2]} << 16) | (uint32_t{src[1]} << 8) | src[0];
        break;
      case 16:
        for (int32_t x = 0; x < w; ++x, src += 2) out[x] = Masked(U16(src), false);
        break;
      case 32:
        if (Plain32()) {
          if (d_.useAlphaMask) {
            for (int32_t x = 0; x < w; ++x) out[x] = U32(src + 4 * x);
          } else {
            for (int32_t x = 0; x < w; ++x) out[x] = U32(src + 4 * x) | 0xFF000000u;
          }
        } else {
          for (int32_t x = 0; x < w; ++x, src += 4) out[x] = Masked(U32(src), d_.useAlphaMask);
        }
        break;
    }
  }

 private:
  bool Plain32() const {
    return d_.masks[0] == 0x00FF0000 && d_.masks[1] == 0x0000FF00 && d_.masks[2] == 0x000000FF &&
           (!d_.useAlphaMask || d_.masks[3] == 0xFF000000);
  }
  uint32_t Masked(uint32_t p, bool alpha) const {
    const uint32_t a = alpha ? ch_[3].get(p) : 255u;
    return (a << 24) | (ch_[0].get(p) << 16) | (ch_[1].get(p) << 8) | ch_[2].get(p);
  }

  const Dib& d_;
  std::vector<uint32_t> table_;
  Channel ch_[4];
};

// Uncompressed and bit-field pixel data.
bool DecodeRaw(const uint8_t* data, const Dib& d, RowSink& sink) {
  const int64_t stride = Stride(d);
  const int64_t lastRow = (int64_t{d.width} * d.bpp + 7) / 8;
  // The last stored row may lack its padding; anything shorter is truncated.
  const int64_t need = stride * (d.height - 1) + lastRow;
  if (static_cast<int64_t>(d.bitsEnd - d.bits) < need) return false;
  if (!sink.begin(d.width, d.height)) return false;
  RowConverter conv(d);
  std::vector<uint32_t> row(static_cast<size_t>(d.width));
  for (int32_t r = 0; r < d.height; ++r) {
    conv.convert(data + d.bits + static_cast<size_t>(stride) * r, row.data());
    sink.row(d.topDown ? r : d.height - 1 - r, row.data());
  }
  return true;
}

// RLE8 and RLE4. The stream only moves forward (right, then up the bitmap),
// so rows are finished one after another and go out as soon as they are done.
bool DecodeRle(const uint8_t* data, const Dib& d, RowSink& sink) {
  if (!sink.begin(d.width, d.height)) return false;
  const bool four = d.compression == kBiRle4;
  const uint32_t background = d.palette[0];
  std::vector<uint32_t> row(static_cast<size_t>(d.width), background);
  const std::vector<uint32_t> blank(static_cast<size_t>(d.width), background);
  int32_t r = 0;  // bitmap row, 0 = bottom
  int64_t x = 0;
  auto emit = [&]() {
    if (r < d.height) sink.row(d.height - 1 - r, row.data());
    std::fill(row.begin(), row.end(), background);
  };
  auto put = [&](uint8_t index) {
    if (x < d.width) row[static_cast<size_t>(x)] = d.palette[index];
    ++x;
  };
  size_t p = d.bits;
  const size_t end = d.bitsEnd;
  while (r < d.height) {
    if (end - p < 2) return false;  // no end-of-bitmap marker: truncated
    const uint8_t n = data[p];
    const uint8_t c = data[p + 1];
    p += 2;
    if (n > 0) {
      for (int i = 0; i < n; ++i) put(four ? ((i & 1) ? (c & 0x0F) : (c >> 4)) : c);
    } else if (c == 0) {
      emit();
      ++r;
      x = 0;
    } else if (c == 1) {
      emit();
      for (++r; r < d.height; ++r) sink.row(d.height - 1 - r, blank.data());
      return true;
    } else if (c == 2) {
      if (end - p < 2) return false;
      const uint8_t dx = data[p];
      const uint8_t dy = data[p + 1];
      p += 2;
      if (dy > 0) {
        emit();
        for (int i = 1; i < dy && r + i < d.height; ++i)
          sink.row(d.height - 1 - (r + i), blank.data());
        r += dy;
      }
      x += dx;
    } else {
      const size_t bytes = four ? (c + 1u) / 2u : c;
      const size_t padded = (bytes + 1u) & ~size_t{1};
      if (end - p < padded) return false;
      for (int i = 0; i < c; ++i) {
        const uint8_t b = data[p + (four ? i / 2 : i)];
        put(four ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
      }
      p += padded;
    }
  }
  return true;
}

// Takes rows and keeps nothing: a dry run of a compressed stream.
class DiscardSink : public RowSink {
 public:
  bool begin(int32_t, int32_t) override { return true; }
  void row(int32_t, const uint32_t*) override {}
};

// A few bytes of RLE can describe a huge picture, and a damaged stream is
// only found at its end: the stream is walked once without a picture, so a
// refused file never costs the picture's memory.
bool DecodeRleChecked(const uint8_t* data, const Dib& d, RowSink& sink) {
  DiscardSink dry;
  return DecodeRle(data, d, dry) && DecodeRle(data, d, sink);
}

bool DecodeDib(const uint8_t* data, size_t size, const Dib& d, RowSink& sink, std::string& error) {
  if (d.compression == kBiJpeg || d.compression == kBiPng) {
    // Bitmaps that wrap a whole JPEG or PNG stream.
    return d.compression == kBiJpeg ? codec::DecodeJpeg(data + d.bits, size - d.bits, sink, error)
                                    : codec::DecodePng(data + d.bits, size - d.bits, sink, error);
  }
  const bool ok = (d.compression == kBiRle8 || d.compression == kBiRle4) ? DecodeRleChecked(data, d, sink)
                                                                         : DecodeRaw(data, d, sink);
  if (!ok) error = kBitmapInvalidText;
  return ok;
}

// Collects an icon image so that its mask can be applied before it goes out.
class PictureCollector : public RowSink {
 public:
  bool begin(int32_t w, int32_t h) override {
    pic.resize(w, h, 0);
    return true;
  }
  void row(int32_t y, const uint32_t* px) override {
    std::memcpy(&pic.px[static_cast<size_t>(y) * pic.width], px, sizeof(uint32_t) * pic.width);
  }
  Picture pic;
};

// Icons are drawn on a transparent white canvas: uncovered pixels become
// 0x00FFFFFF, covered ones opaque (partly transparent ones blended on white).
uint32_t OnCanvas(uint32_t p) {
  const uint32_t a = p >> 24;
  if (a == 0) return 0x00FFFFFFu;
  if (a == 255) return p;
  uint32_t out = 0xFF000000u;
  for (int s = 0; s < 24; s += 8) {
    const uint32_t c = (p >> s) & 0xFF;
    out |= ((c * a + 255 * (255 - a) + 127) / 255) << s;
  }
  return out;
}

}  // namespace

namespace codec {

bool DecodeBmp(const uint8_t* data, size_t size, RowSink& sink, std::string& error) {
  error = kBitmapInvalidText;
  if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return false;
  Dib d;
  const uint32_t offBits = U32(data + 10);
  if (!ParseDib(data, size, 14, offBits, false, d)) return false;
  return DecodeDib(data, size, d, sink, error);
}

bool DecodeIco(const uint8_t* data, size_t size, RowSink& sink, std::string& error) {
  error = kIconInvalidText;
  if (size < 6 || U16(data) != 0 || (U16(data + 2) != 1 && U16(data + 2) != 2)) return false;
  const size_t count = U16(data + 4);
  if (count == 0 || (size - 6) / 16 < count) return false;
  // The largest image, and of those the deepest, is the icon's natural form.
  size_t best = 0;
  int64_t bestArea = -1;
  int bestBpp = -1;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = data + 6 + 16 * i;
    const int64_t w = e[0] == 0 ? 256 : e[0];
    const int64_t h = e[1] == 0 ? 256 : e[1];
    const int bpp = U16(e + 6);
    if (w * h > bestArea || (w * h == bestArea && bpp > bestBpp)) {
      best = i;
      bestArea = w * h;
      bestBpp = bpp;
    }
  }
  const uint8_t* e = data + 6 + 16 * best;
  const uint32_t length = U32(e + 8);
  const uint32_t offset = U32(e + 12);
  if (offset > size || length > size - offset || length < 8) return false;
  const uint8_t* img = data + offset;

  static const uint8_t kPngMagic[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (std::memcmp(img, kPngMagic, 8) == 0) {
    // Row by row onto the canvas and on to the caller: a PNG icon is held
    // once, in the caller's picture, however large its header says it is.
    class CanvasRows : public RowSink {
     public:
      explicit CanvasRows(RowSink& out) : out_(out) {}
      bool begin(int32_t width, int32_t height) override {
        if (!out_.begin(width, height)) return false;
        row_.resize(static_cast<size_t>(width));
        return true;
      }
      void row(int32_t y, const uint32_t* pixels) override {
        for (size_t x = 0; x < row_.size(); ++x) row_[x] = OnCanvas(pixels[x]);
        out_.row(y, row_.data());
      }

     private:
      RowSink& out_;
      std::vector<uint32_t> row_;
    } canvas(sink);
    std::string pngError;
    return DecodePng(img, length, canvas, pngError);
  }
  PictureCollector all;
  {
    Dib d;
    if (!ParseDib(img, length, 0, 0, true, d)) return false;
    if (d.compression != kBiRgb && d.compression != kBiBitfields) return false;
    std::string dibError;
    if (!DecodeDib(img, length, d, all, dibError)) return false;
    // The AND mask follows the colour image; 32-bit icons may go without it.
    const size_t colourBytes = static_cast<size_t>(Stride(d)) * d.height;
    const size_t maskStride = ((static_cast<size_t>(d.width) + 31) / 32) * 4;
    const size_t maskPos = d.bits + colourBytes;
    const bool hasMask = maskPos <= length && (length - maskPos) / maskStride >= size_t(d.height);
    bool alpha = false;
    if (d.bpp == 32)
      for (uint32_t p : all.pic.px) alpha = alpha || (p >> 24) != 0;
    if (!alpha && !hasMask && d.bpp != 32) return false;
    for (int32_t y = 0; y < d.height; ++y) {
      const uint8_t* m = img + maskPos + maskStride * (d.height - 1 - y);
      for (int32_t x = 0; x < d.width; ++x) {
        uint32_t& p = all.pic.px[static_cast<size_t>(y) * d.width + x];
        if (alpha) {
          p = OnCanvas(p);
        } else if (hasMask && (m[x / 8] >> (7 - x % 8)) & 1) {
          p = 0x00FFFFFFu;
        } else {
          p |= 0xFF000000u;
        }
      }
    }
  }
  if (!sink.begin(all.pic.width, all.pic.height)) return false;
  for (int32_t y = 0; y < all.pic.height; ++y)
    sink.row(y, all.pic.px.data() + static_cast<size_t>(y) * all.pic.width);
  return true;
}

}  // namespace codec

std::vector<uint8_t> EncodeBmp32(const Picture& picture) {
  const size_t w = picture.empty() ? 0 : static_cast<size_t>(picture.width);
  const size_t h = picture.empty() ? 0 : static_cast<size_t>(picture.height);
  constexpr size_t kHeader = 14 + 108;
  const size_t dataSize = w * h * 4;
  std::vector<uint8_t> out(kHeader + dataSize, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<uint32_t>(out.size()));
  Put32(out, 10, kHeader);
  Put32(out, 14, 108);
  Put32(out, 18, static_cast<uint32_t>(w));
  Put32(out, 22, static_cast<uint32_t>(h));
  Put16(out, 26, 1);
  Put16(out, 28, 32);
  Put32(out, 30, kBiBitfields);
  Put32(out, 34, static_cast<uint32_t>(dataSize));
  Put32(out, 38, 2835);  // 72 dpi
  Put32(out, 42, 2835);
  Put32(out, 54, 0x00FF0000);
  Put32(out, 58, 0x0000FF00);
  Put32(out, 62, 0x000000FF);
  Put32(out, 66, 0xFF000000);
  Put32(out, 70, 0x73524742);  // 'sRGB'
  size_t at = kHeader;
  for (size_t y = h; y-- > 0;) {
    const uint32_t* src = picture.px.data() + y * w;
    for (size_t x = 0; x < w; ++x, at += 4) Put32(out, at, src[x]);
  }
  return out;
}

bool SavePictureBmp32(const std::string& path, const Picture& picture, std::string& error) {
  const std::vector<uint8_t> bytes = EncodeBmp32(picture);
  // Through a temporary file: a save that fails half-way keeps the old file.
  if (!WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                                  bytes.size()))) {
    error = CannotCreateFileText(path);
    return false;
  }
  return true;
}

}  // namespace korvane
