#include "tools/skingen/raster.h"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace skingen {

Rgba Crop(const Rgba& picture, int x, int y, int width, int height) {
  Rgba out;
  x = std::clamp(x, 0, picture.width);
  y = std::clamp(y, 0, picture.height);
  out.width = std::clamp(width, 0, picture.width - x);
  out.height = std::clamp(height, 0, picture.height - y);
  out.bytes.resize(static_cast<std::size_t>(out.width) * out.height * 4);
  for (int row = 0; row < out.height; ++row)
    std::memcpy(out.At(0, row), picture.At(x, y + row), static_cast<std::size_t>(out.width) * 4);
  return out;
}

bool ReadPng(const std::string& hostPath, Rgba* out, std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, hostPath.c_str())) {
    *error = hostPath + ": " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  out->width = static_cast<int>(image.width);
  out->height = static_cast<int>(image.height);
  out->bytes.assign(PNG_IMAGE_SIZE(image), 0);
  if (!png_image_finish_read(&image, nullptr, out->bytes.data(), 0, nullptr)) {
    *error = hostPath + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  sink->insert(sink->end(), data, data + length);
}

void NoFlush(png_structp) {}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Rgba& picture) {
  const bool opaque = [&picture] {
    for (std::size_t i = 3; i < picture.bytes.size(); i += 4)
      if (picture.bytes[i] != 255) return false;
    return true;
  }();
  std::vector<std::uint8_t> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &bytes, AppendBytes, NoFlush);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, picture.width, picture.height, 8, opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width) * 4);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* src = picture.At(0, y);
    if (opaque) {
      for (int x = 0; x < picture.width; ++x) std::memcpy(&row[x * 3], src + x * 4, 3);
    } else {
      std::memcpy(row.data(), src, row.size());
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

std::vector<std::uint8_t> EncodeJpeg(const Rgba& picture, int quality) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = TRUE;
  cinfo.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    const std::uint8_t* src = picture.At(0, static_cast<int>(cinfo.next_scanline));
    for (int x = 0; x < picture.width; ++x) std::memcpy(&row[x * 3], src + x * 4, 3);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return bytes;
}

}  // namespace skingen
