// Format detection, scaling and bitmaps of decoded pictures.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "platform/gdi/blend.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/decoders.h"

namespace imaging {

using namespace detail;

bool ProbePicture(const std::uint8_t* d, std::size_t n, ImageInfo* info) {
  if (!d || !info) return false;
  *info = ImageInfo{};
  return ProbePng(d, n, info) || ProbeJpeg(d, n, info) || ProbeGif(d, n, info) || ProbeBmp(d, n, info);
}

bool DecodePicture(const std::uint8_t* d, std::size_t n, Picture* out, int minWidth, int minHeight) {
  if (!out) return false;
  *out = Picture{};
  if (!d || n < 4) return false;
  bool ok = false;
  if (d[0] == 0x89 && d[1] == 'P')
    ok = DecodePng(d, n, out);
  else if (d[0] == 0xFF && d[1] == 0xD8)
    ok = DecodeJpeg(d, n, out, minWidth, minHeight);
  else if (d[0] == 'G' && d[1] == 'I')
    ok = DecodeGif(d, n, out);
  else if (d[0] == 'B' && d[1] == 'M')
    ok = DecodeBmp(d, n, out);
  if (!ok) *out = Picture{};
  return ok;
}

bool DecodeHostFile(const std::string& hostPath, Picture* out) {
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) return false;
  std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodePicture(data.data(), data.size(), out);
}

namespace detail {

HBITMAP NewDib(int width, int height, std::uint32_t** pixels) {
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  *pixels = static_cast<std::uint32_t*>(bits);
  return dib;
}

}  // namespace detail

namespace {

// A new DIB of width x height with the source rectangle of the picture drawn over all of it through
// the blending path, which averages when shrinking and interpolates when enlarging.
HBITMAP DrawIntoNewDib(const Picture& in, int width, int height, int sx, int sy, int sw, int sh,
                       std::uint32_t** pixels) {
  HBITMAP dib = NewDib(width, height, pixels);
  if (!dib) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  gdi::BlendPixels(dc, 0, 0, width, height, {in.pixels.data(), in.width, in.height, in.width}, sx, sy, sw, sh);
  SelectObject(dc, old);
  DeleteDC(dc);
  return dib;
}

}  // namespace

Picture ScalePicture(const Picture& in, int width, int height) {
  Picture out;
  if (width <= 0 || height <= 0 || in.width <= 0 || in.height <= 0) return out;
  if (width == in.width && height == in.height) return in;
  std::uint32_t* pixels = nullptr;
  HBITMAP dib = DrawIntoNewDib(in, width, height, 0, 0, in.width, in.height, &pixels);
  if (!dib) return out;
  out.width = width;
  out.height = height;
  out.format = in.format;
  out.hasAlpha = in.hasAlpha;
  out.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
  DeleteObject(dib);
  return out;
}

HBITMAP PictureToCoveringBitmap(const Picture& in, int width, int height) {
  if (width <= 0 || height <= 0 || in.width <= 0 || in.height <= 0) return nullptr;
  // The larger of the two scales covers the bitmap; the part of the picture it shows is centred.
  const double scale = std::max(static_cast<double>(width) / in.width, static_cast<double>(height) / in.height);
  const int sw = std::clamp(static_cast<int>(std::lround(width / scale)), 1, in.width);
  const int sh = std::clamp(static_cast<int>(std::lround(height / scale)), 1, in.height);
  std::uint32_t* pixels = nullptr;
  return DrawIntoNewDib(in, width, height, (in.width - sw) / 2, (in.height - sh) / 2, sw, sh, &pixels);
}

HBITMAP PictureToBitmap(const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return nullptr;
  std::uint32_t* pixels = nullptr;
  HBITMAP dib = NewDib(picture.width, picture.height, &pixels);
  if (!dib) return nullptr;
  std::copy(picture.pixels.begin(), picture.pixels.end(), pixels);
  return dib;
}

}  // namespace imaging
