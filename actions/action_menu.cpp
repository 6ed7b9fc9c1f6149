// The tap-and-hold entries an action adds for itself: a file's operations,
// a number's call and SMS entries.
#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "actions/menu_handlers.h"
#include "actions/services.h"
#include "core/core.h"

namespace {

// The contact that owns a number, when the contact store knows one.
std::uint32_t OwnerOid(mivoCore* core, const std::u16string& number) {
  mivoContactDirectory* contacts = core && core->GetActions() ? core->GetActions()->Contacts() : nullptr;
  int kind = 0;
  mivoContactInfo* contact = contacts && !number.empty() ? contacts->FindContactByNumber(number, &kind) : nullptr;
  return contact ? contact->Oid() : 0;
}

}  // namespace

void mivoActionMakeCall::AddContextMenuHandlers(CmivoContextMenu* menu) {
  menu->AddMenuHandler(
      std::make_unique<CmivoContextMenuPhoneNumberHandler>(m_pCore, m_number, OwnerOid(m_pCore, m_number)));
}

void mivoActionWriteSMS::AddContextMenuHandlers(CmivoContextMenu* menu) {
  if (m_number.empty()) return;
  menu->AddMenuHandler(
      std::make_unique<CmivoContextMenuPhoneNumberHandler>(m_pCore, m_number, OwnerOid(m_pCore, m_number)));
}

void mivoActionExecuteFile::AddContextMenuHandlers(CmivoContextMenu* menu) {
  menu->AddMenuHandler(std::make_unique<CmivoContextMenuFileHandler>(m_pCore, m_path, DisplayName(), IsFolder()));
}
