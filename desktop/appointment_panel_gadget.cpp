#include "desktop/appointment_panel_gadget.h"

#include <algorithm>

#include "core/core.h"
#include "desktop/calendar_gadget.h"
#include "desktop/desktop_page.h"
#include "look/appearance.h"
#include "look/date_time_format.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "pim/local_days.h"
#include "pim/outlook_app.h"
#include "pim/po_collections.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/notify.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"

namespace {

// Times DisplayScale: the smallest panel, the inset of its text, the room
// above a heading that follows appointments.
constexpr int kMinPanelWidth = 100;
constexpr int kMinPanelHeight = 60;
constexpr int kInset = 4;
constexpr int kGroupGap = 4;

int LineHeight(HDC dc, HFONT font) {
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  return tm.tmHeight;
}

}  // namespace

CmivoAppointmentPanelGadget::CmivoAppointmentPanelGadget(mivoCore* core, CmivoDesktopPage* page)
    : CmivoGadget(core, page, 23) {
  m_minWidth = kMinPanelWidth * DisplayScale;
  m_minHeight = kMinPanelHeight * DisplayScale;
}

CmivoAppointmentPanelGadget::~CmivoAppointmentPanelGadget() { OnDeactivate(); }

// ---- Collecting --------------------------------------------------------------------------------

std::u16string CmivoAppointmentPanelGadget::Restriction(std::int64_t day) {
  const SYSTEMTIME date = localdays::DateOf(day);
  return text::Format(u"[End] > \"%04d-%02d-%02d 00:00\"", static_cast<int>(date.wYear), static_cast<int>(date.wMonth),
                      static_cast<int>(date.wDay));
}

std::int64_t CmivoAppointmentPanelGadget::ListedDay(const Appointment& a, std::int64_t now) {
  return std::max(localdays::DayOf(a.start), localdays::DayOf(now));
}

POAppointmentsCollection* CmivoAppointmentPanelGadget::Collection() const {
  POApplication* outlook = m_pCore->GetOutlookStore();
  return outlook && outlook->IsOpen() ? outlook->GetAppointments() : nullptr;
}

void CmivoAppointmentPanelGadget::Collect() {
  m_appointments.clear();
  m_collectedDay = localdays::DayOf(datetime::Now());
  POAppointmentsCollection* appointments = Collection();
  if (!appointments) return;
  // From now on the calendar's changes collect again.
  if (IsActive() && !m_pListened) {
    appointments->AddListener(this);
    m_pListened = appointments;
  }
  for (const std::unique_ptr<POItem>& item : appointments->FindAll(Restriction(m_collectedDay))) {
    auto* found = dynamic_cast<POAppointment*>(item.get());
    Appointment a;
    if (!found || !found->GetStart(&a.start)) continue;
    if (!found->GetEnd(&a.end) || a.end < a.start) a.end = a.start;
    a.allDay = found->IsAllDay();
    a.subject = found->GetSubject();
    a.location = found->GetLocation();
    m_appointments.push_back(std::move(a));
  }
  // By start; a day's all-day appointments before its timed ones.
  std::stable_sort(m_appointments.begin(), m_appointments.end(), [](const Appointment& x, const Appointment& y) {
    const std::int64_t dx = localdays::DayOf(x.start), dy = localdays::DayOf(y.start);
    if (dx != dy) return dx < dy;
    if (x.allDay != y.allDay) return x.allDay;
    return x.start < y.start;
  });
}

void CmivoAppointmentPanelGadget::Refresh() {
  Collect();
  Invalidate();
}

void CmivoAppointmentPanelGadget::EnsureCollected() {
  if (m_collectedDay < 0 || localdays::DayOf(datetime::Now()) != m_collectedDay) Collect();
}

void CmivoAppointmentPanelGadget::OnActivate() {
  // The appointments are collected when the panel is first drawn, not here:
  // a panel on a desktop not shown costs the start nothing.
  m_collectedDay = -1;
  if (m_pDesktop && !m_message) {
    m_message = m_pDesktop->RegisterNotification(this);
    if (m_pDesktop->m_hWnd)
      RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"System\\State\\DateTime", u"Time", m_pDesktop->m_hWnd, m_message, 0,
                           nullptr, &m_notify);
  }
}

void CmivoAppointmentPanelGadget::StopListening() {
  if (!m_pListened) return;
  // The Outlook store may have gone first (the program ending), its collections with it.
  if (Collection() == m_pListened) m_pListened->RemoveListener(this);
  m_pListened = nullptr;
}

void CmivoAppointmentPanelGadget::OnDeactivate() {
  StopListening();
  if (m_notify) RegistryCloseNotification(m_notify);
  m_notify = nullptr;
  if (m_message && m_pDesktop) m_pDesktop->UnregisterNotification(this);
  m_message = 0;
  m_appointments.clear();
  m_collectedDay = -1;
}

void CmivoAppointmentPanelGadget::OnStateChanged(WPARAM, LPARAM) {
  if (m_collectedDay >= 0 && localdays::DayOf(datetime::Now()) != m_collectedDay) Collect();
  // A minute on, an appointment may have ended.
  Invalidate();
}

// ---- The lines ---------------------------------------------------------------------------------

std::u16string CmivoAppointmentPanelGadget::WhenText(const Appointment& a) {
  std::u16string when;
  if (a.allDay) {
    // All day: its date, or its first and last date when it lasts longer.
    const std::int64_t first = localdays::DayOf(a.start);
    const std::int64_t last = a.end > a.start ? localdays::DayOf(a.end - 1) : first;
    when = datetime::ShortDate(localdays::NoonOf(first));
    if (last > first) when += u" \u2013 " + datetime::ShortDate(localdays::NoonOf(last));
  } else {
    when = datetime::HourMinute(a.start);
    if (a.end > a.start) when += u" \u2013 " + datetime::HourMinute(a.end);
  }
  if (!a.location.empty()) when += u", " + a.location;
  return when;
}

std::vector<CmivoAppointmentPanelGadget::Line> CmivoAppointmentPanelGadget::MakeLines(std::int64_t now) const {
  std::vector<Line> lines;
  const std::int64_t today = localdays::DayOf(now);
  std::int64_t heading = -1;
  for (const Appointment& a : m_appointments) {
    // Finished ones leave (one without a length once its moment passed);
    // an all-day one lasts to its end at midnight.
    if (std::max(a.end, a.start + 1) <= now) continue;
    const std::int64_t day = ListedDay(a, now);
    if (day != heading) {
      heading = day;
      lines.push_back({Line::Kind::kHeading, datetime::RelativeDay(localdays::NoonOf(day), now), day});
    }
    lines.push_back({Line::Kind::kWhen, WhenText(a), day});
    lines.push_back({Line::Kind::kWhat, a.subject, day});
  }
  if (lines.empty()) {
    lines.push_back({Line::Kind::kHeading, datetime::RelativeDay(localdays::NoonOf(today), now), today});
    lines.push_back({Line::Kind::kNone, GetString(IDS_NONE), today});
  }
  return lines;
}

// ---- Painting and taps -------------------------------------------------------------------------

void CmivoAppointmentPanelGadget::Paint(HDC dc) {
  m_hits.clear();
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int S = DisplayScale;
  EnsureCollected();
  const std::int64_t now = datetime::Now();
  const std::vector<Line> lines = MakeLines(now);
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, m_rect.left, m_rect.top, m_rect.right, m_rect.bottom);
  SetBkMode(dc, TRANSPARENT);
  const int left = m_rect.left + kInset * S, right = m_rect.right - kInset * S, bottom = m_rect.bottom - kInset * S;
  const int headingHeight = LineHeight(dc, look->SubtitleFont) + 3 * S;
  const int whenHeight = LineHeight(dc, look->SmallFont);
  const int whatHeight = LineHeight(dc, look->SubtitleFont) + 2 * S;
  const UINT flags = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
  int y = m_rect.top + kInset * S;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    const bool heading = line.kind == Line::Kind::kHeading;
    if (heading && i > 0) y += kGroupGap * S;
    const bool small = line.kind == Line::Kind::kWhen || line.kind == Line::Kind::kNone;
    const int height = heading ? headingHeight : line.kind == Line::Kind::kWhen ? whenHeight : whatHeight;
    // An appointment shows whole or not at all, and a heading only with
    // room for one under it.
    const int needed = heading                          ? height + whenHeight + whatHeight
                       : line.kind == Line::Kind::kWhen ? whenHeight + whatHeight
                                                        : height;
    if (y + needed > bottom) break;
    const RECT rect = MakeRect(left, y, right, y + height);
    // The theme's text colour throughout: over a wallpaper its fainter
    // second colour is hard to read; the small font sets the times apart.
    SelectObject(dc, small ? look->SmallFont : look->SubtitleFont);
    SetTextColor(dc, look->TextColor);
    if (heading) {
      // The day's heading over a thin rule.
      DrawTextWithShadow(*look, dc, line.text, MakeRect(rect.left, rect.top, rect.right, rect.bottom - 2 * S), flags);
      SelectObject(dc, look->ThemePen6);
      MoveToEx(dc, left, rect.bottom - 2 * S, nullptr);
      LineTo(dc, right, rect.bottom - 2 * S);
    } else {
      DrawTextWithShadow(*look, dc, line.text, MakeRect(rect.left + 2 * S, rect.top, rect.right, rect.bottom), flags);
    }
    m_hits.push_back(Hit{MakeRect(m_rect.left, rect.top, m_rect.right, rect.bottom), line.day});
    y += height;
  }
  RestoreDC(dc, saved);
  CmivoGadget::Paint(dc);
}

std::int64_t CmivoAppointmentPanelGadget::DayAt(POINT point) const {
  for (const Hit& hit : m_hits) {
    if (PtInRect(&hit.rect, point)) return hit.day;
  }
  return -1;
}

void CmivoAppointmentPanelGadget::OnTap(UINT flags, POINT point) {
  if (IsDesignMode()) {
    CmivoGadget::OnTap(flags, point);
    return;
  }
  ShowCalendarPageOnDay(m_pCore, DayAt(point));
}

std::u16string CmivoAppointmentPanelGadget::GetDumpText() {
  std::u16string out;
  std::u16string pending;  // an appointment's first line, waiting for its second
  EnsureCollected();
  for (const Line& line : MakeLines(datetime::Now())) {
    switch (line.kind) {
      case Line::Kind::kHeading: out += (out.empty() ? u"" : u" | ") + line.text + u":"; break;
      case Line::Kind::kWhen: pending = line.text; break;
      case Line::Kind::kWhat: out += u" " + (pending.empty() ? line.text : pending + u" " + line.text); break;
      case Line::Kind::kNone: out += u" " + line.text; break;
    }
  }
  return out;
}
