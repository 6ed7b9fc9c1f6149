#include "actions/main_menu_page.h"

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "ui/page_wnd.h"
#include "app/core.h"
#include "app/settings.h"
#include "look/language.h"

namespace {

constexpr int kMainMenuTitleId = 14;  // "Main menu"
constexpr int kExitTitleId = 367;     // "Exit" (the question's title)
constexpr int kAskExitId = 366;       // "Would you like to exit mivo?"

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
  if (core && core->GetActions()) menu->SetIcon(core->GetActions()->SkinImage(icon));
  return menu;
}

const mivoActionSubMenu* FindIn(const mivoActionSubMenu& menu, std::u16string_view title, int depth) {
  if (menu.Title() == title) return &menu;
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

  auto sms = SubMenu(core, 4, u"sms_page");
  sms->AddChild(std::make_unique<mivoActionWriteSMS>(core));
  for (std::uint32_t tag : {kInboxTag, kSentTag, kDraftsTag, kOutboxTag, kDeletedTag}) sms->AddChild(Page(core, 8, tag));
  add(1, std::move(sms));

  auto calls = SubMenu(core, 5, u"call_log_page");
  for (int mode = 0; mode < 4; ++mode) calls->AddChild(Page(core, 1, mode));
  add(2, std::move(calls));

  add(3, Page(core, 21));
  add(4, Page(core, 22));

  auto settings = SubMenu(core, 8, u"settings_page");
  settings->AddChild(Page(core, 29, 0));
  settings->AddChild(Page(core, 30, 1));
  settings->AddChild(Page(core, 31, 2));
  settings->AddChild(Page(core, 12));
  add(6, std::move(settings));

  auto info = SubMenu(core, 9, u"system_info_page");
  for (int page : {9, 26, 27}) info->AddChild(Page(core, page));
  add(5, std::move(info));

  auto office = SubMenu(core, 10, u"office_page");
  office->AddChild(Page(core, 32));
  auto calendar = SubMenu(core, 40, u"calendar_page");
  calendar->SetHelpText(GetString(41));
  for (int view = 0; view < 5; ++view) calendar->AddChild(std::make_unique<mivoActionOffice>(core, kOfficeCalendar, view));
  office->AddChild(std::move(calendar));
  for (int kind : {kOfficeTasksList, kOfficeNotesList, kOfficeMessaging, kOfficeWordList, kOfficeExcelList})
    office->AddChild(std::make_unique<mivoActionOffice>(core, kind, 0));
  add(9, std::move(office));

  auto help = SubMenu(core, 11, u"help_page");
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

CmivoMainMenuPage::CmivoMainMenuPage(mivoCore* core) : CmivoPageWnd(core), m_entries(BuildMainMenuEntries(core)) {
  m_title = GetString(kMainMenuTitleId);
}

CmivoMainMenuPage::~CmivoMainMenuPage() = default;

void CmivoMainMenuPage::TapEntry(std::size_t index) {
  if (index >= m_entries.size() || !m_pCore) return;
  mivoMainMenuEntry& entry = m_entries[index];
  if (entry.Action) {
    m_pCore->RunAction(entry.Action.get());
    return;
  }
  if (entry.Id != kMainMenuExitId) return;
  if (m_pCore->Settings().GetAskBeforeExit() &&
      m_pCore->RunMessageBox(GetString(kExitTitleId), GetString(kAskExitId), false) != 1) {
    return;
  }
  m_pCore->RequestExit();
}
