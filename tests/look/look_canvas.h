// A memory canvas with a look object over a scratch device, for pixel tests
// of the drawing primitives at a chosen display scale.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "look/appearance.h"
#include "look/color_theme.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/png_writer.h"
#include "test_settings.h"
#include "test_util.h"

namespace looktest {

constexpr COLORREF kBackground = RGB(0, 0, 120);
constexpr COLORREF kText = RGB(255, 255, 255);
constexpr COLORREF kSubText = RGB(255, 255, 0);
constexpr COLORREF kCanvas = RGB(128, 128, 128);
constexpr COLORREF kColor5 = RGB(0, 120, 0);
constexpr COLORREF kColor7 = RGB(120, 0, 120);

// Writes a colour theme with the test colours as "Test".
inline void PutTestTheme(ScratchDevice& device, const std::string& name = "Test", COLORREF background = kBackground) {
  mivoColorTheme theme;
  theme.Colors = {background, kText, kSubText, RGB(255, 0, 0), kColor5, RGB(0, 255, 255), kColor7, RGB(9, 9, 9),
                  RGB(10, 10, 10)};
  device.Put("Program Files/mivo/ColorThemes/" + name + ".mct", theme.Serialize());
}

// Saved under the build folder for a look with the file viewer.
inline void SaveShot(HBITMAP bitmap, const std::string& name) {
  const auto dir = std::filesystem::path(MIVO_BINARY_DIR) / "tests" / "look" / "screenshots";
  std::filesystem::create_directories(dir);
  imaging::SaveBitmapPng(bitmap, (dir / (name + ".png")).string());
}

// A 32-bit top-down bitmap of w x h pixels of one colour; `hole` makes the
// left column fully transparent.
inline HBITMAP SolidBitmap(int w, int h, COLORREF color, bool hole = false) {
  BITMAPINFO info;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* px = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[y * w + x] = hole && x == 0 ? 0u : gdi::ColorToPixel(color);
  return bmp;
}

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive; right < 0: no pixel
  bool Empty() const { return right < 0; }
};

class LookCanvas {
 public:
  LookCanvas(int scale, int width, int height) {
    PutTestTheme(device);
    settings.themeName = u"Test";
    appearance = std::make_unique<mivoAppearance>(settings, kProgramFolder, scale == 2 ? 640 : 320);
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(nullptr, width, height);
    old = SelectObject(dc, bitmap);
    Clear(kCanvas);
  }
  ~LookCanvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void Clear(COLORREF c) {
    gdi::PixelBuffer pb = gdi::BitmapPixels(bitmap);
    for (int y = 0; y < pb.height; ++y)
      for (int x = 0; x < pb.width; ++x) pb.pixels[y * pb.stride + x] = gdi::ColorToPixel(c);
  }
  COLORREF At(int x, int y) const {
    gdi::PixelBuffer pb = gdi::BitmapPixels(bitmap);
    return gdi::PixelToColor(pb.pixels[y * pb.stride + x]);
  }
  // The box of the pixels of exactly this colour; of every pixel that is not
  // the canvas colour.
  Box Find(COLORREF c) const { return Where([c](COLORREF p) { return p == c; }); }
  Box Ink() const { return Where([](COLORREF p) { return p != kCanvas; }); }
  template <typename Pred>
  Box Where(Pred pred) const {
    gdi::PixelBuffer pb = gdi::BitmapPixels(bitmap);
    Box b;
    for (int y = 0; y < pb.height; ++y)
      for (int x = 0; x < pb.width; ++x)
        if (pred(gdi::PixelToColor(pb.pixels[y * pb.stride + x]))) {
          b.left = std::min(b.left, x);
          b.top = std::min(b.top, y);
          b.right = std::max(b.right, x);
          b.bottom = std::max(b.bottom, y);
        }
    return b;
  }
  void Shot(const std::string& name) const { SaveShot(bitmap, name); }

  ScratchDevice device;
  MemorySettings settings;
  std::unique_ptr<mivoAppearance> appearance;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
};

}  // namespace looktest
