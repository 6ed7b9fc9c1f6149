// CmivoSwitchDesktopGadget (type 15, from older layouts): an area of the
// desktop with neither picture nor text that leads to one of the first four
// desktops. Its design-mode menu chooses the desktop ("Switch to desktop",
// then "Desktop 1" to "Desktop 4"); the choice is stored as one byte after
// the text style (0xFF: none). A tap shows the chosen desktop; without a
// choice it is the general tap. In design mode it names its desktop, so the
// invisible area can be found.
#pragma once

#include <memory>

#include "desktop/icon_text_gadget.h"

class CmivoDesktopMenuPage;

class CmivoSwitchDesktopGadget : public CmivoIconTextGadget {
 public:
  CmivoSwitchDesktopGadget(mivoCore* core, CmivoDesktopPage* page);
  // The owned menu page goes with the gadget.
  ~CmivoSwitchDesktopGadget() override;

  // In design mode the chosen desktop's name inside the frame.
  void Paint(HDC dc) override;
  void OnTap(UINT flags, POINT point) override;
  // "Switch to desktop" first, then the text options.
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  const char* GadgetClassName() const override { return "CmivoSwitchDesktopGadget"; }

  // 0..3, or -1 for none.
  int TargetDesktop() const { return m_target; }

 private:
  int m_target = -1;                                    // stored as one byte; -1 (0xFF) none
  std::unique_ptr<CmivoDesktopMenuPage> m_pTargetPage;  // the four desktops, made on first use
};
