// CmivoCalendarGadget: this month as a grid on the desktop: the month's
// name, a row of two-letter day names from the locale's first day of the
// week, and the weeks of the month with today highlighted. Its text is bold
// Arial a tenth of the gadget's height. A tap on a day opens the calendar
// page on that day, anywhere else on today. The gadget follows the system
// time's state value, so the grid moves on at midnight. No stored fields.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "desktop/gadget.h"

class mivoCore;

// Shows the calendar page on a day (a local day number; today when negative),
// set before it shows as a page action sets it. The calendar gadget and the
// appointment panel open it so.
void ShowCalendarPageOnDay(mivoCore* core, std::int64_t day);

class CmivoCalendarGadget : public CmivoGadget {
 public:
  CmivoCalendarGadget(mivoCore* core, CmivoDesktopPage* page);
  ~CmivoCalendarGadget() override;

  void Paint(HDC dc) override;
  // Outside design mode: the calendar page, on the day tapped or on today.
  void OnTap(UINT flags, POINT point) override;
  void OnActivate() override;
  void OnDeactivate() override;
  // The time changed: a new day repaints the grid.
  void OnStateChanged(WPARAM wParam, LPARAM lParam) override;
  const char* GadgetClassName() const override { return "CmivoCalendarGadget"; }
  // The month's name and today's date: "March, 2010 [15]".
  std::u16string GetDumpText() override;

  // The two-letter day name of a weekday (0 Sunday .. 6 Saturday).
  const std::u16string& DayName(int weekday) const { return m_dayNames[static_cast<std::size_t>(weekday % 7)]; }
  // The day (days since 1970) under a point of the last painted grid, or -1.
  std::int64_t DayAt(POINT point) const;
  // The weekday of the grid's first column (the locale's first day of the week).
  int FirstColumnWeekday() const;

 private:
  // The grid of this month as it is laid out in the gadget now.
  struct Layout {
    RECT title{}, names{}, weeks{};  // the three bands
    std::int64_t firstDay = 0;       // the day in the first cell (may be of the month before)
    int weekCount = 0;               // rows of days, 4..6
    int month = 0;                   // 1..12, the month shown
  };
  Layout MakeLayout(std::int64_t today) const;
  RECT CellRect(const Layout& layout, int index) const;

  std::array<std::u16string, 7> m_dayNames;  // by tm_wday, cut to two characters
  std::int64_t m_shownDay = -1;              // today when it was last painted
  UINT m_message = 0;                        // the page's notification message; 0: none
  HREGNOTIFY m_notify = nullptr;             // the system time's notification; null: none
};
