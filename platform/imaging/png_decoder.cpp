// PNG through libpng's simplified reader: every colour type and depth comes
// out as 8-bit BGRA, which is our pixel layout, then premultiplied.
#include <png.h>

#include "platform/imaging/decoders.h"

namespace imaging::detail {

namespace {

bool Begin(const std::uint8_t* d, std::size_t n, png_image* img) {
  if (n < 8 || png_sig_cmp(d, 0, 8) != 0) return false;
  *img = png_image{};
  img->version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(img, d, n)) return false;
  if (!SizeAllowed(img->width, img->height)) {
    png_image_free(img);
    return false;
  }
  return true;
}

}  // namespace

bool ProbePng(const std::uint8_t* d, std::size_t n, ImageInfo* info) {
  png_image img;
  if (!Begin(d, n, &img)) return false;
  info->RawDataFormat = ImageFormat::Png;
  info->Width = img.width;
  info->Height = img.height;
  const bool alpha = (img.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  info->PixelFormat = alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB;
  info->Flags = alpha ? ImageFlagsHasAlpha : 0;
  png_image_free(&img);
  return true;
}

bool DecodePng(const std::uint8_t* d, std::size_t n, Picture* out) {
  png_image img;
  if (!Begin(d, n, &img)) return false;
  const bool alpha = (img.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  img.format = PNG_FORMAT_BGRA;
  out->width = static_cast<int>(img.width);
  out->height = static_cast<int>(img.height);
  out->pixels.assign(static_cast<std::size_t>(img.width) * img.height, 0);
  if (!png_image_finish_read(&img, nullptr, out->pixels.data(), 0, nullptr)) {
    png_image_free(&img);
    *out = Picture{};
    return false;
  }
  for (std::uint32_t& p : out->pixels) p = Premultiply(p);
  out->format = ImageFormat::Png;
  out->hasAlpha = alpha;
  return true;
}

}  // namespace imaging::detail
