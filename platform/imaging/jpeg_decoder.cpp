// JPEG through libjpeg-turbo, scaling by 1/2, 1/4 or 1/8 inside the decoder
// when a smaller picture is enough (thumbnails decode several times faster).
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "platform/imaging/decoders.h"

namespace imaging::detail {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr c) { std::longjmp(reinterpret_cast<ErrorManager*>(c->err)->jump, 1); }
void OnMessage(j_common_ptr, int) {}  // warnings (a short file, say) are not printed

}  // namespace

bool ProbeJpeg(const std::uint8_t* d, std::size_t n, ImageInfo* info) {
  if (n < 3 || d[0] != 0xFF || d[1] != 0xD8) return false;
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, d, static_cast<unsigned long>(n));
  jpeg_read_header(&cinfo, TRUE);
  const bool ok = SizeAllowed(cinfo.image_width, cinfo.image_height);
  info->RawDataFormat = ImageFormat::Jpeg;
  info->Width = cinfo.image_width;
  info->Height = cinfo.image_height;
  info->PixelFormat = PixelFormat24bppRGB;
  info->Flags = 0;
  if (cinfo.density_unit == 1 && cinfo.X_density > 0) {
    info->Xdpi = cinfo.X_density;
    info->Ydpi = cinfo.Y_density;
  }
  jpeg_destroy_decompress(&cinfo);
  return ok;
}

bool DecodeJpeg(const std::uint8_t* d, std::size_t n, Picture* out, int minWidth, int minHeight) {
  if (n < 3 || d[0] != 0xFF || d[1] != 0xD8) return false;
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    *out = Picture{};
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, d, static_cast<unsigned long>(n));
  jpeg_read_header(&cinfo, TRUE);
  if (!SizeAllowed(cinfo.image_width, cinfo.image_height)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  // The smallest of 1/8, 1/4, 1/2 that still gives at least the size asked for.
  cinfo.scale_num = 1;
  cinfo.scale_denom = 1;
  if (minWidth > 0 && minHeight > 0) {
    for (unsigned denom : {8u, 4u, 2u}) {
      if ((cinfo.image_width + denom - 1) / denom >= static_cast<unsigned>(minWidth) &&
          (cinfo.image_height + denom - 1) / denom >= static_cast<unsigned>(minHeight)) {
        cinfo.scale_denom = denom;
        break;
      }
    }
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  out->width = static_cast<int>(cinfo.output_width);
  out->height = static_cast<int>(cinfo.output_height);
  out->pixels.assign(static_cast<std::size_t>(cinfo.output_width) * cinfo.output_height, 0xFF000000u);
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              cinfo.output_width * 4, 1);
  while (cinfo.output_scanline < cinfo.output_height) {
    const JDIMENSION y = cinfo.output_scanline;
    if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
    std::uint32_t* dst = out->pixels.data() + static_cast<std::size_t>(y) * cinfo.output_width;
    const JSAMPLE* s = row[0];
    if (cmyk) {
      // Adobe writes CMYK inverted: each value is already 255 - ink.
      for (JDIMENSION x = 0; x < cinfo.output_width; ++x, s += 4) {
        const std::uint32_t k = s[3];
        const std::uint32_t r = s[0] * k / 255, g = s[1] * k / 255, b = s[2] * k / 255;
        dst[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
      }
    } else {
      for (JDIMENSION x = 0; x < cinfo.output_width; ++x, s += 4)
        dst[x] = 0xFF000000u | (std::uint32_t(s[2]) << 16) | (std::uint32_t(s[1]) << 8) | s[0];
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  out->format = ImageFormat::Jpeg;
  out->hasAlpha = false;
  return true;
}

}  // namespace imaging::detail
