#include "actions/main_menu_page.h"

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "actions/menu_handlers.h"
#include "core/core.h"
#include "core/settings.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/string_table.h"
#include "look/toolkit.h"

namespace {

// The SMS folders by the property tag of their entry identifier.
constexpr std::uint32_t kInboxTag = 0x81060102u;
constexpr std::uint32_t kSentTag = 0x35E40102u;
constexpr std::uint32_t kDraftsTag = 0x81040102u;
constexpr std::uint32_t kOutboxTag = 0x35E20102u;
constexpr std::uint32_t kDeletedTag = 0x35E30102u;

std::unique_ptr<mivoAction> Page(mivoCore* core, int index, std::uint32_t param = 0) {
  return std::make_unique<mivoActionShowPage>(core, index, static_cast<int>(param), 0);
}

std::unique_ptr<mivoActionSubMenu> SubMenu(mivoCore* core, int titleId, const char16_t* icon) {
  auto menu = std::make_unique<mivoActionSubMenu>(core, GetString(titleId));
  menu->SetTitleId(titleId);
  if (core && core->GetActions()) menu->SetIcon(core->GetActions()->SkinImage(icon));
  return menu;
}

const mivoActionSubMenu* FindIn(const mivoActionSubMenu& menu, std::u16string_view title, int depth) {
  if (menu.Title() == title) return &menu;
  if (menu.TitleId() != 0 && BuiltInString(menu.TitleId()) == title) return &menu;
  if (depth > 8) return nullptr;
  for (const mivoHeldAction& child : const_cast<mivoActionSubMenu&>(menu).Children()) {
    if (child->TypeId() != kActionSubMenu) continue;
    if (const auto* found = FindIn(static_cast<const mivoActionSubMenu&>(*child), title, depth + 1)) return found;
  }
  return nullptr;
}

}  // namespace

std::vector<mivoMainMenuEntry> BuildMainMenuEntries(mivoCore* core) {
  std::vector<mivoMainMenuEntry> entries;
  auto add = [&](DWORD id, std::unique_ptr<mivoAction> action) {
    mivoMainMenuEntry entry;
    entry.Id = id;
    entry.Action.Reset(std::move(action));
    entries.push_back(std::move(entry));
  };

  add(0, Page(core, 19));

  auto sms = SubMenu(core, IDS_SMS, u"sms_page");
  sms->AddChild(std::make_unique<mivoActionWriteSMS>(core));
  for (std::uint32_t tag : {kInboxTag, kSentTag, kDraftsTag, kOutboxTag, kDeletedTag}) {
    sms->AddChild(Page(core, 8, tag));
  }
  add(1, std::move(sms));

  auto calls = SubMenu(core, IDS_CALL_LOG, u"call_log_page");
  for (int mode = 0; mode < 4; ++mode) calls->AddChild(Page(core, 1, mode));
  add(2, std::move(calls));

  add(3, Page(core, 21));
  add(4, Page(core, 22));

  auto settings = SubMenu(core, IDS_SETTINGS, u"settings_page");
  settings->AddChild(Page(core, 29, 0));
  settings->AddChild(Page(core, 30, 1));
  settings->AddChild(Page(core, 31, 2));
  settings->AddChild(Page(core, 12));
  add(6, std::move(settings));

  auto info = SubMenu(core, IDS_SYSTEM_INFO, u"system_info_page");
  for (int page : {9, 26, 27}) info->AddChild(Page(core, page));
  add(5, std::move(info));

  auto office = SubMenu(core, IDS_OFFICE, u"office_page");
  office->AddChild(Page(core, 32));
  auto calendar = SubMenu(core, IDS_MS_CALENDAR, u"calendar_page");
  calendar->SetHelpText(GetString(IDS_MS_CALENDAR_HELP));
  for (int view = 0; view < 5; ++view) {
    calendar->AddChild(std::make_unique<mivoActionOffice>(core, kOfficeCalendar, view));
  }
  office->AddChild(std::move(calendar));
  for (int kind : {kOfficeTasksList, kOfficeNotesList, kOfficeMessaging, kOfficeWordList, kOfficeExcelList})
    office->AddChild(std::make_unique<mivoActionOffice>(core, kind, 0));
  add(9, std::move(office));

  auto help = SubMenu(core, IDS_HELP, u"help_page");
  help->AddChild(Page(core, 34));
  help->AddChild(Page(core, 33));
  help->AddChild(std::make_unique<mivoActionHelpTutorial>(core));
  add(9, std::move(help));

  add(kMainMenuExitId, nullptr);
  return entries;
}

const mivoActionSubMenu* FindMainMenuSubMenu(mivoCore* core, std::u16string_view title) {
  auto* menu = core ? dynamic_cast<CmivoMainMenuPage*>(core->GetPage(0)) : nullptr;
  if (!menu) return nullptr;
  for (const mivoMainMenuEntry& entry : menu->Entries()) {
    if (!entry.Action || entry.Action->TypeId() != kActionSubMenu) continue;
    if (const auto* found = FindIn(static_cast<const mivoActionSubMenu&>(*entry.Action), title, 0)) return found;
  }
  return nullptr;
}

CmivoMainMenuPage::CmivoMainMenuPage(mivoCore* core)
    : CmivoItemsPageWnd(core), CmivoContextMenu(core), m_entries(BuildMainMenuEntries(core)) {
  SetTitle(GetString(IDS_MAIN_MENU));
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    mivoListElement element;
    element.Id = m_entries[i].Id;
    element.Data = i;
    AddItem(element);
  }
}

CmivoMainMenuPage::~CmivoMainMenuPage() { ClearItems(); }

mivoMainMenuEntry* CmivoMainMenuPage::EntryOf(const mivoListElement& element) {
  return element.Data < m_entries.size() ? &m_entries[element.Data] : nullptr;
}

void CmivoMainMenuPage::DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) {
  mivoMainMenuEntry* entry = EntryOf(element);
  if (!entry || !m_pCore) return;
  const int mode = index == List().GetCursor() ? kSkinDrawOverColor7 : kSkinDrawOverColor5;
  if (entry->Action) {
    entry->Action->Draw(dc, rect, kActionStyleTile, mode);
    return;
  }
  mivoAppearance* look = m_pCore->GetAppearance();
  if (look && m_pCore->GetActions()) {
    DrawGridCellImage(*look, dc, m_pCore->GetActions()->SkinImage(u"exit"), GetString(IDS_EXIT), rect, mode);
  }
}

void CmivoMainMenuPage::OnItemTap(int index, const mivoListElement& element) {
  mivoMainMenuEntry* entry = EntryOf(element);
  if (!entry || !m_pCore) return;
  if (entry->Action) {
    m_pCore->RunAction(entry->Action.get());
  } else if (entry->Id == kMainMenuExitId) {
    Exit();
  }
}

void CmivoMainMenuPage::Exit() {
  if (m_pCore->Settings().GetAskBeforeExit() &&
      m_pCore->RunMessageBox(GetString(IDS_EXIT_TITLE), GetString(IDS_WOULD_YOU_LIKE_TO_EXIT), false) != 1) {
    return;
  }
  m_pCore->RequestExit();
}

void CmivoMainMenuPage::OnItemHold(int index, const mivoListElement& element) {
  mivoMainMenuEntry* entry = EntryOf(element);
  if (!entry || !entry->Action) return;
  ClearMenu();
  AddMenuHandler(std::make_unique<CmivoContextMenuActionHandler>(m_pCore, *entry->Action));
  ShowMenu();
}

void CmivoMainMenuPage::OnItemRemoved(const mivoListElement& element) {
  if (mivoMainMenuEntry* entry = EntryOf(element)) entry->Action.Reset(nullptr);
}

std::u16string CmivoMainMenuPage::DescribeItem(int index, const mivoListElement& element) {
  mivoMainMenuEntry* entry = EntryOf(element);
  if (!entry) return {};
  return entry->Action ? entry->Action->GetTitle() : GetString(IDS_EXIT);
}

void CmivoMainMenuPage::CollectImages(std::vector<mivoSkinImage*>& images) {
  CmivoItemsPageWnd::CollectImages(images);
  for (mivoMainMenuEntry& entry : m_entries)
    if (entry.Action) entry.Action->CollectImages(images);
}
