// CmivoActionsHistoryGadget: a grid of the most used actions of one kind
// (all, settings, applications, calls, SMS), taken from the actions history
// in its order. The base draws the tiles that fit (80·S apart across, 90·S
// down, each 70·S x 80·S), runs a tapped tile's action and repaints when the
// history changes; a member only says which actions it shows (AcceptsAction).
#pragma once

#include <string>
#include <vector>

#include "actions/actions.h"
#include "desktop/gadget.h"

class mivoAction;

class CmivoActionsHistoryGadget : public CmivoGadget, public mivoActionsListener {
 public:
  CmivoActionsHistoryGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId);
  ~CmivoActionsHistoryGadget() override;

  // ---- The family's operation ----
  // Whether the grid shows this history entry's action.
  virtual bool AcceptsAction(mivoAction& action) = 0;

  // The tiles that fit, then the design frame.
  void Paint(HDC dc) override;
  // Outside design mode: the tapped tile's action, then a repaint.
  void OnTap(UINT flags, POINT point) override;
  // Follows the history while it lives on the desktop.
  void OnActivate() override;
  void OnDeactivate() override;
  void OnHistoryChanged() override { Invalidate(); }
  const char* GadgetClassName() const override { return "CmivoActionsHistoryGadget"; }
  // The pictures of the tiles that fit now.
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  // The titles of the tiles, or the kind's name and "None" for an empty grid.
  std::u16string GetDumpText() override;

  // One tile as last drawn.
  struct Tile {
    RECT rect;
    mivoAction* action;  // the history's; valid until the history changes
  };
  const std::vector<Tile>& Tiles() const { return m_tiles; }
  // Lays out the tiles for the history (without drawing).
  void LayoutTiles();

 private:
  // The catalogue's name of the gadget's kind ("Most used calls").
  std::u16string KindName() const;
  // What an empty grid shows: its name and "None", centred.
  void DrawEmpty(HDC dc);

  std::vector<Tile> m_tiles;  // the tiles drawn last, in history order
  bool m_listening = false;   // registered with the actions store
};
