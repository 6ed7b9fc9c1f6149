// CmivoMemoryGadget (type 19): the memory load in percent beside a memory
// chip, read every 15 seconds while the desktop shows (there is no
// notification of it). The design mode chooses the small or the large
// picture; the choice is stored as one byte after the text style.
#pragma once

#include "desktop/status_gadget.h"

class CmivoMemoryGadget : public CmivoStatusGadget {
 public:
  CmivoMemoryGadget(mivoCore* core, CmivoDesktopPage* page);

  // Polls every 15 seconds, and reads at once.
  void OnActivate() override;
  // "%d%%" of the memory load; a repaint only when it changed.
  void OnTimer(bool first) override;
  // "Small memory icon" or "Large memory icon" first, then the text options.
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  const char* GadgetClassName() const override { return "CmivoMemoryGadget"; }

  bool LargeIcon() const { return m_largeIcon; }

 protected:
  mivoSkinImage* CurrentImage() override;

 private:
  bool m_largeIcon = false;  // stored; false: the small picture
};
