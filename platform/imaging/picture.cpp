// Format detection, scaling and bitmaps of decoded pictures.
#include <algorithm>
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

Picture ScalePicture(const Picture& in, int width, int height) {
  Picture out;
  if (width <= 0 || height <= 0 || in.width <= 0 || in.height <= 0) return out;
  if (width == in.width && height == in.height) return in;
  // Draw into a cleared DIB through the blending path: it averages when
  // shrinking and interpolates when enlarging.
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return out;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  gdi::BlendPixels(dc, 0, 0, width, height, {in.pixels.data(), in.width, in.height, in.width}, 0, 0, in.width,
                   in.height);
  out.width = width;
  out.height = height;
  out.format = in.format;
  out.hasAlpha = in.hasAlpha;
  const auto* p = static_cast<const std::uint32_t*>(bits);
  out.pixels.assign(p, p + static_cast<std::size_t>(width) * height);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
  return out;
}

HBITMAP PictureToBitmap(const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return nullptr;
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = picture.width;
  bi.bmiHeader.biHeight = -picture.height;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return nullptr;
  std::copy(picture.pixels.begin(), picture.pixels.end(), static_cast<std::uint32_t*>(bits));
  return dib;
}

}  // namespace imaging
