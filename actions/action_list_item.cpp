#include "actions/action_list_item.h"

#include "actions/menu_handlers.h"
#include "core/core.h"
#include "look/appearance.h"

CmivoAdvListBoxActionItem::CmivoAdvListBoxActionItem(mivoCore* core, std::unique_ptr<mivoAction> action)
    : CmivoAdvListBoxItemWithHelp(core), CmivoContextMenu(core), m_action(std::move(action)) {
  if (m_action) SetHelpText(m_action->GetHelpText());
}

CmivoAdvListBoxActionItem::CmivoAdvListBoxActionItem(mivoCore* core, mivoAction* action)
    : CmivoAdvListBoxItemWithHelp(core), CmivoContextMenu(core) {
  m_action.Reset(action);
  if (m_action) SetHelpText(m_action->GetHelpText());
}

bool CmivoAdvListBoxActionItem::OnTap(UINT flags, int x, int y) {
  if (CmivoAdvListBoxItemWithHelp::OnTap(flags, x, y)) return true;
  if (m_action && m_pCore) m_pCore->RunAction(m_action.get());
  return true;
}

bool CmivoAdvListBoxActionItem::OnTapAndHold(int x, int y) {
  if (!m_action) return false;
  ClearMenu();
  AddMenuHandler(std::make_unique<CmivoContextMenuActionHandler>(m_pCore, *m_action));
  ShowMenu();
  return true;
}

void CmivoAdvListBoxActionItem::DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  if (m_action) m_action->Draw(dc, rect, kActionStyleRow, IsSelected() ? kSkinDrawOverColor7 : kSkinDrawOverColor5);
}

void CmivoAdvListBoxActionItem::Describe(mivoRowText* out) const {
  if (!m_action) return;
  out->text = m_action->GetTitle();
  out->help = m_helpText;
}

CmivoAdvListBoxFAQItem::CmivoAdvListBoxFAQItem(mivoCore* core, const std::u16string& question,
                                               const std::u16string& answer)
    : CmivoAdvListBoxTextWithHelp(core, question, answer) {}

bool CmivoAdvListBoxFAQItem::OnTap(UINT flags, int x, int y) {
  if (CmivoAdvListBoxTextWithHelp::OnTap(flags, x, y)) return true;
  SetExpanded(!IsExpanded());
  return true;
}
