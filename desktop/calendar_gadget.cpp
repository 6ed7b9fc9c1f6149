#include "desktop/calendar_gadget.h"

#include <algorithm>

#include "core/core.h"
#include "core/page_ids.h"
#include "desktop/desktop_page.h"
#include "look/appearance.h"
#include "look/date_time_format.h"
#include "look/toolkit.h"
#include "pim/calendar_page.h"
#include "pim/local_days.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/notify.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"

namespace {

// The smallest calendar, times DisplayScale.
constexpr int kMinSide = 100;
// Day names are cut to this many characters.
constexpr std::size_t kNameLength = 2;

// Bold Arial whose cell is `height` pixels high.
HFONT CalendarFont(int height) {
  LOGFONTW lf{};
  lf.lfHeight = std::max(1, height);
  lf.lfWeight = FW_BOLD;
  lf.lfPitchAndFamily = 0x20;
  lf.lfQuality = CLEARTYPE_QUALITY;
  text::CopyTo(lf.lfFaceName, LF_FACESIZE, u"Arial");
  return CreateFontIndirectW(&lf);
}

}  // namespace

CmivoCalendarGadget::CmivoCalendarGadget(mivoCore* core, CmivoDesktopPage* page) : CmivoGadget(core, page, 27) {
  m_minWidth = kMinSide * DisplayScale;
  m_minHeight = kMinSide * DisplayScale;
  // The locale's abbreviated names, placed by weekday, cut short so seven fit a row.
  for (int weekday = 0; weekday < 7; ++weekday) {
    std::u16string name = datetime::DayName(weekday, true);
    if (name.size() > kNameLength) name.resize(kNameLength);
    m_dayNames[static_cast<std::size_t>(weekday)] = name;
  }
}

CmivoCalendarGadget::~CmivoCalendarGadget() { OnDeactivate(); }

void CmivoCalendarGadget::OnActivate() {
  if (!m_pDesktop || m_message) return;
  // The clock's own value: it changes every minute, so midnight is seen.
  m_message = m_pDesktop->RegisterNotification(this);
  if (m_pDesktop->m_hWnd)
    RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"System\\State\\DateTime", u"Time", m_pDesktop->m_hWnd, m_message, 0,
                         nullptr, &m_notify);
}

void CmivoCalendarGadget::OnDeactivate() {
  if (m_notify) RegistryCloseNotification(m_notify);
  m_notify = nullptr;
  if (m_message && m_pDesktop) m_pDesktop->UnregisterNotification(this);
  m_message = 0;
}

void CmivoCalendarGadget::OnStateChanged(WPARAM, LPARAM) {
  if (localdays::DayOf(datetime::Now()) != m_shownDay) Invalidate();
}

int CmivoCalendarGadget::FirstColumnWeekday() const { return std::clamp(datetime::FirstDayOfWeek(), 0, 6); }

CmivoCalendarGadget::Layout CmivoCalendarGadget::MakeLayout(std::int64_t today) const {
  Layout l;
  const SYSTEMTIME date = localdays::DateOf(today);
  l.month = date.wMonth;
  const std::int64_t first = localdays::DayNumber(date.wYear, date.wMonth, 1);
  const int back = (localdays::Weekday(first) - FirstColumnWeekday() + 7) % 7;
  l.firstDay = first - back;
  const int cells = back + localdays::DaysInMonth(date.wYear, date.wMonth);
  l.weekCount = (cells + 6) / 7;
  // The title and the names take a row each; the weeks share the rest.
  const int rows = 2 + l.weekCount;
  const RECT& g = m_rect;
  const int rowHeight = RectHeight(g) / rows;
  l.title = MakeRect(g.left, g.top, g.right, g.top + rowHeight);
  l.names = MakeRect(g.left, l.title.bottom, g.right, l.title.bottom + rowHeight);
  l.weeks = MakeRect(g.left, l.names.bottom, g.right, g.bottom);
  return l;
}

RECT CmivoCalendarGadget::CellRect(const Layout& layout, int index) const {
  const RECT& w = layout.weeks;
  const int column = index % 7, row = index / 7;
  const int width = RectWidth(w), height = RectHeight(w);
  const int rows = std::max(1, layout.weekCount);
  return MakeRect(w.left + width * column / 7, w.top + height * row / rows, w.left + width * (column + 1) / 7,
                  w.top + height * (row + 1) / rows);
}

std::int64_t CmivoCalendarGadget::DayAt(POINT point) const {
  const std::int64_t today = localdays::DayOf(datetime::Now());
  const Layout layout = MakeLayout(today);
  for (int i = 0; i < layout.weekCount * 7; ++i) {
    const RECT cell = CellRect(layout, i);
    if (!PtInRect(&cell, point)) continue;
    const std::int64_t day = layout.firstDay + i;
    // Only the month's own days are drawn, and only they can be tapped.
    return localdays::DateOf(day).wMonth == layout.month ? day : -1;
  }
  return -1;
}

void CmivoCalendarGadget::Paint(HDC dc) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int S = DisplayScale;
  const std::int64_t now = datetime::Now();
  const std::int64_t today = localdays::DayOf(now);
  m_shownDay = today;
  const Layout layout = MakeLayout(today);
  HFONT font = CalendarFont(RectHeight(m_rect) / 10);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, m_rect.left, m_rect.top, m_rect.right, m_rect.bottom);
  SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look->TextColor);
  const UINT centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

  const std::u16string title = datetime::YearMonth(now);
  DrawTextWithShadow(*look, dc, title, layout.title, centred | DT_END_ELLIPSIS);
  for (int column = 0; column < 7; ++column) {
    RECT cell = CellRect(layout, column);
    cell.top = layout.names.top;
    cell.bottom = layout.names.bottom;
    DrawTextWithShadow(*look, dc, DayName(FirstColumnWeekday() + column), cell, centred);
  }
  // A thin line between the names and the days.
  SelectObject(dc, look->ThemePen6);
  MoveToEx(dc, layout.names.left + 2 * S, layout.names.bottom - S, nullptr);
  LineTo(dc, layout.names.right - 2 * S, layout.names.bottom - S);

  for (int i = 0; i < layout.weekCount * 7; ++i) {
    const std::int64_t day = layout.firstDay + i;
    const SYSTEMTIME date = localdays::DateOf(day);
    if (date.wMonth != layout.month) continue;
    const RECT cell = CellRect(layout, i);
    if (day == today) {
      // Today on the theme's highlight, the way lists mark their chosen row.
      SelectObject(dc, look->ThemeBrush7);
      SelectObject(dc, look->ThemePen6);
      const int radius = 6 * S;
      RoundRect(dc, cell.left + S, cell.top, cell.right - S, cell.bottom, radius, radius);
    }
    DrawTextWithShadow(*look, dc, text::FromInt(date.wDay), cell, centred);
  }
  RestoreDC(dc, saved);
  DeleteObject(font);
  CmivoGadget::Paint(dc);
}

void ShowCalendarPageOnDay(mivoCore* core, std::int64_t day) {
  CmivoPageWnd* page = core ? core->GetPage(kCalendarPage) : nullptr;
  if (!page) return;
  // Today first, then the day, as a page action would set them.
  page->SetPageParam(0, 0);
  if (auto* calendar = dynamic_cast<CmivoCalendarPage*>(page); calendar && day >= 0) calendar->SelectDay(day);
  core->ShowPage(page);
}

void CmivoCalendarGadget::OnTap(UINT flags, POINT point) {
  if (IsDesignMode()) {
    CmivoGadget::OnTap(flags, point);
    return;
  }
  ShowCalendarPageOnDay(m_pCore, DayAt(point));
}

std::u16string CmivoCalendarGadget::GetDumpText() {
  const std::int64_t now = datetime::Now();
  return datetime::YearMonth(now) + u" [" + text::FromInt(localdays::DateOf(localdays::DayOf(now)).wDay) + u"]";
}
