#include "actions/submenu_page.h"

#include "actions/action_kinds.h"

mivoSubMenuPage::mivoSubMenuPage(mivoCore* core, mivoActionSubMenu* owner) : CmivoPageWnd(core), m_owner(owner) {}

mivoSubMenuPage::~mivoSubMenuPage() = default;

void mivoSubMenuPage::Refill() {}

std::u16string mivoSubMenuPage::GetTitle() { return m_owner ? m_owner->Title() : std::u16string(); }
