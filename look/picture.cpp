#include "look/picture.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "look/device_files.h"
#include "platform/gdi/blend.h"
#include "platform/gdi/gdi.h"

namespace look {

std::unique_ptr<Picture> DecodePicture(IImagingFactory* factory, std::u16string_view devicePath) {
  if (!factory) return nullptr;
  IImage* image = nullptr;
  if (FAILED(factory->CreateImageFromFile(std::u16string(devicePath).c_str(), &image)) || !image) return nullptr;
  ImageInfo info;
  if (FAILED(image->GetImageInfo(&info)) || info.Width == 0 || info.Height == 0) {
    image->Release();
    return nullptr;
  }
  return std::make_unique<Picture>(image, static_cast<int>(info.Width), static_cast<int>(info.Height));
}

HBITMAP LoadPictureBitmap(std::u16string_view devicePath) {
  return SHLoadImageFile(std::u16string(devicePath).c_str());
}

HBITMAP LoadScreenPicture(std::u16string_view devicePath, int width, int height) {
  std::vector<std::uint8_t> bytes;
  if (!ReadDeviceFile(devicePath, &bytes)) return nullptr;
  ImageInfo info{};
  if (width <= 0 || height <= 0 ||
      (imaging::ProbePicture(bytes.data(), bytes.size(), &info) && static_cast<int>(info.Width) == width &&
       static_cast<int>(info.Height) == height)) {
    return imaging::DecodePictureToBitmap(bytes.data(), bytes.size());
  }
  imaging::Picture p;
  if (!imaging::DecodePicture(bytes.data(), bytes.size(), &p, width, height)) return nullptr;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP screen = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!screen) return nullptr;
  // The larger of the two scales covers the screen; the part of the picture it shows is centred.
  const double scale = std::max(static_cast<double>(width) / p.width, static_cast<double>(height) / p.height);
  const int sw = std::clamp(static_cast<int>(std::lround(width / scale)), 1, p.width);
  const int sh = std::clamp(static_cast<int>(std::lround(height / scale)), 1, p.height);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, screen);
  gdi::BlendPixels(dc, 0, 0, width, height, {p.pixels.data(), p.width, p.height, p.width}, (p.width - sw) / 2,
                   (p.height - sh) / 2, sw, sh);
  SelectObject(dc, old);
  DeleteDC(dc);
  return screen;
}

}  // namespace look
