// The clock and the date gadget: the analog face's geometry and its drawing
// at several sizes (pixel probes at the hands and the hour marks), the
// graphical face's digit pictures, the text face, the date's pattern and a
// new day showing by itself, each repainting only the gadget.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "core/core.h"
#include "desktop/analog_clock.h"
#include "desktop/clock_gadget.h"
#include "desktop/date_gadget.h"
#include "look/appearance.h"
#include "look/date_time_format.h"
#include "platform/device/system.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/window/input.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "tests/desktop/status_harness.h"
#include "tests/gdi/canvas.h"

namespace {

using desktoptest::StatusHarness;
using gdi_test::Canvas;
using gdi_test::kBlack;
using gdi_test::kWhite;

void SetTime(int year, int month, int day, int hour, int minute) {
  SYSTEMTIME t{static_cast<WORD>(year), static_cast<WORD>(month),  0, static_cast<WORD>(day),
               static_cast<WORD>(hour), static_cast<WORD>(minute), 0, 0};
  ASSERT_TRUE(SetLocalTime(&t));
}

// The clock moves to the minute and the device says so in its time value,
// as its state service does each minute; only the time value's notification
// is handled then, before anything paints.
void NextMinute(StatusHarness& h, int year, int month, int day, int hour, int minute) {
  h.Pump();
  SetTime(year, month, day, hour, minute);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  ASSERT_TRUE(device::UpdateTimeState(now));
  ASSERT_TRUE(devdb::SyncChangeWatcher());
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, h.Page().m_hWnd, kGadgetNotificationFirst, kGadgetNotificationFirst + 64, PM_REMOVE));
  DispatchMessageW(&msg);
}

// ---- The analog face ----------------------------------------------------------------------------

TEST(AnalogClock, TheRadiusComesFromTheShorterSideAndTheHourHandMovesInTwelveMinuteSteps) {
  EXPECT_EQ(analog_clock::Geometry(RECT{0, 0, 100, 60}).R, 27);
  EXPECT_EQ(analog_clock::Geometry(RECT{10, 10, 71, 211}).R, 27);  // 61 / 2 = 30
  const mivoAnalogClockGeometry g = analog_clock::Geometry(RECT{0, 0, 300, 300});
  // R, ri, fontTenths, tick, rn, hh, mh, ox, oy
  EXPECT_EQ((std::array{g.R, g.ri, g.fontTenths, g.tick, g.rn, g.hh, g.mh, g.ox, g.oy}),
            (std::array{147, 4, 245, 21, 113, 81, 98, 10, 23}));
  EXPECT_EQ(analog_clock::HourHandPosition(3, 30), 17);
  EXPECT_EQ(analog_clock::HourHandPosition(3, 11), 15);
  EXPECT_EQ(analog_clock::HourHandPosition(3, 12), 16);
  EXPECT_EQ(analog_clock::HourHandPosition(23, 59), 119);
  // Twelve marks, the walk round the circle ending on the first one again.
  const auto marks = analog_clock::HourMarks(g);
  ASSERT_EQ(marks.size(), 13u);
  EXPECT_EQ(marks.front().from, marks.back().from);
  EXPECT_EQ(marks[0].from, (POINT{150, 150 + 143}));  // a = 0 lies down the y axis: the six o'clock mark
}

// Whether the pixel or one of its eight neighbours is lit: a line of the pen's
// width lies on one side or the other of its ideal path.
bool LitNear(const Canvas& c, POINT p) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (c.At(p.x + dx, p.y + dy) == kWhite) return true;
  return false;
}

// The point `fraction` of the way from the centre to `tip`.
POINT Along(const mivoAnalogClockGeometry& g, POINT tip, double fraction) {
  return POINT{g.cx + static_cast<LONG>(std::lround((tip.x - g.cx) * fraction)),
               g.cy + static_cast<LONG>(std::lround((tip.y - g.cy) * fraction))};
}

TEST(AnalogClock, TheFaceIsDrawnWhereTheGeometrySaysAtEverySize) {
  HPEN pen1 = CreatePen(PS_SOLID, 1, kWhite), pen2 = CreatePen(PS_SOLID, 2, kWhite),
       pen4 = CreatePen(PS_SOLID, 4, kWhite);
  mivoAnalogClockStyle style;
  style.pen1 = pen1;
  style.pen2 = pen2;
  style.pen4 = pen4;
  style.textColor = kWhite;
  style.numbers = false;  // the numerals stand by fixed offsets, not measured: probed apart
  for (const RECT rect : {RECT{0, 0, 60, 60}, RECT{0, 0, 100, 60}, RECT{10, 20, 210, 220}, RECT{0, 0, 400, 300}}) {
    SCOPED_TRACE(RectWidth(rect));
    Canvas c(rect.right + 10, rect.bottom + 10, kBlack);
    analog_clock::Draw(c.dc(), rect, 3, 30, style);
    const mivoAnalogClockGeometry g = analog_clock::Geometry(rect);
    // The hands, near their tips and half way out; the minute hand at 6, the
    // hour hand at minute position 17.
    const POINT hour = analog_clock::HourHandTip(g, 3, 30), minute = analog_clock::MinuteHandTip(g, 30);
    // Straight down; the sine of half a turn is a hair above 0, and rounding
    // up takes the tip one pixel right.
    EXPECT_EQ(minute, (POINT{g.cx + 1, g.cy + g.mh}));
    for (double f : {0.5, 0.9}) {
      const POINT h = Along(g, hour, f), m = Along(g, minute, f);
      EXPECT_EQ(c.At(h.x, h.y), kWhite) << "hour hand at " << f;
      EXPECT_EQ(c.At(m.x, m.y), kWhite) << "minute hand at " << f;
    }
    // The hour hand is not half way between 3 and 4 (position 17.5) on a big face.
    if (g.hh >= 80) {
      const double a = 17.5 * std::numbers::pi / 30;
      const POINT half{g.cx + static_cast<LONG>(std::lround(std::sin(a) * g.hh * 0.9)),
                       g.cy - static_cast<LONG>(std::lround(std::cos(a) * g.hh * 0.9))};
      EXPECT_EQ(c.At(half.x, half.y), kBlack);
    }
    // Every hour mark: its middle is lit; the circle at three o'clock too.
    for (const mivoClockMark& mark : analog_clock::HourMarks(g)) {
      const POINT mid{(mark.from.x + mark.to.x) / 2, (mark.from.y + mark.to.y) / 2};
      EXPECT_TRUE(LitNear(c, mid)) << mid.x << "," << mid.y;
    }
    EXPECT_TRUE(LitNear(c, POINT{g.cx + g.R - 1, g.cy})) << "the circle";
    // Between two marks, where a mark would stand, nothing (on a face big
    // enough that the circle's pen does not reach there).
    if (g.R >= 60) {
      const double between = 2.5 * std::numbers::pi / 30;
      const int r = g.R - g.ri - g.tick / 2;
      EXPECT_FALSE(LitNear(
          c, POINT{g.cx + static_cast<int>(std::sin(between) * r), g.cy - static_cast<int>(std::cos(between) * r)}));
    }
  }
  // Without circle and marks only the hands and the centre ring remain.
  style.circle = false;
  style.ticks = false;
  Canvas c(110, 70, kBlack);
  analog_clock::Draw(c.dc(), RECT{0, 0, 100, 60}, 3, 30, style);
  const mivoAnalogClockGeometry g = analog_clock::Geometry(RECT{0, 0, 100, 60});
  EXPECT_FALSE(LitNear(c, POINT{g.cx + g.R - 1, g.cy}));
  DeleteObject(pen1);
  DeleteObject(pen2);
  DeleteObject(pen4);
}

TEST(AnalogClock, TheNumeralsStandAtTheirOffsetsFromTheirCircle) {
  const mivoAnalogClockGeometry g = analog_clock::Geometry(RECT{0, 0, 300, 300});
  EXPECT_EQ(analog_clock::NumeralOrigin(g, 12), (POINT{150 - g.ox, 150 - g.rn - g.oy}));
  // The cosine of a quarter turn is a hair above 0: rounded up, one pixel.
  EXPECT_EQ(analog_clock::NumeralOrigin(g, 3), (POINT{150 + g.rn - g.ox, 150 - 1 - g.oy}));
  HPEN pen = CreatePen(PS_SOLID, 1, kWhite);
  mivoAnalogClockStyle style{false, false, true, pen, pen, pen, kWhite};
  Canvas c(300, 300, kBlack);
  analog_clock::Draw(c.dc(), RECT{0, 0, 300, 300}, 0, 0, style);
  // Something of "12" is drawn right of and under its origin, nothing left of it.
  const POINT twelve = analog_clock::NumeralOrigin(g, 12);
  int lit = 0;
  for (int y = twelve.y; y < twelve.y + 30; ++y)
    for (int x = twelve.x; x < twelve.x + 30; ++x) lit += c.At(x, y) == kWhite;
  EXPECT_GT(lit, 20);
  for (int y = twelve.y; y < twelve.y + 30; ++y) EXPECT_EQ(c.At(twelve.x - 2, y), kBlack);
  // The numerals belong to the face: as high on a screen of 192 pixels to the
  // inch as on one of 96 (R is counted in the screen's pixels already).
  HDC probe = CreateCompatibleDC(nullptr);
  const int was = GetDeviceCaps(probe, LOGPIXELSY);
  DeleteDC(probe);
  auto numeralHeight = [&](int dpi) {
    gdi::SetLogPixels(dpi);
    Canvas face(300, 300, kBlack);
    analog_clock::Draw(face.dc(), RECT{0, 0, 300, 300}, 0, 0, style);
    int top = 300, bottom = -1;
    for (int y = 0; y < 150; ++y)
      for (int x = 130; x < 190; ++x)
        if (face.At(x, y) == kWhite) top = std::min(top, y), bottom = std::max(bottom, y);
    return bottom - top;
  };
  const int at96 = numeralHeight(96);
  EXPECT_GT(at96, 10);
  EXPECT_EQ(numeralHeight(192), at96);
  gdi::SetLogPixels(was);
  DeleteObject(pen);
}

// ---- The clock in the program --------------------------------------------------------------------

TEST(ClockGadget, TheGraphicalFaceDrawsTheDigitsOfTheHoursZeroToTwentyThree) {
  EXPECT_EQ(CmivoClock::GraphicalImageNames(23, 59),
            (std::vector<std::u16string>{u"gadget_clock_2", u"gadget_clock_3", u"gadget_clock_divider",
                                         u"gadget_clock_5", u"gadget_clock_9"}));
  EXPECT_EQ(CmivoClock::GraphicalImageNames(0, 0),
            (std::vector<std::u16string>{u"gadget_clock_0", u"gadget_clock_0", u"gadget_clock_divider",
                                         u"gadget_clock_0", u"gadget_clock_0"}));
  for (const auto& [hour, minute] : {std::pair{23, 59}, std::pair{0, 0}}) {
    SCOPED_TRACE(hour);
    StatusHarness h("graphical_" + std::to_string(hour));
    SetTime(2010, 3, 15, hour, minute);
    h.Pump();
    const RECT rect{0, 20, 240, 120};
    const uitest::Capture before = uitest::UiHarness::Screen();
    CmivoClock* clock = h.Add<CmivoClock>(rect);
    ASSERT_TRUE(clock->IsGraphical());
    h.Pump();
    const uitest::Capture after = uitest::UiHarness::Screen();
    // What the clock must look like: the five pictures, one after the other,
    // over what was there before, as a block centred in the gadget.
    mivoAppearance& look = *h.Core().GetAppearance();
    const SIZE icon = clock->GetImageSize();
    ASSERT_GT(icon.cx, 0);
    const POINT page = h.OnScreen(rect.left, rect.top);
    const int left = page.x + (RectWidth(rect) - icon.cx) / 2, top = page.y;
    Canvas expected(before.width, before.height);
    gdi::PixelBuffer pb = gdi::BitmapPixels(expected.bitmap());
    for (int i = 0; i < before.width * before.height; ++i) pb.pixels[i] = before.pixels[static_cast<std::size_t>(i)];
    int x = left;
    for (const std::u16string& name : CmivoClock::GraphicalImageNames(hour, minute)) {
      mivoSkinImage* image = look.GetSkinImage(name);
      look.DrawSkinImage(image, expected.dc(), RECT{x, top, left + icon.cx, top + icon.cy},
                         name == u"gadget_clock_divider" ? kAlignCenterY : 0);
      x += look.GetSkinImageSize(image).cx;
    }
    EXPECT_EQ(x, left + icon.cx);
    int differing = 0;
    for (int y = top; y < top + icon.cy; ++y)
      for (int px = left; px < left + icon.cx; ++px)
        differing += expected.At(px, y) != gdi::PixelToColor(after.At(px, y));
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(text::ToUtf8(clock->GetDumpText()), hour == 23 ? "23:59" : "00:00");
  }
}

TEST(ClockGadget, EachMinuteRepaintsOnlyTheClockAndTheTextFaceShowsTheTime) {
  StatusHarness h("minute");
  SetTime(2010, 3, 15, 9, 5);
  h.Pump();
  CmivoClock* clock = h.Add<CmivoClock>(RECT{20, 20, 220, 120});
  // Both flags off through the design-mode menu: the text face.
  mivoContextMenuEntry entry;
  entry.CommandId = 2068;
  clock->OnContextMenuCommand(entry);
  EXPECT_FALSE(clock->IsGraphical());
  EXPECT_EQ(text::ToUtf8(clock->GetText()), "09:05");
  h.Settle();
  NextMinute(h, 2010, 3, 15, 9, 6);
  EXPECT_EQ(text::ToUtf8(clock->GetText()), "09:06");
  RECT dirty{};
  ASSERT_TRUE(GetUpdateRect(h.Page().m_hWnd, &dirty, FALSE));
  EXPECT_EQ(dirty, clock->GetRect());
  // Analog wins over graphical; back to digital keeps the graphical choice.
  entry.CommandId = 2068;
  clock->OnContextMenuCommand(entry);
  entry.CommandId = 2064;
  clock->OnContextMenuCommand(entry);
  EXPECT_TRUE(clock->IsAnalog());
  EXPECT_EQ(clock->GetText(), u"");
  EXPECT_EQ(clock->GetImageSize().cx, 200);
  clock->OnContextMenuCommand(entry);
  EXPECT_TRUE(clock->IsGraphical());
}

TEST(ClockGadget, AGadgetSmallerThanItsFaceOrItsTextShowsThemSmallerNotCutOff) {
  StatusHarness h("fit");
  SetTime(2010, 3, 15, 9, 5);
  h.Pump();
  // Each gadget alone on the desktop: nothing it draws lies outside it.
  const RECT rects[] = {RECT{20, 20, 140, 60}, RECT{0, 100, 150, 125}, RECT{30, 150, 90, 250}};
  std::vector<CmivoGadget*> gadgets;
  for (int i = 0; i < 3; ++i) {
    const uitest::Capture before = uitest::UiHarness::Screen();
    CmivoGadget* g = i == 0   ? static_cast<CmivoGadget*>(h.Add<CmivoClock>(rects[i]))  // the digits: 208 wide
                     : i == 1 ? static_cast<CmivoGadget*>(h.Add<CmivoDateGadget>(rects[i]))
                              : static_cast<CmivoGadget*>(h.Add<CmivoClock>(rects[i]));
    if (i == 2) {
      mivoContextMenuEntry text;
      text.CommandId = 2068;  // the text face, 75 points in a 60 pixel wide gadget
      g->OnContextMenuCommand(text);
      h.Pump();
    }
    gadgets.push_back(g);
    const uitest::Capture after = uitest::UiHarness::Screen();
    const RECT r = g->GetRect();
    const POINT origin = h.OnScreen(0, 0);
    int outside = 0, inside = 0;
    for (int y = 0; y < after.height; ++y) {
      for (int x = 0; x < after.width; ++x) {
        if (after.At(x, y) == before.At(x, y)) continue;
        const POINT p{x - origin.x, y - origin.y};
        (PtInRect(&r, p) ? inside : outside) += 1;
      }
    }
    EXPECT_EQ(outside, 0) << i;
    EXPECT_GT(inside, 100) << i << ": something is drawn";
  }
  // The stored size stays what the user chose.
  EXPECT_EQ(dynamic_cast<CmivoIconTextGadget*>(gadgets[1])->GetStyle().textSize, 16);
  EXPECT_EQ(dynamic_cast<CmivoIconTextGadget*>(gadgets[2])->GetStyle().textSize, 75);
}

// ---- The date gadget --------------------------------------------------------------------------------

TEST(DateGadget, ThePatternTypedInTheDesignModeShowsAndANewDayShowsByItself) {
  StatusHarness h("date");
  SetTime(2026, 12, 5, 23, 58);
  h.Pump();
  CmivoDateGadget* date = h.Add<CmivoDateGadget>(RECT{0, 40, 240, 80});
  EXPECT_EQ(date->GetText(), datetime::LongDate(datetime::Now())) << "no pattern: the long date";

  // Design mode: hold the gadget, "Date format", type the pattern, OK.
  h.Page().SetDesignMode(true);
  const POINT p = h.OnScreen(120, 60);
  h.Down(p.x, p.y);
  h.Up(p.x, p.y);
  ASSERT_EQ(h.Page().SelectedGadget(), date);
  h.Hold(p.x, p.y);
  std::string prompt;
  h.AtIdle([&] {
    prompt = text::ToUtf8(uitest::OpenOverlay().text);
    window::input::Text(u"dd.MM.yyyy");
  });
  h.AtIdle([] { uitest::TapOverlayButton(0); });
  h.TapRow("Date format");
  EXPECT_EQ(prompt, "Enter format");
  EXPECT_EQ(date->Pattern(), u"dd.MM.yyyy");
  EXPECT_EQ(text::ToUtf8(date->GetText()), "05.12.2026");
  h.Page().SetDesignMode(false);
  h.Page().ReturnToDesktop();
  h.Pump();

  // A minute that is no new day repaints nothing; midnight repaints the date.
  NextMinute(h, 2026, 12, 5, 23, 59);
  RECT dirty{};
  EXPECT_FALSE(GetUpdateRect(h.Page().m_hWnd, &dirty, FALSE));
  NextMinute(h, 2026, 12, 6, 0, 0);
  ASSERT_TRUE(GetUpdateRect(h.Page().m_hWnd, &dirty, FALSE));
  EXPECT_EQ(dirty, date->GetRect());
  h.Pump();
  EXPECT_EQ(text::ToUtf8(date->GetDumpText()), "06.12.2026");
}

}  // namespace
