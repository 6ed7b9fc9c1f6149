// BMP, read by hand: core and info headers (12 to 124 bytes), 1, 4 and 8 bits
// with a palette, 16 and 32 bits with or without bit fields, 24 bits, RLE4
// and RLE8, bottom-up and top-down rows.
#include <algorithm>
#include <cstring>

#include "platform/imaging/decoders.h"

namespace imaging::detail {

namespace {

std::uint32_t U16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct Header {
  std::uint32_t headerSize = 0, offBits = 0, compression = 0, colorsUsed = 0;
  long long width = 0, height = 0;
  int bpp = 0;
  bool topDown = false;
  std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
};

bool ReadHeader(const std::uint8_t* d, std::size_t n, Header* h) {
  if (n < 26 || d[0] != 'B' || d[1] != 'M') return false;
  h->offBits = U32(d + 10);
  h->headerSize = U32(d + 14);
  const std::size_t hs = h->headerSize;
  if (hs < 12 || 14 + hs > n) return false;
  const std::uint8_t* p = d + 14;
  if (hs == 12) {
    h->width = U16(p + 4);
    h->height = static_cast<std::int16_t>(U16(p + 6));
    h->bpp = static_cast<int>(U16(p + 10));
  } else {
    if (hs < 40) return false;
    h->width = static_cast<std::int32_t>(U32(p + 4));
    h->height = static_cast<std::int32_t>(U32(p + 8));
    h->bpp = static_cast<int>(U16(p + 14));
    h->compression = U32(p + 16);
    h->colorsUsed = U32(p + 32);
    if (hs >= 52) {
      for (int i = 0; i < 3; ++i) h->masks[i] = U32(p + 40 + 4 * i);
      if (hs >= 56) h->masks[3] = U32(p + 52);
    } else if (h->compression == BI_BITFIELDS || h->compression == BI_ALPHABITFIELDS) {
      const int count = h->compression == BI_ALPHABITFIELDS ? 4 : 3;
      if (14 + 40 + 4u * count > n) return false;
      for (int i = 0; i < count; ++i) h->masks[i] = U32(p + 40 + 4 * i);
    }
  }
  if (h->height < 0) {
    h->topDown = true;
    h->height = -h->height;
  }
  if (!SizeAllowed(h->width, h->height)) return false;
  switch (h->bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  switch (h->compression) {
    case BI_RGB: break;
    case BI_RLE8: if (h->bpp != 8) return false; break;
    case BI_RLE4: if (h->bpp != 4) return false; break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS: if (h->bpp != 16 && h->bpp != 32) return false; break;
    default: return false;  // embedded JPEG or PNG are not taken
  }
  return true;
}

// Scales a field of a pixel value to 0..255.
struct Field {
  int shift = 0;
  std::uint32_t max = 0;
  explicit Field(std::uint32_t mask) {
    if (!mask) return;
    while (!(mask & 1)) {
      mask >>= 1;
      ++shift;
    }
    max = mask;
  }
  std::uint32_t Get(std::uint32_t v) const { return max ? ((v >> shift) & max) * 255 / max : 0; }
};

}  // namespace

bool ProbeBmp(const std::uint8_t* d, std::size_t n, ImageInfo* info) {
  Header h;
  if (!ReadHeader(d, n, &h)) return false;
  info->RawDataFormat = ImageFormat::Bmp;
  info->Width = static_cast<UINT>(h.width);
  info->Height = static_cast<UINT>(h.height);
  info->PixelFormat = h.bpp == 32 ? PixelFormat32bppARGB : PixelFormat24bppRGB;
  info->Flags = 0;
  return true;
}

bool DecodeBmp(const std::uint8_t* d, std::size_t n, Picture* out) {
  Header h;
  if (!ReadHeader(d, n, &h)) return false;
  const int w = static_cast<int>(h.width), ht = static_cast<int>(h.height);
  // The palette follows the header (and the masks of a 40-byte header).
  std::uint32_t palette[256];
  std::fill_n(palette, 256, 0xFF000000u);
  std::size_t palStart = 14 + h.headerSize;
  if (h.headerSize == 40 && h.compression == BI_BITFIELDS) palStart += 12;
  if (h.headerSize == 40 && h.compression == BI_ALPHABITFIELDS) palStart += 16;
  const std::size_t entry = h.headerSize == 12 ? 3 : 4;
  if (h.bpp <= 8) {
    std::size_t count = h.colorsUsed ? std::min<std::uint32_t>(h.colorsUsed, 256) : (1u << h.bpp);
    for (std::size_t i = 0; i < count && palStart + (i + 1) * entry <= n; ++i) {
      const std::uint8_t* e = d + palStart + i * entry;
      palette[i] = 0xFF000000u | (std::uint32_t(e[2]) << 16) | (std::uint32_t(e[1]) << 8) | e[0];
    }
  }
  std::size_t off = h.offBits;
  if (off < palStart || off >= n) return false;
  const std::uint8_t* bits = d + off;
  const std::size_t avail = n - off;

  const bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
  const std::size_t stride = ((static_cast<std::size_t>(w) * h.bpp + 31) / 32) * 4;
  if (!rle && avail < stride) return false;  // not one whole row: nothing to show
  out->width = w;
  out->height = ht;
  out->pixels.assign(static_cast<std::size_t>(w) * ht, 0);
  auto rowOf = [&](int fileRow) -> std::uint32_t* {
    const int y = h.topDown ? fileRow : ht - 1 - fileRow;
    return out->pixels.data() + static_cast<std::size_t>(y) * w;
  };
  bool alphaSeen = false;

  if (rle) {
    // Runs and escapes; pixels the runs skip stay transparent.
    int x = 0, row = 0;
    std::size_t i = 0;
    auto set = [&](int idx) {
      if (x < w && row < ht) rowOf(row)[x] = palette[idx & 0xFF];
      ++x;
    };
    while (i + 1 < avail && row < ht) {
      const int count = bits[i], value = bits[i + 1];
      i += 2;
      if (count > 0) {
        for (int k = 0; k < count; ++k)
          set(h.compression == BI_RLE8 ? value : ((k & 1) ? (value & 0x0F) : (value >> 4)));
      } else if (value == 0) {
        x = 0;
        ++row;
      } else if (value == 1) {
        break;
      } else if (value == 2) {
        if (i + 1 >= avail) break;
        x += bits[i];
        row += bits[i + 1];
        i += 2;
      } else {
        const std::size_t bytes = h.compression == BI_RLE8 ? value : (value + 1) / 2;
        if (i + bytes > avail) break;
        for (int k = 0; k < value; ++k)
          set(h.compression == BI_RLE8 ? bits[i + k] : ((k & 1) ? (bits[i + k / 2] & 0x0F) : (bits[i + k / 2] >> 4)));
        i += (bytes + 1) & ~std::size_t(1);
      }
    }
    out->format = ImageFormat::Bmp;
    out->hasAlpha = true;
    return true;
  }

  const int rows = static_cast<int>(std::min<std::size_t>(ht, avail / stride));
  if (rows == 0) {
    *out = Picture{};
    return false;
  }
  std::uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
  const bool fields =
      h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS || (h.headerSize >= 56 && masks[3]);
  if (!fields || (!masks[0] && !masks[1] && !masks[2])) {
    if (h.bpp == 16) {
      masks[0] = 0x7C00;
      masks[1] = 0x03E0;
      masks[2] = 0x001F;
    } else {
      masks[0] = 0x00FF0000;
      masks[1] = 0x0000FF00;
      masks[2] = 0x000000FF;
    }
    if (!(h.headerSize >= 56 && h.compression == BI_BITFIELDS)) masks[3] = h.bpp == 32 ? 0xFF000000u : 0;
  }
  const Field fr(masks[0]), fg(masks[1]), fb(masks[2]), fa(masks[3]);
  for (int r = 0; r < rows; ++r) {
    const std::uint8_t* s = bits + static_cast<std::size_t>(r) * stride;
    std::uint32_t* dst = rowOf(r);
    for (int x = 0; x < w; ++x) {
      std::uint32_t p;
      switch (h.bpp) {
        case 1: p = palette[(s[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: p = palette[(x & 1) ? (s[x >> 1] & 0x0F) : (s[x >> 1] >> 4)]; break;
        case 8: p = palette[s[x]]; break;
        case 24:
          p = 0xFF000000u | (std::uint32_t(s[3 * x + 2]) << 16) | (std::uint32_t(s[3 * x + 1]) << 8) | s[3 * x];
          break;
        default: {
          const std::uint32_t v = h.bpp == 16 ? U16(s + 2 * x) : U32(s + 4 * x);
          const std::uint32_t a = fa.max ? fa.Get(v) : 255;
          if (fa.max && a) alphaSeen = true;
          p = (a << 24) | (fr.Get(v) << 16) | (fg.Get(v) << 8) | fb.Get(v);
        }
      }
      dst[x] = p;
    }
  }
  if (h.bpp == 16 || h.bpp == 32) {
    // Many writers leave the fourth byte zero: then the picture is opaque.
    if (!alphaSeen) {
      for (std::uint32_t& p : out->pixels) p |= 0xFF000000u;
    } else {
      for (std::uint32_t& p : out->pixels) p = Premultiply(p);
    }
  }
  out->format = ImageFormat::Bmp;
  out->hasAlpha = alphaSeen || rows < ht;
  return true;
}

}  // namespace imaging::detail
