// The analog clock face of the clock gadget: its geometry (computed from the
// rectangle at every paint, nothing is cached) and its drawing. Angles run
// clockwise from twelve o'clock; x grows with sin a, y shrinks with cos a.
//
// R = min(width / 2, height / 2) - 3 (integer halves; a 100 x 60 gadget has
// R = 27) is the circle's radius; everything else is a fraction of it: the
// centre ring R/30, the marks R/7 long inside the circle, the numerals on a
// circle of 10R/13 at fixed offsets (R/14, 5R/31) from their top-left
// corner, in "Arial Black" of 5R/3 tenths of a point (on the face's own
// scale, so alike on every screen density), the hour hand 5R/9 and the
// minute hand 2R/3. The hour hand moves in steps of 12 minutes: at 3:30 it
// points at minute position 17.
#pragma once

#include <vector>

#include "platform/win32/types.h"

struct mivoAnalogClockGeometry {
  int R = 0;           // the circle's radius
  int cx = 0, cy = 0;  // the centre
  int ri = 0;          // the centre ring's radius, and the marks' inset from the circle
  int fontTenths = 0;  // the numerals' size in tenths of a point
  int tick = 0;        // the hour marks' length
  int rn = 0;          // the radius the numerals stand on
  int hh = 0;          // the hour hand's length
  int mh = 0;          // the minute hand's length
  int ox = 0, oy = 0;  // from a numeral's point on its circle to its text's top-left corner
};

// One hour mark: from the circle's inside inwards.
struct mivoClockMark {
  POINT from;
  POINT to;
};

// What to draw and with what: the gadget's three pens (1, 2 and 4 pixels).
struct mivoAnalogClockStyle {
  bool circle = true;
  bool ticks = true;
  bool numbers = true;
  HPEN pen1 = nullptr;
  HPEN pen2 = nullptr;
  HPEN pen4 = nullptr;
  COLORREF textColor = 0;
};

namespace analog_clock {

mivoAnalogClockGeometry Geometry(const RECT& rect);
// The hour hand's minute position: H * 5 + (M * 5) / 60.
int HourHandPosition(int hour, int minute);
POINT HourHandTip(const mivoAnalogClockGeometry& g, int hour, int minute);
POINT MinuteHandTip(const mivoAnalogClockGeometry& g, int minute);
// The marks in the order they are drawn (the twelfth hour's again at the
// end, as the walk round the circle comes back to it).
std::vector<mivoClockMark> HourMarks(const mivoAnalogClockGeometry& g);
// The top-left corner of numeral n (1..12).
POINT NumeralOrigin(const mivoAnalogClockGeometry& g, int n);
// Draws the face into the rectangle for the time (hour 0..23, minute 0..59;
// -1 for a time that could not be read points the hands as the arithmetic
// gives). The device context's pen and brush are restored.
void Draw(HDC dc, const RECT& rect, int hour, int minute, const mivoAnalogClockStyle& style);

}  // namespace analog_clock
