#include "pages/pending_page.h"

#include <algorithm>

#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/gdi/gdi.h"
#include "platform/window/describe.h"

namespace {

// The fixed title id and icon of a slot whose page has one title. A page
// without an icon of its own still shows a picture of what it will be, and
// one whose title is empty a name in its header.
struct Slot {
  int index;
  int titleId;               // 0: the base page's name
  const char16_t* icon;      // the page's icon; null: none
  const char16_t* picture;   // drawn instead when the page has no icon
  int headerId;              // the header's text when the title is empty; 0: the base page's name
};
constexpr Slot kSlots[] = {
    {5, 0, nullptr, u"sms_incoming", 0},
    {6, 0, nullptr, u"write_sms", 0},
    {9, IDS_BATTERY_INFO, u"battery_info_page", nullptr, 0},
    {12, IDS_MIVO, u"settings_mivo_page", nullptr, 0},
    {14, 0, nullptr, u"explore_root_page", 0},
    {16, 0, nullptr, u"view_contact_details", 0},
    {18, IDS_TASK_LIST_TITLE, nullptr, u"office_tasks", IDS_TASKS},
    {19, IDS_CONTACTS, u"contacts_page", nullptr, 0},
    {21, IDS_PROGRAMS, u"programs_page", nullptr, 0},
    {22, IDS_EXPLORE_ROOT, u"explore_root_page", nullptr, 0},
    {25, IDS_SYSTEM_INFO, u"system_info_page", nullptr, 0},
    {26, IDS_RUNNING_APPLICATIONS, u"running_apps_page", nullptr, 0},
    {27, IDS_MEMORY_INFO, u"memory_info_page", nullptr, 0},
    {29, IDS_PERSONAL, u"settings_personal_page", nullptr, 0},
    {30, IDS_SYSTEM, u"settings_system_page", nullptr, 0},
    {31, IDS_CONNECTIONS, u"settings_connections_page", nullptr, 0},
    {32, IDS_CALENDAR, nullptr, u"calendar_page", 0},
    {35, IDS_LANGUAGE, nullptr, u"settings_mivo_page", 0},
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
  const Slot* slot = SlotOf(m_index);
  if (title.empty() && slot && slot->headerId) {
    SetTitle(GetString(slot->headerId));
  } else {
    SetTitle(title.empty() ? GetString(IDS_UNKNOWN_PAGE_NAME) : title);
  }
  m_pPageIcon = GetPageIcon(param, extra);
  m_pPicture = m_pPageIcon;
  if (!m_pPicture && slot && slot->picture && m_pCore->GetActions()) {
    m_pPicture = m_pCore->GetActions()->SkinImage(slot->picture);
  }
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

// The page's picture, large, with the line centred under it, the two
// together a little above the middle of the content area.
void CmivoPendingPage::DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) {
  CmivoPageWnd::DrawBackground(dc, erase, left, top, right, bottom);
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int s = DisplayScale;
  const RECT area{m_contentRect.left + 10 * s, m_contentRect.top, m_contentRect.right - 10 * s,
                  m_contentRect.bottom - 2 * s};
  SIZE picture = m_pPicture ? look->GetSkinImageSize(m_pPicture) : SIZE{};
  // Twice the picture's size where the screen has room for it.
  const int room = std::min(area.right - area.left, (area.bottom - area.top) / 2);
  if (picture.cy > 0 && picture.cx > 0 && 2 * std::max(picture.cx, picture.cy) <= room) {
    picture.cx *= 2;
    picture.cy *= 2;
  }
  HGDIOBJ oldFont = SelectObject(dc, look->SubtitleFont);
  RECT measure{area.left, 0, area.right, 0};
  const int textHeight = DrawTextW(dc, kNotBuiltText, -1, &measure, kLineFlags | DT_CALCRECT);
  const int gap = picture.cy > 0 ? 10 * s : 0;
  const int block = picture.cy + gap + textHeight;
  const int blockTop = area.top + std::max(0, (area.bottom - area.top - block) * 2 / 5);
  if (picture.cy > 0) {
    const RECT box{area.left, blockTop, area.right, blockTop + picture.cy};
    look->DrawSkinImage(m_pPicture, dc, box, kAlignCenterX, kSkinDrawDirect, picture.cx, picture.cy);
  }
  RECT line{area.left, blockTop + picture.cy + gap, area.right, area.bottom};
  SetTextColor(dc, look->SubTextColor);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, kNotBuiltText, -1, &line, kLineFlags);
  SelectObject(dc, oldFont);
}

void CmivoPendingPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  j.String(std::u16string_view(kNotBuiltText));
  j.EndArray();
}
