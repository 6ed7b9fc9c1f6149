#include "platform/window/shell_look.h"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"

namespace shell_look {

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH b = CreateSolidBrush(color);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

void FillGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  const int h = RectHeight(r);
  if (h <= 0) return;
  for (int y = 0; y < h; ++y) {
    auto mix = [&](int shift) {
      const int a = static_cast<int>((top >> shift) & 0xFF), b = static_cast<int>((bottom >> shift) & 0xFF);
      return static_cast<COLORREF>(a + (b - a) * y / std::max(1, h - 1)) << shift;
    };
    FillSolid(dc, MakeRect(r.left, r.top + y, r.right, r.top + y + 1), mix(0) | mix(8) | mix(16));
  }
}

void Frame(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH b = CreateSolidBrush(color);
  FrameRect(dc, &r, b);
  DeleteObject(b);
}

HFONT Font(int pixelHeight, bool bold) {
  static std::map<std::pair<int, bool>, HFONT> cache;
  auto& f = cache[{pixelHeight, bold}];
  if (!f) {
    f = CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, u"Arial");
  }
  return f;
}

}  // namespace shell_look
