// JPEG decoding through libjpeg. libjpeg's default error handler ends the
// process; ours jumps back and reports the message code instead.
#include <csetjmp>
#include <cstdio>
#include <new>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "image/codecs.h"

namespace korvane::codec {
namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// libjpeg goes on after damaged data and fills the rest with grey; such a
// picture would turn silently into a wrong program, so every warning about
// the data ends decoding with its code. Only warnings about metadata that
// leaves the pixels alone are let through.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  const int code = cinfo->err->msg_code;
  if (code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM || code == JWRN_BOGUS_ICC) return;
  ErrorExit(cinfo);
}

// Huffman-coded data needs at least one bit for every 8 x 8 block of every
// component (its DC code), so a file too short for the header's picture is
// refused before the picture is allocated. Arithmetic coding has no such
// floor.
bool DataCanFill(const jpeg_decompress_struct& cinfo, size_t size) {
  if (cinfo.arith_code) return true;
  uint64_t blocks = 0;
  for (int i = 0; i < cinfo.num_components; ++i)
    blocks += uint64_t{cinfo.comp_info[i].width_in_blocks} * cinfo.comp_info[i].height_in_blocks;
  return blocks / 8 <= size;
}

void OutputMessage(j_common_ptr) {}

// The decompressor and the buffers it needs live outside the function that
// calls setjmp, so nothing with a destructor is skipped by the jump.
struct State {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  std::vector<uint8_t> line;
  std::vector<uint32_t> row;
  // Also when a sink's allocation throws past the jump buffer; destroying
  // twice is harmless.
  ~State() { jpeg_destroy_decompress(&cinfo); }
};

bool Run(State& s, const uint8_t* data, size_t size, RowSink& sink, std::string& error) {
  jpeg_decompress_struct& cinfo = s.cinfo;
  cinfo.err = jpeg_std_error(&s.err.pub);
  s.err.pub.error_exit = ErrorExit;
  s.err.pub.emit_message = EmitMessage;
  s.err.pub.output_message = OutputMessage;
  if (setjmp(s.err.jump)) {
    error = JpegErrorText(s.err.pub.msg_code);
    jpeg_destroy_decompress(&cinfo);
    if (s.err.pub.msg_code == JERR_OUT_OF_MEMORY) throw std::bad_alloc();
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  if (!SaneDimensions(cinfo.image_width, cinfo.image_height))
    ERREXIT1(&cinfo, JERR_IMAGE_TOO_BIG, static_cast<unsigned>(kMaxPicturePixels));
  if (!DataCanFill(cinfo, size)) ERREXIT(&cinfo, JWRN_JPEG_EOF);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  const int32_t w = static_cast<int32_t>(cinfo.output_width);
  const int32_t h = static_cast<int32_t>(cinfo.output_height);
  if (!sink.begin(w, h)) {
    error = JpegErrorText(JERR_OUT_OF_MEMORY);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  s.line.resize(static_cast<size_t>(w) * 4);
  s.row.resize(static_cast<size_t>(w));
  // Adobe writes CMYK inverted.
  const bool inverted = cmyk && cinfo.saw_Adobe_marker;
  while (cinfo.output_scanline < cinfo.output_height) {
    const int32_t y = static_cast<int32_t>(cinfo.output_scanline);
    JSAMPROW rows[1] = {s.line.data()};
    jpeg_read_scanlines(&cinfo, rows, 1);
    const uint8_t* p = s.line.data();
    for (int32_t x = 0; x < w; ++x, p += 4) {
      if (cmyk) {
        uint32_t c = p[0], m = p[1], ye = p[2], k = p[3];
        if (!inverted) {
          c = 255 - c;
          m = 255 - m;
          ye = 255 - ye;
          k = 255 - k;
        }
        // Inverted values: channel = value * K / 255.
        s.row[static_cast<size_t>(x)] = 0xFF000000u | (((c * k + 127) / 255) << 16) |
                                        (((m * k + 127) / 255) << 8) | ((ye * k + 127) / 255);
      } else {
        s.row[static_cast<size_t>(x)] =
            0xFF000000u | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
      }
    }
    sink.row(y, s.row.data());
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, RowSink& sink, std::string& error) {
  State s;
  return Run(s, data, size, sink, error);
}

}  // namespace korvane::codec
