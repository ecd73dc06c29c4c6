// PNG decoding through libpng: every colour type and depth comes out as
// 8-bit BGRA in memory, which is our ARGB word; alpha stays as stored.
#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include "image/codecs.h"

namespace korvane::codec {
namespace {

// BGRA bytes read as one word are ARGB only on a little-endian machine.
static_assert(std::endian::native == std::endian::little);

struct Source {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

void ReadData(png_structp png, png_bytep out, png_size_t length) {
  auto* src = static_cast<Source*>(png_get_io_ptr(png));
  if (src->size - src->pos < length) png_error(png, "truncated");
  std::memcpy(out, src->data + src->pos, length);
  src->pos += length;
}

// Kept outside the function that calls setjmp, so the jump skips no destructor.
struct State {
  png_structp png = nullptr;
  png_infop info = nullptr;
  bool outOfMemory = false;
  std::vector<uint32_t> image;  // whole picture, interlaced files only
  std::vector<uint32_t> line;
  ~State() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  // libpng reports a failed allocation as an error like any other; it is
  // told apart so that the user learns the real cause.
  auto* s = static_cast<State*>(png_get_error_ptr(png));
  if (s != nullptr && message != nullptr && std::strstr(message, "ut of memory") != nullptr)
    s->outOfMemory = true;
  png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// Deflate cannot expand data by more than about 1032 times, so compressed
// image data too short for the header's picture means a cut or forged file:
// it is refused before a buffer for the whole picture is allocated.
bool ImageDataCanFill(const uint8_t* data, size_t size) {
  if (size < 33) return false;
  const uint64_t w = BigEndian32(data + 16), h = BigEndian32(data + 20);
  const unsigned depth = data[24], colour = data[25];
  const unsigned channels = colour == 2 ? 3 : colour == 4 ? 2 : colour == 6 ? 4 : 1;
  const uint64_t rawBytes = h * ((w * depth * channels + 7) / 8);
  uint64_t compressed = 0;
  for (size_t pos = 8; size - pos >= 12;) {
    const uint64_t length = BigEndian32(data + pos);
    if (std::memcmp(data + pos + 4, "IDAT", 4) == 0) compressed += length;
    if (length > size - pos - 12) break;
    pos += 12 + static_cast<size_t>(length);
  }
  return (compressed + 64) * 1032 >= rawBytes;
}

// libpng allocates a chunk's claimed length before reading it (this
// library's build ignores the chunk size limit for text chunks); every
// chunk must fit in the file, so a forged length is refused beforehand.
bool ChunksFitFile(const uint8_t* data, size_t size) {
  for (size_t pos = 8; pos < size;) {
    if (size - pos < 12) return false;
    const uint64_t length = BigEndian32(data + pos);
    if (length > size - pos - 12) return false;
    if (std::memcmp(data + pos + 4, "IEND", 4) == 0) return true;
    pos += 12 + static_cast<size_t>(length);
  }
  return false;
}

bool Run(State& s, Source& src, RowSink& sink) {
  if (!ChunksFitFile(src.data, src.size)) return false;
  if (setjmp(png_jmpbuf(s.png))) return false;
  // No ancillary chunk (text, profiles) may claim more than a few megabytes.
  png_set_chunk_malloc_max(s.png, 8u << 20);
  png_set_chunk_cache_max(s.png, 1000);
  png_set_user_limits(s.png, static_cast<png_uint_32>(kMaxPicturePixels),
                      static_cast<png_uint_32>(kMaxPicturePixels));
  png_set_read_fn(s.png, &src, ReadData);
  png_read_info(s.png, s.info);
  png_uint_32 w = 0, h = 0;
  int depth = 0, colour = 0, interlace = 0;
  png_get_IHDR(s.png, s.info, &w, &h, &depth, &colour, &interlace, nullptr, nullptr);
  if (!SaneDimensions(w, h)) return false;
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(s.png);
  if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(s.png);
  if (png_get_valid(s.png, s.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(s.png);
  if (depth == 16) png_set_scale_16(s.png);
  if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(s.png);
  png_set_add_alpha(s.png, 0xFF, PNG_FILLER_AFTER);  // no effect where alpha exists
  png_set_bgr(s.png);
  const int passes = png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  if (png_get_rowbytes(s.png, s.info) != size_t{w} * 4) return false;
  if (!ImageDataCanFill(src.data, src.size)) return false;
  if (passes > 1) {
    // Interlaced rows are only complete after the last pass; the sink gets
    // its picture only once they all decoded.
    s.image.resize(size_t{w} * h);
    for (int pass = 0; pass < passes; ++pass)
      for (png_uint_32 y = 0; y < h; ++y)
        png_read_row(s.png, reinterpret_cast<png_bytep>(s.image.data() + size_t{w} * y), nullptr);
    if (!sink.begin(static_cast<int32_t>(w), static_cast<int32_t>(h))) return false;
    for (png_uint_32 y = 0; y < h; ++y)
      sink.row(static_cast<int32_t>(y), s.image.data() + size_t{w} * y);
  } else {
    if (!sink.begin(static_cast<int32_t>(w), static_cast<int32_t>(h))) return false;
    s.line.resize(w);
    for (png_uint_32 y = 0; y < h; ++y) {
      png_read_row(s.png, reinterpret_cast<png_bytep>(s.line.data()), nullptr);
      sink.row(static_cast<int32_t>(y), s.line.data());
    }
  }
  png_read_end(s.png, nullptr);
  return true;
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, RowSink& sink, std::string& error) {
  error = kPngInvalidText;
  State s;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, OnError, OnWarning);
  if (s.png == nullptr) return false;
  s.info = png_create_info_struct(s.png);
  if (s.info == nullptr) return false;
  Source src{data, size, 0};
  const bool ok = Run(s, src, sink);
  if (s.outOfMemory) throw std::bad_alloc();
  return ok;
}

}  // namespace korvane::codec
