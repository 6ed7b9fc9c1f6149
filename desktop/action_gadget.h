// Shortcuts on the desktop. CmivoActionGadget holds one action and runs it
// through the core (so the start is counted in the actions history); it is
// what "Add to desktop" puts on the current desktop (type 10), and the
// catalogue's "Favorites" (20) and "Actions history" (21) are action
// gadgets holding a show-page action for those pages. It draws the action as
// a tile (icon with text), as the icon alone, or as a row across the page
// (details view). CmivoShowPageGadget (type 6, from older layouts) opens the
// favourites page and draws nothing but its design-mode frame.
#pragma once

#include <memory>

#include "actions/action.h"
#include "desktop/gadget.h"

// Display styles of the action gadget.
constexpr int kActionGadgetTile = 0;     // icon with text, 80·S square
constexpr int kActionGadgetIcon = 1;     // icon only, 35·S square
constexpr int kActionGadgetDetails = 2;  // a 48·S row across the page

class CmivoActionGadget : public CmivoGadget {
 public:
  CmivoActionGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId = 10);
  ~CmivoActionGadget() override;

  // Holds the action from now on (null: none).
  void SetAction(std::unique_ptr<mivoAction> action);
  mivoAction* Action() const { return m_action.get(); }
  int DisplayStyle() const { return m_style; }
  // Sets the style and takes the rectangle it draws (repainting).
  void SetDisplayStyle(int style);
  // The rectangle the style draws in, from the gadget's top-left corner.
  RECT StyleRect() const;

  void Paint(HDC dc) override;
  // Outside design mode: runs the action.
  void OnTap(UINT flags, POINT point) override;
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  // u32 display style, then the action's record.
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  const char* GadgetClassName() const override { return "CmivoActionGadget"; }
  std::u16string GetDumpText() override;

 private:
  mivoHeldAction m_action;                   // held from its creation or loading; may be empty
  std::int32_t m_style = kActionGadgetTile;  // kActionGadget*
};

class CmivoShowPageGadget : public CmivoGadget {
 public:
  CmivoShowPageGadget(mivoCore* core, CmivoDesktopPage* page) : CmivoGadget(core, page, 6) {}

  // Outside design mode: the favourites page.
  void OnTap(UINT flags, POINT point) override;
  const char* GadgetClassName() const override { return "CmivoShowPageGadget"; }
};
