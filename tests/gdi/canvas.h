// A tiny memory DC for exact pixel tests, with pixels shown as letters so a
// failing test prints a readable picture.
#pragma once

#include <string>

#include "platform/gdi/gdi.h"

namespace gdi_test {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class Canvas {
 public:
  Canvas(int w, int h, COLORREF fill = kWhite) : m_w(w), m_h(h) {
    m_dc = CreateCompatibleDC(nullptr);
    m_bmp = CreateCompatibleBitmap(nullptr, w, h);
    m_old = SelectObject(m_dc, m_bmp);
    Clear(fill);
  }
  ~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bmp);
    DeleteDC(m_dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return m_dc; }
  HBITMAP bitmap() const { return m_bmp; }
  void Clear(COLORREF c) {
    gdi::PixelBuffer pb = gdi::BitmapPixels(m_bmp);
    for (int i = 0; i < pb.width * pb.height; ++i) pb.pixels[i] = gdi::ColorToPixel(c);
  }
  COLORREF At(int x, int y) const { return gdi::PixelToColor(gdi::BitmapPixels(m_bmp).pixels[y * m_w + x]); }

  // '.' white, '#' black, 'R' 'G' 'B' pure colours, '?' anything else.
  static char Letter(COLORREF c) {
    switch (c) {
      case kWhite: return '.';
      case kBlack: return '#';
      case kRed: return 'R';
      case kGreen: return 'G';
      case kBlue: return 'B';
      default: return '?';
    }
  }
  std::string Row(int y) const {
    std::string s;
    for (int x = 0; x < m_w; ++x) s += Letter(At(x, y));
    return s;
  }
  std::string Picture() const {
    std::string s;
    for (int y = 0; y < m_h; ++y) s += Row(y) + "\n";
    return s;
  }
  int Count(COLORREF c) const {
    int n = 0;
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x) n += At(x, y) == c;
    return n;
  }

 private:
  int m_w, m_h;
  HDC m_dc = nullptr;
  HBITMAP m_bmp = nullptr;
  HGDIOBJ m_old = nullptr;
};

// Selects an object into a DC for a scope, then deletes it (stock objects
// survive DeleteObject, so they may be passed too).
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : m_dc(dc), m_obj(obj), m_old(SelectObject(dc, obj)) {}
  ~Selected() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_obj);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_obj, m_old;
};

template <class T = HBRUSH>
T Stock(int which) {
  return static_cast<T>(GetStockObject(which));
}

// A DIB section (a negative height runs top-down); *bits gets its pixels.
inline HBITMAP MakeDib(int w, int h, WORD bpp, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biBitCount = bpp;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

// Joins picture rows given one per argument.
inline std::string Pic(std::initializer_list<const char*> rows) {
  std::string s;
  for (const char* r : rows) s += std::string(r) + "\n";
  return s;
}

}  // namespace gdi_test
