#include "pages/pending_page.h"

#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"
#include "platform/window/describe.h"

namespace {

// The fixed title id and icon of a slot whose page has one title.
struct Slot {
  int index;
  int titleId;        // 0: the base page's name
  const char16_t* icon;
};
constexpr Slot kSlots[] = {
    {5, 0, nullptr},
    {6, 0, nullptr},
    {9, IDS_BATTERY_INFO, u"battery_info_page"},
    {12, IDS_MIVO, u"settings_mivo_page"},
    {14, 0, nullptr},
    {16, 0, nullptr},
    {18, IDS_TASK_LIST_TITLE, nullptr},
    {19, IDS_CONTACTS, u"contacts_page"},
    {21, IDS_PROGRAMS, u"programs_page"},
    {22, IDS_EXPLORE_ROOT, u"explore_root_page"},
    {25, IDS_SYSTEM_INFO, u"system_info_page"},
    {26, IDS_RUNNING_APPLICATIONS, u"running_apps_page"},
    {27, IDS_MEMORY_INFO, u"memory_info_page"},
    {29, IDS_PERSONAL, u"settings_personal_page"},
    {30, IDS_SYSTEM, u"settings_system_page"},
    {31, IDS_CONNECTIONS, u"settings_connections_page"},
    {32, IDS_CALENDAR, nullptr},
    {35, IDS_LANGUAGE, nullptr},
};

const Slot* SlotOf(int index) {
  for (const Slot& s : kSlots)
    if (s.index == index) return &s;
  return nullptr;
}

// The call log's modes and the SMS folders by the tag of their entry id.
constexpr int kCallLogTitles[] = {IDS_ALL_CALLS, IDS_INCOMING_CALLS, IDS_OUTGOING_CALLS, IDS_MISSED_CALLS};
constexpr const char16_t* kCallLogIcons[] = {u"call_log_all_page", u"call_log_incoming_page", u"call_log_outgoing_page",
                                             u"call_log_missed_page"};
struct Folder {
  std::uint32_t tag;
  int titleId;
  const char16_t* icon;
};
constexpr Folder kFolders[] = {
    {0x81060102u, IDS_INBOX, u"sms_incoming"},
    {0x35E40102u, IDS_SENT, u"sms_sent"},
    {0x81040102u, IDS_DRAFTS, u"sms_drafts"},
    {0x35E20102u, IDS_OUTBOX, u"sms_outbox"},
    {0x35E30102u, IDS_DELETED, u"sms_deleted"},
};
const Folder* FolderOf(int param) {
  for (const Folder& f : kFolders)
    if (f.tag == static_cast<std::uint32_t>(param)) return &f;
  return nullptr;
}

}  // namespace

CmivoPendingPage::CmivoPendingPage(mivoCore* core, int index) : CmivoPageWnd(core), m_index(index) {
  SetPageParam(0, 0);
}

void CmivoPendingPage::SetPageParam(int param, int extra) {
  m_param = param;
  m_extra = extra;
  const std::u16string title = GetTitle(param, extra);
  // A page without a name of its own still gets a header to go back from.
  SetTitle(title.empty() ? GetString(IDS_UNKNOWN_PAGE_NAME) : title);
  m_pPageIcon = GetPageIcon(param, extra);
}

std::u16string CmivoPendingPage::GetTitle(int param, int extra) {
  if (m_index == 1) return param >= 0 && param < 4 ? GetString(kCallLogTitles[param]) : GetString(IDS_ERROR);
  if (m_index == 8) return FolderOf(param) ? GetString(FolderOf(param)->titleId) : GetString(IDS_ERROR);
  const Slot* slot = SlotOf(m_index);
  return slot && slot->titleId ? GetString(slot->titleId) : CmivoPageWnd::GetTitle(param, extra);
}

mivoSkinImage* CmivoPendingPage::GetPageIcon(int param, int extra) {
  const char16_t* name = nullptr;
  if (m_index == 1) {
    name = param >= 0 && param < 4 ? kCallLogIcons[param] : nullptr;
  } else if (m_index == 8) {
    name = FolderOf(param) ? FolderOf(param)->icon : nullptr;
  } else if (const Slot* slot = SlotOf(m_index)) {
    name = slot->icon;
  }
  return name && m_pCore->GetActions() ? m_pCore->GetActions()->SkinImage(name) : nullptr;
}

void CmivoPendingPage::OnPageShown() { SetPageParam(m_param, m_extra); }

void CmivoPendingPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  CmivoPageWnd::DrawBackground(dc, erase, left, top, right, bottom);
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  RECT box = m_contentRect;
  const int s = DisplayScale;
  box.left += 10 * s;
  box.right -= 10 * s;
  box.top += 20 * s;
  HGDIOBJ oldFont = SelectObject(dc, look->SubtitleFont);
  SetTextColor(dc, look->SubTextColor);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, kNotBuiltText, -1, &box, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

void CmivoPendingPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  j.String(std::u16string_view(kNotBuiltText));
  j.EndArray();
}
