#include "actions/actions_list_page.h"

#include "actions/menu_handlers.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "look/toolkit.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"

CmivoActionsListPage::CmivoActionsListPage(mivoCore* core) : CmivoItemsPageWnd(core), CmivoContextMenu(core) {
  SetTitle(GetString(IDS_ACTIONS_HISTORY));
  m_pPageIcon = GetPageIcon(0, 0);
  List().SetEmptyText(GetString(IDS_ACTIONS_HISTORY_EMPTY));
  if (m_pCore->GetActions()) m_pCore->GetActions()->AddListener(this);
}

CmivoActionsListPage::~CmivoActionsListPage() {
  if (m_pCore->GetActions()) m_pCore->GetActions()->RemoveListener(this);
  ClearItems();
}

std::u16string CmivoActionsListPage::GetTitle(int, int) { return GetString(IDS_ACTIONS_HISTORY); }

mivoSkinImage* CmivoActionsListPage::GetPageIcon(int, int) {
  return m_pCore->GetActions() ? m_pCore->GetActions()->SkinImage(u"actions_history_page") : nullptr;
}

void CmivoActionsListPage::OnPageShown() {
  m_shown = true;
  Refill();
}

void CmivoActionsListPage::OnPageHidden() { m_shown = false; }

void CmivoActionsListPage::OnHistoryChanged() {
  // A start from this page moves its entry: the cells follow at once.
  if (m_shown) {
    Refill();
  } else {
    m_stale = true;
  }
}

void CmivoActionsListPage::Refill() {
  m_stale = false;
  const int scroll = List().GetScrollTop();
  ClearItems();
  mivoActions* actions = m_pCore->GetActions();
  if (!actions) return;
  List().SetEmptyText(GetString(IDS_ACTIONS_HISTORY_EMPTY));
  for (std::size_t i = 0; i < actions->History().Count(); ++i) {
    mivoListElement element;
    element.Id = i;
    AddItem(element);
  }
  // A refill after a start keeps the place the user was looking at.
  List().SetScrollTop(std::min(scroll, std::max(0, List().MaxScrollTop())));
}

mivoHistoryEntry* CmivoActionsListPage::EntryOf(const mivoListElement& element) const {
  mivoActions* actions = m_pCore->GetActions();
  return actions ? actions->History().Entry(element.Id) : nullptr;
}

void CmivoActionsListPage::DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) {
  mivoHistoryEntry* entry = EntryOf(element);
  if (!entry) return;
  const int mode = index == List().GetCursor() ? kSkinDrawOverColor7 : kSkinDrawOverColor5;
  if (!IsDetailsView()) {
    entry->Action()->Draw(dc, rect, kActionStyleTile, mode);
    return;
  }
  entry->Action()->Draw(dc, rect, kActionStyleRow, mode, text::Format(GetString(IDS_USED_TIMES), entry->Count()));
}

void CmivoActionsListPage::OnItemTap(int index, const mivoListElement& element) {
  mivoHistoryEntry* entry = EntryOf(element);
  if (!entry || !m_pCore) return;
  // The entry's action runs; recording it may reorder the entries.
  m_pCore->RunAction(entry->Action());
}

void CmivoActionsListPage::OnItemHold(int index, const mivoListElement& element) {
  mivoHistoryEntry* entry = EntryOf(element);
  OpenMenu(entry ? entry->Action() : nullptr);
}

void CmivoActionsListPage::OpenMenu(mivoAction* action) {
  ClearMenu();
  mivoContextMenuEntry grid;
  grid.CommandId = kMenuGridView;
  grid.HelpText = GetString(IDS_GRID_VIEW_HELP);
  grid.Close = true;
  mivoContextMenuEntry details;
  details.CommandId = kMenuDetailsView;
  details.HelpText = GetString(IDS_DETAILS_VIEW_HELP);
  details.Close = true;
  AddMenuEntry(IsDetailsView() ? grid : details);
  if (action) AddMenuHandler(std::make_unique<CmivoContextMenuActionHandler>(m_pCore, *action));
  ShowMenu();
}

std::u16string CmivoActionsListPage::GetMenuItemText(const mivoContextMenuEntry& entry) {
  if (entry.CommandId == kMenuGridView) return GetString(IDS_GRID_VIEW);
  if (entry.CommandId == kMenuDetailsView) return GetString(IDS_DETAILS_VIEW);
  return CmivoContextMenu::GetMenuItemText(entry);
}

void CmivoActionsListPage::DrawMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry, bool selected) {
  if (entry.CommandId != kMenuGridView && entry.CommandId != kMenuDetailsView) {
    CmivoContextMenu::DrawMenuItem(dc, rect, entry, selected);
    return;
  }
  mivoAppearance* look = m_pCore->GetAppearance();
  if (look) {
    DrawRowImageTitle(*look, dc, nullptr, GetMenuItemText(entry), rect,
                      selected ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
  }
}

void CmivoActionsListPage::OnMenuCommand(const mivoContextMenuEntry& entry) {
  if (entry.CommandId == kMenuGridView) {
    SetGridView();
    Refill();
  } else if (entry.CommandId == kMenuDetailsView) {
    SetDetailsView();
    Refill();
  } else {
    CmivoContextMenu::OnMenuCommand(entry);
  }
}

std::u16string CmivoActionsListPage::DescribeItem(int index, const mivoListElement& element) {
  mivoHistoryEntry* entry = EntryOf(element);
  return entry ? entry->Action()->GetTitle() : std::u16string();
}

void CmivoActionsListPage::DumpTexts(window::JsonWriter& j) {
  j.BeginArray();
  if (GetItemCount() == 0) {
    j.String(List().GetEmptyText());
  } else if (IsDetailsView()) {
    for (int i = 0; i < GetItemCount(); ++i) {
      const mivoListElement* element = List().GetElement(i);
      if (mivoHistoryEntry* entry = element ? EntryOf(*element) : nullptr)
        j.String(text::Format(GetString(IDS_USED_TIMES), entry->Count()));
    }
  }
  j.EndArray();
}
