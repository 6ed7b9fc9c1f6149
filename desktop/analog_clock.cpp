#include "desktop/analog_clock.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/win32/text.h"

namespace analog_clock {

namespace {

constexpr double kStep = std::numbers::pi / 30;  // one minute position

int Ceil(double v) { return static_cast<int>(std::ceil(v)); }

// The numerals' font: "Arial Black" at a size in tenths of a point, on the
// face's own scale: R is counted in the screen's pixels already, so the
// points are taken at 96 pixels to the inch on every screen. (At the VGA
// screen's 192 the numerals would be twice too large for their face and
// run into each other.)
constexpr int kFaceDpi = 96;

HFONT NumeralFont(int tenths) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(std::max(tenths, 1), kFaceDpi, 720);
  lf.lfWeight = FW_NORMAL;
  text::CopyTo(lf.lfFaceName, LF_FACESIZE, u"Arial Black");
  return CreateFontIndirectW(&lf);
}

}  // namespace

mivoAnalogClockGeometry Geometry(const RECT& rect) {
  mivoAnalogClockGeometry g;
  g.R = static_cast<std::int16_t>(std::min((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2) - 3);
  g.cx = (rect.left + rect.right) / 2;
  g.cy = (rect.top + rect.bottom) / 2;
  const double R = g.R;
  g.ri = static_cast<int>(std::floor(R / 30));
  g.fontTenths = static_cast<int>(std::floor(R * 5 / 3));
  g.tick = static_cast<int>(std::floor(R / 7));
  g.rn = static_cast<int>(std::floor(R * 10 / 13));
  g.hh = static_cast<int>(std::floor(R * 5 / 9));
  g.mh = static_cast<int>(std::floor(R * 2 / 3));
  g.ox = static_cast<int>(std::floor(R / 14));
  g.oy = static_cast<int>(std::floor(R * 5 / 31));
  return g;
}

int HourHandPosition(int hour, int minute) { return hour * 5 + (minute * 5) / 60; }

POINT HourHandTip(const mivoAnalogClockGeometry& g, int hour, int minute) {
  const double a = HourHandPosition(hour, minute) * kStep;
  return POINT{g.cx + Ceil(std::sin(a) * g.hh), g.cy - Ceil(std::cos(a) * g.hh)};
}

POINT MinuteHandTip(const mivoAnalogClockGeometry& g, int minute) {
  const double a = minute * kStep;
  return POINT{g.cx + Ceil(std::sin(a) * g.mh), g.cy - Ceil(std::cos(a) * g.mh)};
}

std::vector<mivoClockMark> HourMarks(const mivoAnalogClockGeometry& g) {
  std::vector<mivoClockMark> marks;
  const double outer = g.R - g.ri;
  const double inner = g.R - g.ri - g.tick;
  // The angle is kept in single precision, each step added in double and
  // rounded back: the walk ends one step past the full circle, at the first mark.
  int k = 5;
  for (float a = 0.0f; a < static_cast<float>(2 * std::numbers::pi); a = static_cast<float>(a + kStep), ++k) {
    if (k % 5 != 0) continue;
    const double s = std::sin(static_cast<double>(a)), c = std::cos(static_cast<double>(a));
    marks.push_back(mivoClockMark{POINT{g.cx + Ceil(s * outer), g.cy + Ceil(c * outer)},
                                  POINT{g.cx + Ceil(s * inner), g.cy + Ceil(c * inner) + 1}});
  }
  return marks;
}

POINT NumeralOrigin(const mivoAnalogClockGeometry& g, int n) {
  const double a = 5 * n * kStep;
  return POINT{g.cx + Ceil(std::sin(a) * g.rn) - g.ox, g.cy - Ceil(std::cos(a) * g.rn) - g.oy};
}

void Draw(HDC dc, const RECT& rect, int hour, int minute, const mivoAnalogClockStyle& style) {
  const mivoAnalogClockGeometry g = Geometry(rect);
  if (g.R <= 0) return;
  const int saved = SaveDC(dc);
  ::SetTextColor(dc, style.textColor);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  if (style.circle) {
    SelectObject(dc, style.pen4);
    Ellipse(dc, g.cx - g.R, g.cy - g.R, g.cx + g.R, g.cy + g.R);
  }
  SelectObject(dc, style.pen1);
  Ellipse(dc, g.cx - g.ri, g.cy - g.ri, g.cx + g.ri, g.cy + g.ri);
  if (style.numbers) {
    HFONT font = NumeralFont(g.fontTenths);
    HGDIOBJ previous = SelectObject(dc, font);
    for (int n = 1; n <= 12; ++n) {
      const POINT at = NumeralOrigin(g, n);
      const std::u16string number = text::Format(u"%d", n);
      RECT box{at.x, at.y, rect.right, rect.bottom};
      DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &box, 0);
    }
    SelectObject(dc, previous);
    DeleteObject(font);
  }
  if (style.ticks) {
    SelectObject(dc, style.pen2);
    for (const mivoClockMark& mark : HourMarks(g)) {
      MoveToEx(dc, mark.from.x, mark.from.y, nullptr);
      LineTo(dc, mark.to.x, mark.to.y);
    }
  }
  MoveToEx(dc, g.cx, g.cy, nullptr);
  SelectObject(dc, style.pen4);
  const POINT hourTip = HourHandTip(g, hour, minute);
  LineTo(dc, hourTip.x, hourTip.y);
  MoveToEx(dc, g.cx, g.cy, nullptr);
  SelectObject(dc, style.pen2);
  const POINT minuteTip = MinuteHandTip(g, minute);
  LineTo(dc, minuteTip.x, minuteTip.y);
  MoveToEx(dc, g.cx, g.cy, nullptr);
  RestoreDC(dc, saved);
}

}  // namespace analog_clock
