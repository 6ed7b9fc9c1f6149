// JPEG pictures of any size for the viewer's tests and benchmarks, encoded
// a row at a time (a 10000 x 10000 picture never exists as pixels in memory).
#pragma once

#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace pagestest {

// A colour picture of soft gradients (3 components) or a grey one.
inline std::vector<std::uint8_t> MakeJpeg(int width, int height, bool colour = true, int quality = 80) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = colour ? 3 : 1;
  c.in_color_space = colour ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * c.input_components);
  while (c.next_scanline < c.image_height) {
    const int y = static_cast<int>(c.next_scanline);
    for (int x = 0; x < width; ++x) {
      const std::size_t i = static_cast<std::size_t>(x) * c.input_components;
      row[i] = static_cast<std::uint8_t>(x * 255 / width);
      if (colour) {
        row[i + 1] = static_cast<std::uint8_t>(y * 255 / height);
        row[i + 2] = static_cast<std::uint8_t>((x + y) * 127 / (width + height) + 64);
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<std::uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

}  // namespace pagestest
