// PNG decoding through libpng: every colour type and depth comes out as
// 8-bit BGRA in memory, which is our ARGB word; alpha stays as stored.
#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>
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

[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// Kept outside the function that calls setjmp, so the jump skips no destructor.
struct State {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<uint32_t> image;  // whole picture, interlaced files only
  std::vector<uint32_t> line;
  ~State() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

bool Run(State& s, Source& src, RowSink& sink) {
  if (setjmp(png_jmpbuf(s.png))) return false;
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
  if (!sink.begin(static_cast<int32_t>(w), static_cast<int32_t>(h))) return false;
  if (passes > 1) {
    // Interlaced rows are only complete after the last pass.
    s.image.resize(size_t{w} * h);
    for (int pass = 0; pass < passes; ++pass)
      for (png_uint_32 y = 0; y < h; ++y)
        png_read_row(s.png, reinterpret_cast<png_bytep>(s.image.data() + size_t{w} * y), nullptr);
    for (png_uint_32 y = 0; y < h; ++y)
      sink.row(static_cast<int32_t>(y), s.image.data() + size_t{w} * y);
  } else {
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
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (s.png == nullptr) return false;
  s.info = png_create_info_struct(s.png);
  if (s.info == nullptr) return false;
  Source src{data, size, 0};
  return Run(s, src, sink);
}

}  // namespace korvane::codec
