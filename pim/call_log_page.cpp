#include "pim/call_log_page.h"

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "actions/menu_handlers.h"
#include "actions/services.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/date_time_format.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "pim/call_log.h"
#include "pim/po_items.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"

namespace {

std::int64_t Seconds(const FILETIME& ft) {
  const std::uint64_t ticks = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10000000ULL) - 11644473600LL;
}

std::u16string Text(LPCWSTR s) { return s ? std::u16string(s) : std::u16string(); }

// The phone kind of a call log's name type ("m", "w2", ...); 0 for none.
int KindOfNameType(std::u16string_view type) {
  static const char16_t* const kTypes[] = {u"m", u"a", u"w", u"w2", u"c", u"h", u"h2", u"r"};
  for (int i = 0; i < 8; ++i)
    if (type == kTypes[i]) return i + 1;
  return 0;
}

const char16_t* DirectionImage(DWORD direction) {
  switch (direction) {
    case IOM_MISSED: return u"call_log_missed";
    case IOM_OUTGOING: return u"call_log_outgoing";
    default: return u"call_log_incoming";
  }
}

}  // namespace

// ---- A call ---------------------------------------------------------------------------------------

CmivoAdvListBoxCallLogItem::CmivoAdvListBoxCallLogItem(mivoCore* core, const CALLLOGENTRY& entry)
    : CmivoAdvListBoxSideButtonItem(core),
      CmivoContextMenu(core),
      m_number(entry.cidt == CALLERIDTYPE_BLOCKED ? std::u16string() : Text(entry.pszNumber)),
      m_direction(entry.iom),
      m_flags(entry.flags),
      m_start(Seconds(entry.ftStartTime)),
      m_end(Seconds(entry.ftEndTime)) {
  m_title = Text(entry.pszName);
  int kind = KindOfNameType(Text(entry.pszNameType));
  // The contacts know the number's owner even when the log does not.
  mivoContactDirectory* contacts = m_pCore->GetActions() ? m_pCore->GetActions()->Contacts() : nullptr;
  int found = 0;
  if (mivoContactInfo* contact =
          contacts && !m_number.empty() ? contacts->FindContactByNumber(m_number, &found) : nullptr) {
    m_contactOid = contact->Oid();
    if (m_title.empty() || m_title == m_number) m_title = contact->DisplayName();
    if (!kind) kind = found;
  }
  if (kind) m_kindLabel = POContact::GetNumberLabel(kind);
  if (m_title.empty()) {
    m_title = entry.cidt == CALLERIDTYPE_BLOCKED ? GetString(IDS_SENSITIVITY_PRIVATE)
              : m_number.empty()                 ? GetString(IDS_NO_NUMBER)
                                                 : m_number;
  }
  // The details: three lines of the small font.
  SetExtraHeight(3 * 16 * DisplayScale + 10 * DisplayScale);
}

std::u16string CmivoAdvListBoxCallLogItem::Subtitle() const {
  const std::u16string when = datetime::RelativeDay(m_start) + u" " + datetime::HourMinute(m_start);
  // When first: on a narrow screen the line is cut at its end.
  return m_kindLabel.empty() ? when : when + u", " + m_kindLabel;
}

std::u16string CmivoAdvListBoxCallLogItem::Details() const {
  std::u16string lines = m_number.empty() ? m_title : m_number;
  lines += u"\n" + datetime::Strftime(m_start, u"%c");
  // How long a call that was taken lasted.
  if ((m_flags & CALLLOGFLAG_CONNECTED) && m_end >= m_start) {
    const std::int64_t length = m_end - m_start;
    lines += u"\n" + (length >= 3600
                          ? text::Format(u"%d:%02d:%02d", static_cast<int>(length / 3600),
                                         static_cast<int>(length / 60 % 60), static_cast<int>(length % 60))
                          : text::Format(u"%d:%02d", static_cast<int>(length / 60), static_cast<int>(length % 60)));
  }
  return lines;
}

void CmivoAdvListBoxCallLogItem::DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  mivoAppearance* look = Look();
  if (!look) return;
  mivoActions* actions = m_pCore->GetActions();
  mivoSkinImage* image = actions ? actions->SkinImage(DirectionImage(m_direction)) : nullptr;
  DrawRowImageTitleSubtitle(*look, dc, image, m_title, Subtitle(), rect,
                            IsSelected() ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
}

void CmivoAdvListBoxCallLogItem::DrawExpanded(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  mivoAppearance* look = Look();
  if (!look) return;
  const int s = DisplayScale;
  RECT box{rect.left + 10 * s, rect.top, rect.right, rect.bottom};
  const std::u16string details = Details();
  const int saved = SaveDC(dc);
  SelectObject(dc, look->SmallFont);
  SetTextColor(dc, look->TextColor);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, details.c_str(), static_cast<int>(details.size()), &box, DT_LEFT | DT_NOPREFIX);
  RestoreDC(dc, saved);
}

bool CmivoAdvListBoxCallLogItem::OnSideButton(UINT, int, int) {
  SetExpandedByUser(!IsExpanded());
  return true;
}

bool CmivoAdvListBoxCallLogItem::OnTap(UINT flags, int x, int y) {
  if (CmivoAdvListBoxSideButtonItem::OnTap(flags, x, y)) return true;
  if (m_number.empty()) return true;
  mivoActionMakeCall call(m_pCore, m_number);
  m_pCore->RunAction(&call);
  return true;
}

bool CmivoAdvListBoxCallLogItem::OnTapAndHold(int, int) {
  if (m_number.empty() && !m_contactOid) return false;
  ClearMenu();
  AddMenuHandler(std::make_unique<CmivoContextMenuPhoneNumberHandler>(m_pCore, m_number, m_contactOid));
  ShowMenu();
  return true;
}

void CmivoAdvListBoxCallLogItem::Describe(mivoRowText* out) const {
  out->text = m_title;
  out->sub = Subtitle();
  out->help = Details();
}

// ---- The page ------------------------------------------------------------------------------------

CmivoAdvCallLogPage::CmivoAdvCallLogPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  auto list = std::make_unique<CmivoAdvListBoxWithEmptyText>(core);
  m_pList = list.get();
  ReplaceListBox(std::move(list));
  m_title = GetTitle(0, 0);
}

std::u16string CmivoAdvCallLogPage::GetTitle(int param, int) {
  const mivoCallLogFilter* filter = GetCallLogFilter(param);
  return GetString(filter ? filter->titleId : IDS_ERROR);
}

std::u16string CmivoAdvCallLogPage::GetHelpText(int param, int) {
  const mivoCallLogFilter* filter = GetCallLogFilter(param);
  return filter ? GetString(filter->helpTextId) : std::u16string();
}

mivoSkinImage* CmivoAdvCallLogPage::GetPageIcon(int param, int) {
  const mivoCallLogFilter* filter = GetCallLogFilter(param);
  mivoActions* actions = m_pCore->GetActions();
  return filter && actions ? actions->SkinImage(filter->image) : nullptr;
}

void CmivoAdvCallLogPage::SetPageParam(int param, int extra) {
  m_filter = param;
  m_extra = extra;
  SetTitle(GetTitle(param, extra));
  m_pPageIcon = GetPageIcon(param, extra);
  Reload();
}

void CmivoAdvCallLogPage::Reload() {
  m_pCore->ShowPleaseWait(GetString(IDS_READING_CALL_LOG));
  mivoCallLog* log = m_pCore->GetCallLog();
  if (log) log->ReadCallLog();
  const mivoCallLogFilter* filter = GetCallLogFilter(m_filter);
  List().SetEmptyText(filter ? GetString(filter->emptyTextId) : std::u16string());
  Clear(true);
  m_shownCount = 0;
  m_shownNewest = 0;
  if (log) {
    const auto& entries = log->GetEntries();
    m_shownCount = entries.size();
    if (!entries.empty()) m_shownNewest = Seconds(entries.front().ftStartTime);
    for (const CALLLOGENTRY& entry : entries)
      if (CallLogFilterKeeps(m_filter, entry)) AddItem(new CmivoAdvListBoxCallLogItem(m_pCore, entry));
  }
  // The missed calls have been seen: the count the gadget shows goes to 0.
  if (m_filter == kCallLogFilterMissed) ResetMissedCallCount();
  m_pCore->HidePleaseWait();
  InvalidateList();
}

void CmivoAdvCallLogPage::OnPageShown() {
  mivoCallLog* log = m_pCore->GetCallLog();
  if (!log) return;
  log->ReadCallLog();
  const auto& entries = log->GetEntries();
  const std::int64_t newest = entries.empty() ? 0 : Seconds(entries.front().ftStartTime);
  if (entries.size() != m_shownCount || newest != m_shownNewest) Reload();
}

void CmivoAdvCallLogPage::DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) {
  List().DrawWithEmptyText(dc, m_contentRect.left, m_contentRect.top);
  CmivoPageWnd::DrawArea(dc, erase, left, top, right, bottom);
}

void CmivoAdvCallLogPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  if (List().ShowsEmptyText()) j.String(List().GetEmptyText());
  j.EndArray();
}
