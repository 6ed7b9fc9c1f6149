// CmivoCalendarPage: a month of the calendar with the days that hold
// appointments marked, and under it (beside it on a wide screen) the chosen
// day's appointments. The arrows beside the month's name, or a tap on a day
// of the month before or after, change the month; the pad moves the day.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "pim/empty_text_list_box.h"
#include "ui/adv_list_box_item.h"
#include "ui/page_wnd.h"

// One appointment of the chosen day: when and where, and what.
class CmivoAdvListBoxAppointmentItem : public CmivoAdvListBoxItem {
 public:
  CmivoAdvListBoxAppointmentItem(mivoCore* core, std::u16string when, std::u16string subject);
  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  bool OnTap(UINT flags, int x, int y) override { return true; }
  void Describe(mivoRowText* out) const override;

 private:
  std::u16string m_when;  // "09:00 AM - 10:00 AM, Room 4"
  std::u16string m_subject;
};

class CmivoCalendarPage : public CmivoPageWnd {
 public:
  explicit CmivoCalendarPage(mivoCore* core);
  ~CmivoCalendarPage() override;

  // ---- The page operations ----
  // Today is chosen, in its month.
  void SetPageParam(int param, int extra) override;
  std::u16string GetTitle(int param, int extra) override;
  std::u16string GetHelpText(int param, int extra) override;
  // The appointments as they are now.
  void OnPageShown() override;
  void LayoutPage() override;
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpRows(window::JsonWriter& j) override;
  void DumpCells(window::JsonWriter& j) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoCalendarPage"; }

  // Days as numbers since 1970-01-01 (local calendar dates).
  std::int64_t SelectedDay() const { return m_selected; }
  // Chooses a day (its month shows) and lists its appointments.
  void SelectDay(std::int64_t day);
  // The month before (-1) or after (+1), the same day of it as far as it has one.
  void StepMonth(int months);
  // The first day the grid shows (the locale's first weekday on or before the 1st).
  std::int64_t FirstShownDay() const;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int OnCreate();
  void OnTap(int x, int y);
  // Reads the appointments: the days of the shown weeks that hold one, and the chosen day's.
  void Reload();
  RECT CellRect(int index) const;  // 0..41, client coordinates
  int CellAt(int x, int y) const;  // -1 outside the grid

  std::int64_t m_selected = 0;                           // the chosen day
  int m_year = 2010;                                     // the month shown
  int m_month = 1;                                       // 1..12
  std::set<std::int64_t> m_busyDays;                     // days of the grid holding an appointment
  std::unique_ptr<CmivoAdvListBoxWithEmptyText> m_list;  // the chosen day's appointments
  RECT m_bandRect{};                                     // the month's name and the arrows
  RECT m_namesRect{};                                    // the weekdays' names
  RECT m_gridRect{};                                     // six weeks of days
  RECT m_listRect{};
};
