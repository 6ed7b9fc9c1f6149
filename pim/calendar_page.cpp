#include "pim/calendar_page.h"

#include <algorithm>
#include <vector>

#include "core/core.h"
#include "look/appearance.h"
#include "look/date_time_format.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pim/local_days.h"
#include "pim/outlook_app.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"

namespace {

using localdays::DateOf;
using localdays::DayNumber;
using localdays::DayOf;
using localdays::DaysInMonth;
using localdays::NoonOf;

void FillWith(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

}  // namespace

// ---- An appointment -----------------------------------------------------------------------------

CmivoAdvListBoxAppointmentItem::CmivoAdvListBoxAppointmentItem(mivoCore* core, std::u16string when,
                                                               std::u16string subject)
    : CmivoAdvListBoxItem(core), m_when(std::move(when)), m_subject(std::move(subject)) {
  SetHeight(52 * DisplayScale);
}

int CmivoAdvListBoxAppointmentItem::Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) {
  const int height = CmivoAdvListBoxItem::Draw(listBox, dc, rect);
  mivoAppearance* look = Look();
  if (!look) return height;
  const int s = DisplayScale;
  const RECT& c = *rect;
  const int middle = (c.top + c.bottom) / 2;
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, look->SubtitleFont);
  SetTextColor(dc, look->SubTextColor);
  RECT when{c.left + 8 * s, c.top, c.right - 5 * s, middle};
  DrawTextW(dc, m_when.c_str(), static_cast<int>(m_when.size()), &when,
            DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, look->TitleFont);
  SetTextColor(dc, look->TextColor);
  RECT subject{c.left + 8 * s, middle, c.right - 5 * s, c.bottom};
  DrawTextW(dc, m_subject.c_str(), static_cast<int>(m_subject.size()), &subject,
            DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  RestoreDC(dc, saved);
  return height;
}

void CmivoAdvListBoxAppointmentItem::Describe(mivoRowText* out) const {
  out->text = m_subject;
  out->sub = m_when;
}

// ---- The page ------------------------------------------------------------------------------------

CmivoCalendarPage::CmivoCalendarPage(mivoCore* core)
    : CmivoPageWnd(core), m_list(std::make_unique<CmivoAdvListBoxWithEmptyText>(core)) {
  m_title = GetString(IDS_CALENDAR);
  m_list->SetOwnerPage(this);
  SelectDay(DayOf(datetime::Now()));
}

CmivoCalendarPage::~CmivoCalendarPage() = default;

std::u16string CmivoCalendarPage::GetTitle(int, int) { return GetString(IDS_CALENDAR); }
std::u16string CmivoCalendarPage::GetHelpText(int, int) { return GetString(IDS_CALENDAR_PAGE_HELP); }

void CmivoCalendarPage::SetPageParam(int, int) { SelectDay(DayOf(datetime::Now())); }

void CmivoCalendarPage::OnPageShown() { Reload(); }

std::int64_t CmivoCalendarPage::FirstShownDay() const {
  const std::int64_t first = DayNumber(m_year, m_month, 1);
  const int weekday = localdays::Weekday(first);
  const int back = (weekday - datetime::FirstDayOfWeek() + 7) % 7;
  return first - back;
}

void CmivoCalendarPage::SelectDay(std::int64_t day) {
  m_selected = day;
  const SYSTEMTIME date = DateOf(day);
  m_year = date.wYear;
  m_month = date.wMonth;
  Reload();
}

void CmivoCalendarPage::StepMonth(int months) {
  const SYSTEMTIME date = DateOf(m_selected);
  int month = date.wMonth - 1 + months;
  int year = date.wYear + (month < 0 ? (month - 11) / 12 : month / 12);
  month = ((month % 12) + 12) % 12 + 1;
  SelectDay(DayNumber(year, month, std::min<int>(date.wDay, DaysInMonth(year, month))));
}

void CmivoCalendarPage::Reload() {
  m_busyDays.clear();
  m_list->Clear(true);
  POApplication* outlook = m_pCore->GetOutlookStore();
  POAppointmentsCollection* appointments = outlook && outlook->IsOpen() ? outlook->GetAppointments() : nullptr;
  struct Found {
    std::int64_t start;
    std::u16string when, subject;
  };
  std::vector<Found> today;
  const std::int64_t first = FirstShownDay(), last = first + 41;
  for (std::size_t i = 0; appointments && i < appointments->GetCount(); ++i) {
    POAppointment* a = appointments->GetAppointmentAt(i);
    std::int64_t start = 0, end = 0;
    if (!a || !a->GetStart(&start)) continue;
    if (!a->GetEnd(&end) || end < start) end = start;
    // An appointment ends before its end: one that ends at midnight does not reach the next day.
    const std::int64_t from = DayOf(start), to = end > start ? DayOf(end - 1) : from;
    for (std::int64_t d = std::max(from, first); d <= std::min(to, last); ++d) m_busyDays.insert(d);
    if (m_selected < from || m_selected > to) continue;
    std::u16string when;
    if (!a->IsAllDay()) {
      when = datetime::HourMinute(start);
      if (end > start) when += u" \u2013 " + datetime::HourMinute(end);
    }
    const std::u16string location = a->GetLocation();
    if (!location.empty()) when += (when.empty() ? u"" : u", ") + location;
    today.push_back({a->IsAllDay() ? from * 86400 - 1 : start, when, a->GetSubject()});
  }
  std::stable_sort(today.begin(), today.end(), [](const Found& x, const Found& y) { return x.start < y.start; });
  // An empty day says which day it is, and that it holds nothing.
  m_list->SetEmptyText(datetime::LongDate(NoonOf(m_selected)) + u"\n" + GetString(IDS_NONE));
  for (Found& f : today) m_list->AddItem(new CmivoAdvListBoxAppointmentItem(m_pCore, f.when, f.subject));
  if (m_hWnd) Invalidate(FALSE);
  m_list->Repaint();
}

// ---- Window ---------------------------------------------------------------------------------------

int CmivoCalendarPage::OnCreate() {
  m_list->CreateListBox(this, RECT{0, 0, 10, 10});
  LayoutPage();
  return 0;
}

void CmivoCalendarPage::LayoutPage() {
  if (!m_hWnd || !m_list->m_hWnd) return;
  const int s = DisplayScale;
  RECT client{};
  GetClientRect(&client);
  const RECT& c = m_contentRect;
  const bool wide = RectWidth(client) > RectHeight(client);
  // The month on the left of a wide screen, on top of a tall one; the day's
  // appointments in the rest.
  const int monthRight = wide ? c.left + RectWidth(c) * 11 / 20 : c.right;
  const int available = client.bottom - c.top;
  m_bandRect = RECT{c.left, c.top, monthRight, c.top + 26 * s};
  m_namesRect = RECT{c.left, m_bandRect.bottom, monthRight, m_bandRect.bottom + 16 * s};
  const int gridSpace = wide ? client.bottom - m_namesRect.bottom - 2 * s
                             : std::clamp((available - 42 * s) * 3 / 5, 6 * 18 * s, 6 * 30 * s);
  const int rowHeight = std::max(1, gridSpace / 6);
  m_gridRect = RECT{c.left, m_namesRect.bottom, monthRight, m_namesRect.bottom + 6 * rowHeight};
  m_listRect = wide ? RECT{monthRight + 2 * s, c.top, c.right, c.bottom}
                    : RECT{c.left, m_gridRect.bottom + 4 * s, c.right, c.bottom};
  m_list->MoveWindow(m_listRect);
  Invalidate(FALSE);
}

RECT CmivoCalendarPage::CellRect(int index) const {
  const int column = index % 7, row = index / 7;
  const int width = RectWidth(m_gridRect), height = RectHeight(m_gridRect);
  return RECT{m_gridRect.left + width * column / 7, m_gridRect.top + height * row / 6,
              m_gridRect.left + width * (column + 1) / 7, m_gridRect.top + height * (row + 1) / 6};
}

int CmivoCalendarPage::CellAt(int x, int y) const {
  for (int i = 0; i < 42; ++i) {
    const RECT r = CellRect(i);
    if (PtInRect(&r, POINT{x, y})) return i;
  }
  return -1;
}

void CmivoCalendarPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  CmivoPageWnd::DrawBackground(dc, erase, left, top, right, bottom);
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int s = DisplayScale;
  const mivoColorTheme& theme = look->ColorTheme();
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);

  // The month's name between the arrows that change it.
  FillWith(dc, m_bandRect, theme.GetColor(5));
  SelectObject(dc, look->TitleFont);
  SetTextColor(dc, look->TextColor);
  const std::u16string month = datetime::YearMonth(NoonOf(DayNumber(m_year, m_month, 15)));
  RECT band = m_bandRect;
  DrawTextW(dc, month.c_str(), static_cast<int>(month.size()), &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  HPEN arrowPen = CreatePen(PS_SOLID, 3 * s, look->TextColor);
  SelectObject(dc, arrowPen);
  const int my = (m_bandRect.top + m_bandRect.bottom) / 2, a = 6 * s;
  const int lx = m_bandRect.left + 12 * s, rx = m_bandRect.right - 12 * s;
  MoveToEx(dc, lx + a, my - a, nullptr);
  LineTo(dc, lx, my);
  LineTo(dc, lx + a, my + a);
  MoveToEx(dc, rx - a, my - a, nullptr);
  LineTo(dc, rx, my);
  LineTo(dc, rx - a, my + a);

  // The weekdays, from the locale's first one.
  SelectObject(dc, look->SmallFont);
  SetTextColor(dc, look->SubTextColor);
  const int firstWeekday = datetime::FirstDayOfWeek();
  for (int i = 0; i < 7; ++i) {
    const std::u16string name = datetime::DayName((firstWeekday + i) % 7, true);
    RECT cell = CellRect(i);
    cell.top = m_namesRect.top;
    cell.bottom = m_namesRect.bottom;
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }

  // Six weeks of days: the chosen one filled, today outlined, a dot under
  // a day with appointments, the days of other months faint.
  const std::int64_t first = FirstShownDay();
  const std::int64_t today = DayOf(datetime::Now());
  SelectObject(dc, look->SubtitleFont);
  for (int i = 0; i < 42; ++i) {
    const std::int64_t day = first + i;
    const SYSTEMTIME date = DateOf(day);
    const RECT cell = CellRect(i);
    RECT inner{cell.left + s, cell.top + s, cell.right - s, cell.bottom - s};
    if (day == m_selected) {
      SelectObject(dc, look->ThemeBrush7);
      SelectObject(dc, look->ThemePen6);
      RoundRect(dc, inner.left, inner.top, inner.right, inner.bottom, 8 * s, 8 * s);
    } else if (day == today) {
      SelectObject(dc, GetStockObject(NULL_BRUSH));
      SelectObject(dc, look->ThemePen6);
      RoundRect(dc, inner.left, inner.top, inner.right, inner.bottom, 8 * s, 8 * s);
    }
    const bool inMonth = date.wMonth == m_month;
    SetTextColor(dc, inMonth ? look->TextColor : look->SubTextColor);
    const std::u16string number = text::FromInt(date.wDay);
    RECT numberRect = inner;
    DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &numberRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (m_busyDays.count(day)) {
      const int cx = (cell.left + cell.right) / 2, dy = cell.bottom - 4 * s;
      FillWith(dc, RECT{cx - 2 * s, dy - 2 * s, cx + 2 * s, dy}, theme.GetColor(inMonth ? 6 : 3));
    }
  }
  RestoreDC(dc, saved);
  DeleteObject(arrowPen);
}

void CmivoCalendarPage::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  CmivoPageWnd::DrawArea(dc, erase, left, top, right, bottom);
  // The list is a window of its own: drawn here too for the page drawn off screen.
  if (m_list->m_hWnd) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, m_listRect.left, m_listRect.top, m_listRect.right, m_listRect.bottom);
    m_list->DrawWithEmptyText(dc, m_listRect.left, m_listRect.top);
    RestoreDC(dc, saved);
  }
}

void CmivoCalendarPage::OnTap(int x, int y) {
  const POINT pt{x, y};
  if (PtInRect(&m_bandRect, pt)) {
    // The arrows take a third of the band each.
    const int third = RectWidth(m_bandRect) / 3;
    if (x < m_bandRect.left + third)
      StepMonth(-1);
    else if (x >= m_bandRect.right - third)
      StepMonth(1);
    return;
  }
  const int cell = CellAt(x, y);
  if (cell >= 0) SelectDay(FirstShownDay() + cell);
}

// ---- The state dump ------------------------------------------------------------------------------

void CmivoCalendarPage::DumpRows(window::JsonWriter& j) { m_list->DescribeRows(j); }

void CmivoCalendarPage::DumpCells(window::JsonWriter& j) {
  j.BeginArray();
  const std::int64_t first = FirstShownDay();
  for (int i = 0; i < 42; ++i) {
    RECT r = CellRect(i);
    ClientToScreen(&r);
    const std::int64_t day = first + i;
    j.BeginObject();
    j.Key("text");
    j.String(text::FromInt(DateOf(day).wDay) + (m_busyDays.count(day) ? u"*" : u""));
    j.Key("rect");
    j.Rect(r.left, r.top, r.right, r.bottom);
    if (day == m_selected) {
      j.Key("cursor");
      j.Bool(true);
    }
    j.EndObject();
  }
  j.EndArray();
}

void CmivoCalendarPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  j.String(datetime::YearMonth(NoonOf(DayNumber(m_year, m_month, 15))));
  j.String(datetime::LongDate(NoonOf(m_selected)));
  j.EndArray();
}

LRESULT CmivoCalendarPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT result = CmivoPageWnd::WindowProc(message, wParam, lParam);
      if (result == -1) return -1;
      return OnCreate();
    }
    case WM_LBUTTONUP: {
      const LRESULT result = CmivoPageWnd::WindowProc(message, wParam, lParam);
      OnTap(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return result;
    }
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_LEFT: SelectDay(m_selected - 1); return 0;
        case VK_RIGHT: SelectDay(m_selected + 1); return 0;
        case VK_UP: SelectDay(m_selected - 7); return 0;
        case VK_DOWN: SelectDay(m_selected + 7); return 0;
        default: break;
      }
      break;
    default: break;
  }
  return CmivoPageWnd::WindowProc(message, wParam, lParam);
}
