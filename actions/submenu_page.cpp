#include "actions/submenu_page.h"

#include "actions/action_kinds.h"
#include "actions/action_list_item.h"

mivoSubMenuPage::mivoSubMenuPage(mivoCore* core, mivoActionSubMenu* owner)
    : CmivoAdvListBoxPage(core), m_owner(owner) {}

mivoSubMenuPage::~mivoSubMenuPage() { Clear(true); }

void mivoSubMenuPage::Refill() {
  if (!m_owner) {
    Clear(true);
    return;
  }
  // Asking for the children may first regain them (which refills): the rows
  // are made afterwards, once.
  const std::vector<mivoHeldAction>& children = m_owner->Children();
  Clear(true);
  SetTitle(m_owner->GetTitle());
  // The rows share the children with the sub-menu: a child stays while a row shows it.
  for (const mivoHeldAction& child : children) AddItem(new CmivoAdvListBoxActionItem(m_pCore, child.get()));
}

std::u16string mivoSubMenuPage::GetTitle(int, int) { return m_owner ? m_owner->GetTitle() : std::u16string(); }
std::u16string mivoSubMenuPage::GetHelpText(int, int) { return m_owner ? m_owner->GetHelpText() : std::u16string(); }
mivoSkinImage* mivoSubMenuPage::GetPageIcon(int, int) { return m_owner ? m_owner->Icon() : nullptr; }
