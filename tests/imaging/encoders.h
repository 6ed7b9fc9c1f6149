// Small encoders that make test pictures of every kind the decoders take,
// and what the tests of the pictures share.
#pragma once

#include <png.h>
#include <gif_lib.h>
#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

namespace imaging_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A memory DC with a bitmap of w x h selected, for the life of the object.
struct Surface {
  Surface(int w, int h, HDC like = nullptr)
      : dc(CreateCompatibleDC(like)), bmp(CreateCompatibleBitmap(like ? like : dc, w, h)), old(SelectObject(dc, bmp)) {}
  ~Surface() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
};

// A PNG through libpng's simplified writer; `format` is a PNG_FORMAT_* value
// and `pixels` its samples.
inline Bytes EncodePng(int w, int h, png_uint_32 format, const void* pixels, const void* colormap = nullptr,
                       int colormapEntries = 0) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = static_cast<png_uint_32>(w);
  img.height = static_cast<png_uint_32>(h);
  img.format = format;
  img.colormap_entries = static_cast<png_uint_32>(colormapEntries);
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&img, nullptr, &size, 0, pixels, 0, colormap);
  Bytes out(size);
  if (!png_image_write_to_memory(&img, out.data(), &size, 0, pixels, 0, colormap)) return {};
  out.resize(size);
  return out;
}

inline int WriteToBytes(GifFileType* gif, const GifByteType* data, int len) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + len);
  return len;
}

// A GIF of palette indices; `transparent` is an index or -1.
inline Bytes EncodeGif(int w, int h, const std::vector<std::uint32_t>& palette, const std::vector<std::uint8_t>& idx,
                       int transparent, bool interlace) {
  Bytes out;
  int err = 0;
  GifFileType* gif = EGifOpen(&out, WriteToBytes, &err);
  std::vector<GifColorType> colors(palette.size());
  for (std::size_t i = 0; i < palette.size(); ++i)
    colors[i] = {static_cast<GifByteType>(palette[i] >> 16), static_cast<GifByteType>(palette[i] >> 8),
                 static_cast<GifByteType>(palette[i])};
  ColorMapObject* map = GifMakeMapObject(static_cast<int>(palette.size()), colors.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, w, h, 8, 0, map);
  if (transparent >= 0) {
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = transparent;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
  }
  EGifPutImageDesc(gif, 0, 0, w, h, interlace, nullptr);
  std::vector<int> order;
  if (interlace) {
    const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int p = 0; p < 4; ++p)
      for (int y = start[p]; y < h; y += step[p]) order.push_back(y);
  } else {
    for (int y = 0; y < h; ++y) order.push_back(y);
  }
  for (int y : order) {
    std::vector<GifPixelType> line(idx.begin() + y * w, idx.begin() + (y + 1) * w);
    EGifPutLine(gif, line.data(), w);
  }
  EGifCloseFile(gif, &err);
  GifFreeMapObject(map);
  return out;
}

inline void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP with a 40-byte header, the given palette (0xRRGGBB) and raw rows as
// they stand in the file (bottom row first unless height < 0).
inline Bytes EncodeBmp(int w, int h, int bpp, std::uint32_t compression, const std::vector<std::uint32_t>& palette,
                       const Bytes& rows, const std::vector<std::uint32_t>& masks = {}) {
  const std::size_t header = 14 + 40 + masks.size() * 4 + palette.size() * 4;
  Bytes b(header);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<std::uint32_t>(header + rows.size()));
  Put32(b, 10, static_cast<std::uint32_t>(header));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(w));
  Put32(b, 22, static_cast<std::uint32_t>(h));
  Put16(b, 26, 1);
  Put16(b, 28, static_cast<std::uint32_t>(bpp));
  Put32(b, 30, compression);
  Put32(b, 46, static_cast<std::uint32_t>(palette.size()));
  std::size_t at = 54;  // the bit masks, then the palette
  for (const auto* words : {&masks, &palette}) {
    for (std::uint32_t v : *words) {
      Put32(b, at, v);
      at += 4;
    }
  }
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

// A JPEG of RGB pixels, with an EXIF orientation tag when orientation > 0.
inline Bytes EncodeJpeg(int w, int h, const std::vector<std::uint8_t>& rgb, int orientation = 0) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  if (orientation > 0) {
    // "Exif\0\0", a little-endian TIFF header, one IFD entry: 0x0112 SHORT 1.
    const std::uint8_t exif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0,
                                 1, 0, 0, 0, static_cast<std::uint8_t>(orientation), 0, 0, 0, 0, 0, 0, 0};
    jpeg_write_marker(&c, JPEG_APP0 + 1, exif, sizeof exif);
  }
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[static_cast<std::size_t>(c.next_scanline) * w * 3]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  Bytes v(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return v;
}

}  // namespace imaging_test
