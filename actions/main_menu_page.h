// CmivoMainMenuPage: catalogue page 0, the grid of the main menu's ten tiles.
// Every tile but Exit holds an action (mostly sub-menus of further actions)
// that runs through the core and is counted in the actions history; a
// tap-and-hold offers the tile's action for the favourites and the desktop.
#pragma once

#include <string>
#include <vector>

#include "actions/action.h"
#include "ui/context_menu.h"
#include "ui/items_page.h"

// One tile of the main menu.
struct mivoMainMenuEntry {
  DWORD Id = 0;              // the entry's id (11: Exit)
  mivoHeldAction Action;     // held by the menu; none for Exit
};

// The ten entries in their order.
std::vector<mivoMainMenuEntry> BuildMainMenuEntries(mivoCore* core);

constexpr DWORD kMainMenuExitId = 11;

class CmivoMainMenuPage : public CmivoItemsPageWnd, public CmivoContextMenu {
 public:
  explicit CmivoMainMenuPage(mivoCore* core);
  ~CmivoMainMenuPage() override;

  const std::vector<mivoMainMenuEntry>& Entries() const { return m_entries; }

  void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) override;
  void OnItemTap(int index, const mivoListElement& element) override;
  void OnItemHold(int index, const mivoListElement& element) override;
  void OnItemRemoved(const mivoListElement& element) override;
  std::u16string DescribeItem(int index, const mivoListElement& element) override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  const char* PageClassName() const override { return "CmivoMainMenuPage"; }

 private:
  mivoMainMenuEntry* EntryOf(const mivoListElement& element);
  void Exit();

  std::vector<mivoMainMenuEntry> m_entries;  // the tiles, in order; element Data is the index
};
