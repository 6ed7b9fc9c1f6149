// The skin handler of a context menu: "Change icon" (or "Change icons") for
// the skin images of the thing held, which opens the skin editor on them.
#pragma once

#include <vector>

#include "ui/context_menu.h"

class CmivoContextMenuSkinHandler : public CmivoContextMenuHandler {
 public:
  CmivoContextMenuSkinHandler(mivoCore* core, std::vector<mivoSkinImage*> images);

  const std::vector<mivoSkinImage*>& Images() const { return m_images; }

  // The entry only when there are images and all are the current skin's
  // (images of a skin no longer loaded cannot be edited).
  void FillMenu(CmivoContextMenu* menu) override;
  bool GetMenuItemLook(const mivoContextMenuEntry& entry, mivoMenuItemLook* look) override;
  // One image: its file chooser; several: a page of just those images.
  bool OnMenuCommand(const mivoContextMenuEntry& entry) override;

 private:
  bool BelongToCurrentSkin() const;

  std::vector<mivoSkinImage*> m_images;  // not owned: the skin's own
};
