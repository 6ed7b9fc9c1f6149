// Two panels across the desktop that put one action at hand: the favourites
// panel shows the first favourite, the actions history panel the most used
// action. The icon part opens the favourites or the actions history page;
// the details part runs the action shown (through the core, so the start is
// counted). With no favourite or no history the details part says so, and
// its tap opens the page where the list is made. Both follow the actions
// store while they live on the desktop. No stored fields.
#pragma once

#include <string>

#include "actions/actions.h"
#include "desktop/details_panel_gadget.h"

class CmivoFavoritesDetailsGadget : public CmivoDetailsPanelGadget, public mivoActionsListener {
 public:
  CmivoFavoritesDetailsGadget(mivoCore* core, CmivoDesktopPage* page);
  ~CmivoFavoritesDetailsGadget() override;

  // The first favourite among positions 0..8, or null when all are empty.
  mivoAction* FirstFavorite() const;

  void DrawIcon(HDC dc, const RECT& rect) override;
  void DrawDetails(HDC dc, const RECT& rect) override;
  // The favourites page.
  void OnIconTap(POINT point) override;
  // Runs the first favourite; the favourites page when there is none.
  void OnDetailsTap(POINT point) override;
  void OnActivate() override;
  void OnDeactivate() override;
  void OnFavoritesChanged() override { Invalidate(); }
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  const char* GadgetClassName() const override { return "CmivoFavoritesDetailsGadget"; }
  std::u16string GetDumpText() override;

 private:
  mivoAction* m_pShown = nullptr;  // the action the details part drew last; the favourites' own
  bool m_listening = false;        // registered with the actions store
};

class CmivoActionsHistoryDetailsGadget : public CmivoDetailsPanelGadget, public mivoActionsListener {
 public:
  CmivoActionsHistoryDetailsGadget(mivoCore* core, CmivoDesktopPage* page);
  ~CmivoActionsHistoryDetailsGadget() override;

  // The most used action (the history's first entry), or null for an empty history.
  mivoAction* MostUsed() const;

  void DrawIcon(HDC dc, const RECT& rect) override;
  void DrawDetails(HDC dc, const RECT& rect) override;
  // The actions history page.
  void OnIconTap(POINT point) override;
  // Runs the most used action; the actions history page when there is none.
  void OnDetailsTap(POINT point) override;
  void OnActivate() override;
  void OnDeactivate() override;
  void OnHistoryChanged() override { Invalidate(); }
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  const char* GadgetClassName() const override { return "CmivoActionsHistoryDetailsGadget"; }
  std::u16string GetDumpText() override;

 private:
  mivoAction* m_pShown = nullptr;  // the action the details part drew last; the history's own
  bool m_listening = false;        // registered with the actions store
};
