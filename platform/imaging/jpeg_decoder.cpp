// JPEG through libjpeg-turbo, scaling by 1/2, 1/4 or 1/8 inside the decoder
// when a smaller picture is enough (thumbnails decode several times faster).
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "platform/gdi/gdi.h"
#include "platform/imaging/decoders.h"

namespace imaging::detail {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr c) { std::longjmp(reinterpret_cast<ErrorManager*>(c->err)->jump, 1); }
void OnMessage(j_common_ptr, int) {}  // warnings (a short file, say) are not printed

bool LooksLikeJpeg(const std::uint8_t* d, std::size_t n) { return n >= 3 && d[0] == 0xFF && d[1] == 0xD8; }

// A decompressor reading from memory: an error jumps back to the caller's
// setjmp(err.jump), warnings stay quiet, and it is destroyed with the object
// on every path.
struct Decompressor {
  jpeg_decompress_struct cinfo{};  // zeroed, so destroying it before creation is harmless
  ErrorManager err;

  Decompressor() {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
  }
  ~Decompressor() { jpeg_destroy_decompress(&cinfo); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;

  // Reads the header, keeping the EXIF marker. Call after setjmp(err.jump):
  // a broken file jumps back there.
  void ReadHeader(const std::uint8_t* d, std::size_t n) {
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, d, static_cast<unsigned long>(n));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
  }
};

// The EXIF orientation (1..8) of the picture, 1 when there is none. Cameras
// store photos as the sensor saw them and say here how to turn them upright.
int Orientation(j_decompress_ptr cinfo) {
  for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next) {
    if (m->marker != JPEG_APP0 + 1 || m->data_length < 14 || std::memcmp(m->data, "Exif\0\0", 6) != 0) continue;
    const JOCTET* t = m->data + 6;
    const std::size_t n = m->data_length - 6;
    const bool little = t[0] == 'I' && t[1] == 'I';
    if (!little && !(t[0] == 'M' && t[1] == 'M')) return 1;
    auto u16 = [&](std::size_t at) -> unsigned {
      return little ? (t[at] | (t[at + 1] << 8)) : ((t[at] << 8) | t[at + 1]);
    };
    auto u32 = [&](std::size_t at) -> std::size_t {
      return little ? (t[at] | (t[at + 1] << 8) | (t[at + 2] << 16) | (std::size_t(t[at + 3]) << 24))
                    : ((std::size_t(t[at]) << 24) | (t[at + 1] << 16) | (t[at + 2] << 8) | t[at + 3]);
    };
    const std::size_t ifd = u32(4);
    if (ifd + 2 > n) return 1;
    const unsigned entries = u16(ifd);
    for (unsigned i = 0; i < entries; ++i) {
      const std::size_t e = ifd + 2 + 12 * static_cast<std::size_t>(i);
      if (e + 12 > n) break;
      if (u16(e) == 0x0112) {
        const unsigned v = u16(e + 8);
        return v >= 1 && v <= 8 ? static_cast<int>(v) : 1;
      }
    }
  }
  return 1;
}

// Turns a picture upright by its EXIF orientation.
void Orient(Picture* p, int o) {
  if (o <= 1 || o > 8) return;
  const int w = p->width, h = p->height;
  const bool swap = o >= 5;
  const int ow = swap ? h : w, oh = swap ? w : h;
  std::vector<std::uint32_t> out(p->pixels.size());
  for (int y = 0; y < oh; ++y)
    for (int x = 0; x < ow; ++x) {
      int sx = x, sy = y;
      switch (o) {
        case 2: sx = w - 1 - x; break;
        case 3: sx = w - 1 - x; sy = h - 1 - y; break;
        case 4: sy = h - 1 - y; break;
        case 5: sx = y; sy = x; break;
        case 6: sx = y; sy = h - 1 - x; break;
        case 7: sx = w - 1 - y; sy = h - 1 - x; break;
        case 8: sx = w - 1 - y; sy = x; break;
      }
      out[static_cast<std::size_t>(y) * ow + x] = p->pixels[static_cast<std::size_t>(sy) * w + sx];
    }
  p->pixels.swap(out);
  p->width = ow;
  p->height = oh;
}

}  // namespace

bool ProbeJpeg(const std::uint8_t* d, std::size_t n, ImageInfo* info) {
  if (!LooksLikeJpeg(d, n)) return false;
  Decompressor decompressor;
  jpeg_decompress_struct& cinfo = decompressor.cinfo;
  if (setjmp(decompressor.err.jump)) return false;
  decompressor.ReadHeader(d, n);
  // Any size a JPEG can have: the decoder scales a large one down while
  // decoding (DecodeJpeg checks the size it would deliver).
  const bool ok = cinfo.image_width > 0 && cinfo.image_height > 0;
  const bool turned = Orientation(&cinfo) >= 5;
  info->RawDataFormat = ImageFormat::Jpeg;
  info->Width = turned ? cinfo.image_height : cinfo.image_width;
  info->Height = turned ? cinfo.image_width : cinfo.image_height;
  info->PixelFormat = PixelFormat24bppRGB;
  info->Flags = 0;
  if (cinfo.density_unit == 1 && cinfo.X_density > 0) {
    info->Xdpi = cinfo.X_density;
    info->Ydpi = cinfo.Y_density;
  }
  return ok;
}

namespace {

// The decoding DecodeJpeg and DecodeJpegToBitmap share. `rows(width, height)` gives the memory for the
// delivered size (rows top-down, 0xAARRGGBB) or null to refuse it; every row it gets is written, a
// picture cut short ending in opaque black. The EXIF orientation is reported, not applied; with
// uprightOnly set a turned picture is refused before anything is decoded.
template <class Rows>
bool DecodeRows(const std::uint8_t* d, std::size_t n, int minWidth, int minHeight, bool uprightOnly,
                int* orientationOut, Rows&& rows) {
  if (!LooksLikeJpeg(d, n)) return false;
  Decompressor decompressor;
  jpeg_decompress_struct& cinfo = decompressor.cinfo;
  if (setjmp(decompressor.err.jump)) return false;
  decompressor.ReadHeader(d, n);
  if (cinfo.image_width == 0 || cinfo.image_height == 0) return false;
  const int orientation = Orientation(&cinfo);
  if (uprightOnly && orientation != 1) return false;
  *orientationOut = orientation;
  // Sizes asked for are upright; the stored picture may lie on its side.
  const int wantWidth = orientation >= 5 ? minHeight : minWidth;
  const int wantHeight = orientation >= 5 ? minWidth : minHeight;
  // The smallest of 1/8, 1/4, 1/2 that still gives at least the size asked for.
  cinfo.scale_num = 1;
  cinfo.scale_denom = 1;
  if (wantWidth > 0 && wantHeight > 0) {
    for (unsigned denom : {8u, 4u, 2u}) {
      if ((cinfo.image_width + denom - 1) / denom >= static_cast<unsigned>(wantWidth) &&
          (cinfo.image_height + denom - 1) / denom >= static_cast<unsigned>(wantHeight)) {
        cinfo.scale_denom = denom;
        break;
      }
    }
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  // BGRA bytes are 0xAARRGGBB in memory, alpha 0xFF: the decoder writes the rows as they are kept.
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  // What is delivered is bounded, not what the file holds: a 10000 x 10000
  // picture decodes at an eighth when a thumbnail or a screen is asked for,
  // and is refused at full size.
  jpeg_calc_output_dimensions(&cinfo);
  if (!SizeAllowed(cinfo.output_width, cinfo.output_height)) return false;
  std::uint32_t* pixels = rows(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
  if (!pixels) return false;
  const std::size_t width = cinfo.output_width;
  jpeg_start_decompress(&cinfo);
  JSAMPARRAY cmykRow = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                         cinfo.output_width * 4, 1)
                            : nullptr;
  while (cinfo.output_scanline < cinfo.output_height) {
    std::uint32_t* dst = pixels + cinfo.output_scanline * width;
    JSAMPROW direct = reinterpret_cast<JSAMPROW>(dst);
    if (jpeg_read_scanlines(&cinfo, cmyk ? cmykRow : &direct, 1) != 1) break;
    if (cmyk) {
      // Adobe writes CMYK inverted: each value is already 255 - ink.
      const JSAMPLE* s = cmykRow[0];
      for (std::size_t x = 0; x < width; ++x, s += 4) {
        const std::uint32_t k = s[3];
        const std::uint32_t r = s[0] * k / 255, g = s[1] * k / 255, b = s[2] * k / 255;
        dst[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
      }
    }
  }
  const std::size_t done = cinfo.output_scanline;
  std::fill(pixels + done * width, pixels + cinfo.output_height * width, 0xFF000000u);
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(const std::uint8_t* d, std::size_t n, Picture* out, int minWidth, int minHeight) {
  int orientation = 1;
  const bool ok = DecodeRows(d, n, minWidth, minHeight, false, &orientation, [out](int width, int height) {
    out->width = width;
    out->height = height;
    out->pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    return out->pixels.data();
  });
  if (!ok) {
    *out = Picture{};
    return false;
  }
  Orient(out, orientation);
  out->format = ImageFormat::Jpeg;
  out->hasAlpha = false;
  return true;
}

HBITMAP DecodeJpegToBitmap(const std::uint8_t* d, std::size_t n) {
  HBITMAP dib = nullptr;
  int orientation = 1;
  const bool ok = DecodeRows(d, n, 0, 0, true, &orientation, [&dib](int width, int height) {
    std::uint32_t* pixels = nullptr;
    dib = NewDib(width, height, &pixels);
    return pixels;
  });
  if (!ok && dib) {
    DeleteObject(dib);
    dib = nullptr;
  }
  return dib;
}

}  // namespace imaging::detail
