// CmivoMainMenuPage: catalogue page 0, the grid of the main menu's ten tiles.
// Every tile but Exit holds an action (mostly sub-menus of further actions)
// that runs through the core and is counted in the actions history.
#pragma once

#include <string>
#include <vector>

#include "actions/action.h"
#include "ui/page_wnd.h"

// One tile of the main menu.
struct mivoMainMenuEntry {
  DWORD Id = 0;              // the entry's id (11: Exit)
  mivoHeldAction Action;     // held by the menu; none for Exit
};

// The ten entries in their order.
std::vector<mivoMainMenuEntry> BuildMainMenuEntries(mivoCore* core);

constexpr DWORD kMainMenuExitId = 11;

class CmivoMainMenuPage : public CmivoPageWnd {
 public:
  explicit CmivoMainMenuPage(mivoCore* core);
  ~CmivoMainMenuPage() override;

  const std::vector<mivoMainMenuEntry>& Entries() const { return m_entries; }
  // What a tap on the tile at `index` does.
  void TapEntry(std::size_t index);

  const char* PageClassName() const override { return "CmivoMainMenuPage"; }

 private:
  std::vector<mivoMainMenuEntry> m_entries;  // the tiles, in order
};
