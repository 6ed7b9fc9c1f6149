// CmivoFavoritesPage: catalogue page 15, the favourites as a 3x3 grid of
// their positions. A tap runs a favourite; a tap-and-hold offers its
// context menu ("Remove from favorites", ...). In the choose-position mode
// (entered from "Add to favorites") the header says "Choose position" and
// the tapped position receives the pending action, replacing what was
// there; Back leaves the mode without a change.
#pragma once

#include <memory>

#include "actions/actions.h"
#include "actions/menu_handlers.h"
#include "ui/context_menu.h"
#include "ui/items_page.h"

class CmivoFavoritesPage : public CmivoItemsPageWnd,
                           public CmivoContextMenu,
                           public mivoFavoritePositionChooser,
                           public mivoActionsListener {
 public:
  explicit CmivoFavoritesPage(mivoCore* core);
  ~CmivoFavoritesPage() override;

  void ChoosePositionFor(std::unique_ptr<mivoAction> action) override;

  std::u16string GetTitle(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  void OnPageShown() override;
  void OnPageHidden() override;
  void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) override;
  void OnItemTap(int index, const mivoListElement& element) override;
  void OnItemHold(int index, const mivoListElement& element) override;
  std::u16string DescribeItem(int index, const mivoListElement& element) override;
  // The empty text when there is no favourite to show.
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoFavoritesPage"; }

  void OnFavoritesChanged() override;

 private:
  // The positions as cells (none in the plain mode when nothing is set).
  void Refill();
  mivoFavorites* Favorites() const;

  std::unique_ptr<mivoAction> m_pending;  // the action a tapped position receives; null outside the mode
  bool m_shown = false;                   // the page is the top page
};
