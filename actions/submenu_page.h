// mivoSubMenuPage: the list page of a sub-menu action, one row per child
// action; a tap on a row runs the child through the core.
#pragma once

#include <string>

#include "ui/page_wnd.h"

class mivoActionSubMenu;

class mivoSubMenuPage : public CmivoPageWnd {
 public:
  mivoSubMenuPage(mivoCore* core, mivoActionSubMenu* owner);
  ~mivoSubMenuPage() override;

  // Rebuilds the rows from the owner's children (call when they change).
  void Refill();

  const char* PageClassName() const override { return "CmivoAdvListBoxPage"; }

 private:
  mivoActionSubMenu* m_owner;  // the sub-menu that owns this page
};
