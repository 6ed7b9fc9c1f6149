// mivoSubMenuPage: the list page of a sub-menu action, one row per child
// action; a tap on a row runs the child through the core.
#pragma once

#include "ui/adv_list_box_page.h"

class mivoActionSubMenu;

class mivoSubMenuPage : public CmivoAdvListBoxPage {
 public:
  mivoSubMenuPage(mivoCore* core, mivoActionSubMenu* owner);
  ~mivoSubMenuPage() override;

  // Rebuilds the rows from the owner's children (call when they change).
  void Refill();

  std::u16string GetTitle(int param, int extra) override;
  std::u16string GetHelpText(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;

 private:
  mivoActionSubMenu* m_owner;  // the sub-menu that owns this page
};
