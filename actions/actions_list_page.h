// CmivoActionsListPage: catalogue page 24, the actions history, most used
// first. 3x3 view shows the actions as tiles; Details view one row each with
// "Used %dx" under the title. A tap runs the entry's action again; a
// tap-and-hold offers the two views and the action's own context menu.
#pragma once

#include "actions/actions.h"
#include "ui/context_menu.h"
#include "ui/items_page.h"

class CmivoActionsListPage : public CmivoItemsPageWnd, public CmivoContextMenu, public mivoActionsListener {
 public:
  explicit CmivoActionsListPage(mivoCore* core);
  ~CmivoActionsListPage() override;

  std::u16string GetTitle(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  void OnPageShown() override;
  void OnPageHidden() override;
  void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) override;
  void OnItemTap(int index, const mivoListElement& element) override;
  void OnItemHold(int index, const mivoListElement& element) override;
  std::u16string DescribeItem(int index, const mivoListElement& element) override;
  // The empty text, or in details view each entry's "Used %dx".
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoActionsListPage"; }

  // The views' entries and the action's.
  void DrawMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry, bool selected) override;
  void OnMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetMenuItemText(const mivoContextMenuEntry& entry) override;

  void OnHistoryChanged() override;

  // The page's own menu commands (the views).
  static constexpr DWORD kMenuGridView = 3000;
  static constexpr DWORD kMenuDetailsView = 3001;

 private:
  void Refill();
  mivoHistoryEntry* EntryOf(const mivoListElement& element) const;
  void OpenMenu(mivoAction* action);

  bool m_shown = false;   // the page is the top page
  bool m_stale = false;   // the history changed while the page was not shown
};
