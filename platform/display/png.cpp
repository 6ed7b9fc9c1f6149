#include "platform/display/png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace display {

namespace {

struct FileCloser {
  void operator()(FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

}  // namespace

bool WritePng(const std::string& path, const window::FrameView& frame, std::string* error) {
  if (!frame.pixels || frame.width <= 0 || frame.height <= 0) {
    if (error) *error = "no frame to write";
    return false;
  }
  const std::string temp = path + ".tmp";
  FilePtr file(std::fopen(temp.c_str(), "wb"));
  if (!file) {
    if (error) *error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    if (error) *error = "out of memory writing " + path;
    std::remove(temp.c_str());
    return false;
  }
  std::vector<png_byte> row(static_cast<std::size_t>(frame.width) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    file.reset();
    std::remove(temp.c_str());
    if (error) *error = "cannot write " + path;
    return false;
  }
  png_init_io(png, file.get());
  png_set_compression_level(png, 1);  // screenshots are many and short-lived: speed over size
  png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width), static_cast<png_uint_32>(frame.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < frame.height; ++y) {
    const std::uint32_t* src = frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.stride;
    for (int x = 0; x < frame.width; ++x) {
      row[static_cast<std::size_t>(x) * 3 + 0] = static_cast<png_byte>(src[x] >> 16);
      row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<png_byte>(src[x] >> 8);
      row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<png_byte>(src[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file.get()) != 0) {
    file.reset();
    std::remove(temp.c_str());
    if (error) *error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  file.reset();
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    if (error) *error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool ReadPng(const std::string& path, Image* image, std::string* error) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) {
    if (error) *error = "cannot read " + path + ": " + img.message;
    return false;
  }
  img.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  image->width = static_cast<int>(img.width);
  image->height = static_cast<int>(img.height);
  image->pixels.assign(static_cast<std::size_t>(img.width) * img.height, 0);
  if (!png_image_finish_read(&img, nullptr, image->pixels.data(), 0, nullptr)) {
    if (error) *error = "cannot read " + path + ": " + img.message;
    png_image_free(&img);
    return false;
  }
  return true;
}

}  // namespace display
