#pragma once
// A JPEG writer for the picture tests, through libjpeg.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace korvane::testutil {

// Components per pixel: 1 grey, 3 RGB, 4 CMYK (written with an Adobe marker).
inline std::vector<uint8_t> WriteJpeg(int32_t w, int32_t h, int components, const std::vector<uint8_t>& samples,
                bool progressive = false) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = components;
  c.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  // Full-resolution chroma: no colour bleeding across the block edges.
  for (int i = 0; i < c.num_components; ++i)
    c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(samples.data()) +
                   static_cast<size_t>(c.next_scanline) * w * components;
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> out(mem, mem + size);
  std::free(mem);
  return out;
}

}  // namespace korvane::testutil
