#include "actions/submenu_page.h"

#include "actions/action_kinds.h"

mivoSubMenuPage::mivoSubMenuPage(mivoCore* core, mivoActionSubMenu* owner) : CmivoPageWnd(core), m_owner(owner) {}

mivoSubMenuPage::~mivoSubMenuPage() = default;

void mivoSubMenuPage::Refill() {
  if (m_owner) SetTitle(m_owner->Title());
}
