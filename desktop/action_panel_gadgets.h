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

// What the two panels share: the picture and page of the icon part, the text
// shown when there is no action, and the listening to the actions store.
class CmivoActionDetailsGadget : public CmivoDetailsPanelGadget, public mivoActionsListener {
 public:
  ~CmivoActionDetailsGadget() override;

  // The action the details part shows, or null.
  virtual mivoAction* ShownAction() const = 0;

  void DrawIcon(HDC dc, const RECT& rect) override;
  void DrawDetails(HDC dc, const RECT& rect) override;
  // The panel's page.
  void OnIconTap(POINT point) override;
  // Runs the action shown (taken as it stands now); the panel's page when there is none.
  void OnDetailsTap(POINT point) override;
  void OnActivate() override;
  void OnDeactivate() override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  std::u16string GetDumpText() override;

 protected:
  CmivoActionDetailsGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId, const char16_t* image, int pageId,
                           int emptyTextId);

 private:
  mivoSkinImage* Image() const;
  void StopListening();

  const char16_t* m_image;  // the icon part's skin picture
  int m_pageId;             // the page the icon part opens
  int m_emptyTextId;        // what the details part says without an action
  bool m_listening = false;  // registered with the actions store
};

class CmivoFavoritesDetailsGadget : public CmivoActionDetailsGadget {
 public:
  CmivoFavoritesDetailsGadget(mivoCore* core, CmivoDesktopPage* page);

  // The first favourite among positions 0..8, or null when all are empty.
  mivoAction* FirstFavorite() const;
  mivoAction* ShownAction() const override { return FirstFavorite(); }
  void OnFavoritesChanged() override { Invalidate(); }
  const char* GadgetClassName() const override { return "CmivoFavoritesDetailsGadget"; }
};

class CmivoActionsHistoryDetailsGadget : public CmivoActionDetailsGadget {
 public:
  CmivoActionsHistoryDetailsGadget(mivoCore* core, CmivoDesktopPage* page);

  // The most used action (the history's first entry), or null for an empty history.
  mivoAction* MostUsed() const;
  mivoAction* ShownAction() const override { return MostUsed(); }
  void OnHistoryChanged() override { Invalidate(); }
  const char* GadgetClassName() const override { return "CmivoActionsHistoryDetailsGadget"; }
};
