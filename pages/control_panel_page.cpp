#include "pages/control_panel_page.h"

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pages/control_panel_catalogue.h"
#include "platform/gdi/gdi.h"
#include "ui/adv_list_box.h"

namespace {

constexpr int kGroupTitles[] = {IDS_PERSONAL, IDS_SYSTEM, IDS_CONNECTIONS};
constexpr int kGroupHelps[] = {IDS_PERSONAL_HELP, IDS_SYSTEM_HELP, IDS_CONNECTIONS_HELP};
constexpr const char16_t* kGroupIcons[] = {u"settings_personal_page", u"settings_system_page",
                                           u"settings_connections_page"};
constexpr int kTabHeight = 40;  // ·S, one sub-row per tab

bool ValidGroup(int group) { return group >= 0 && group <= 2; }

struct AppletTabs {
  int applet;
  std::vector<int> tabs;
};
const std::vector<AppletTabs>& TabTable() {
  static const std::vector<AppletTabs> table = {
      {2, {IDS_IDENTIFICATION, IDS_NOTES_TAB, IDS_OPTIONS}},
      {3, {IDS_BATTERY_TAB, IDS_ADVANCED, IDS_USB}},
      {4, {IDS_MAIN, IDS_STORAGE_CARD, IDS_RUNNING_PROGRAMS}},
      {7, {IDS_GENERAL_TAB, IDS_CLEAR_TYPE, IDS_TEXT_SIZE_TAB}},
      {8, {IDS_INPUT_METHOD, IDS_WORD_COMPLETION_TAB, IDS_OPTIONS}},
      {9, {IDS_SOUNDS, IDS_NOTIFICATIONS}},
      {12, {IDS_PROGRAM_BUTTONS, IDS_UP_DOWN_CONTROLS, IDS_LOCK}},
      {13, {IDS_APPEARANCE, IDS_ITEMS}},
      {18, {IDS_REGION, IDS_NUMBER, IDS_CURRENCY, IDS_TIME, IDS_DATE_TAB}},
      {19, {IDS_TASK, IDS_ADVANCED}},
      {20, {IDS_PHONE_TAB, IDS_SERVICES, IDS_NETWORK, IDS_GPRS, IDS_CSD, IDS_MORE}},
      {22, {IDS_PERSONAL_TAB, IDS_ROOT_TAB}},
      {23, {IDS_MODE, IDS_DEVICES_TAB, IDS_COM_PORTS}},
  };
  return table;
}

}  // namespace

// ---- CmivoAdvControlPanelPage -------------------------------------------------------------

CmivoAdvControlPanelPage::CmivoAdvControlPanelPage(mivoCore* core) : CmivoAdvListBoxPage(core) { SetPageParam(0, 0); }

void CmivoAdvControlPanelPage::SetPageParam(int param, int extra) {
  m_group = param;
  SetTitle(GetTitle(param, extra));
  m_pPageIcon = GetPageIcon(param, extra);
}

std::u16string CmivoAdvControlPanelPage::GetTitle(int param, int) {
  return GetString(ValidGroup(param) ? kGroupTitles[param] : IDS_ERROR);
}

std::u16string CmivoAdvControlPanelPage::GetHelpText(int param, int) {
  return ValidGroup(param) ? GetString(kGroupHelps[param]) : std::u16string();
}

mivoSkinImage* CmivoAdvControlPanelPage::GetPageIcon(int param, int) {
  mivoActions* actions = m_pCore->GetActions();
  return ValidGroup(param) && actions ? actions->SkinImage(kGroupIcons[param]) : nullptr;
}

void CmivoAdvControlPanelPage::CollectImages(std::vector<mivoSkinImage*>& images) {
  if (mivoSkinImage* icon = GetPageIcon(m_group, 0)) images.push_back(icon);
}

void CmivoAdvControlPanelPage::OnPageShown() {
  // The rows are made once; a page told to show another group (a stored
  // page action with other parameters) makes them again for that group.
  if (m_filledGroup == m_group) return;
  m_filledGroup = m_group;
  Clear(true);
  mivoControlPanelCatalogue* catalogue = m_pCore->GetControlPanelCatalogue();
  if (!catalogue) return;
  const int count = catalogue->GetCount();
  for (int i = 0; i < count; ++i) {
    mivoControlPanelCatalogue::Entry entry;
    if (!catalogue->GetEntry(i, &entry) || static_cast<int>(entry.group) != m_group) continue;
    auto action = std::make_unique<mivoActionControlPanel>(m_pCore, static_cast<int>(entry.index),
                                                           static_cast<int>(entry.data));
    AddItem(new CmivoAdvListBoxControlPanelItem(m_pCore, std::move(action)));
  }
}

// ---- CmivoAdvListBoxControlPanelItem ------------------------------------------------------

CmivoAdvListBoxControlPanelItem::CmivoAdvListBoxControlPanelItem(mivoCore* core, std::unique_ptr<mivoAction> action)
    : CmivoAdvListBoxActionItem(core, std::move(action)), m_appletIndex(-1) {
  if (auto* applet = dynamic_cast<mivoActionControlPanel*>(Action())) m_appletIndex = applet->AppletIndex();
  m_tabs = TabsOf(m_appletIndex);
  // The expansion holds the tabs, not a help text.
  m_hasHelp = false;
  SetExtraHeight(static_cast<int>(m_tabs.size()) * kTabHeight * DisplayScale);
}

std::vector<int> CmivoAdvListBoxControlPanelItem::TabsOf(int appletIndex) {
  for (const AppletTabs& entry : TabTable())
    if (entry.applet == appletIndex) return entry.tabs;
  return {};
}

int CmivoAdvListBoxControlPanelItem::TabAt(int y) const {
  if (!m_expanded || m_tabs.empty() || !m_pListBox) return -1;
  const RECT row = m_pListBox->GetItemRect(this);
  const int top = row.top + m_baseHeight - 5;  // where the card's expansion starts
  const int step = kTabHeight * DisplayScale;
  if (y < top || y >= top + step * static_cast<int>(m_tabs.size())) return -1;
  return (y - top) / step;
}

void CmivoAdvListBoxControlPanelItem::RunTab(int tab) {
  if (tab < 0 || tab >= static_cast<int>(m_tabs.size())) return;
  // A new action for the tab, run and counted, then let go.
  mivoActionControlPanel action(m_pCore, m_appletIndex, tab);
  m_pCore->RunAction(&action);
}

bool CmivoAdvListBoxControlPanelItem::OnTap(UINT flags, int x, int y) {
  if (CmivoAdvListBoxSideButtonItem::OnTap(flags, x, y)) return true;
  if (const int tab = TabAt(y); tab >= 0) {
    RunTab(tab);
    return true;
  }
  if (m_action) m_pCore->RunAction(m_action.get());
  return true;
}

bool CmivoAdvListBoxControlPanelItem::OnKey(UINT vk) {
  if (vk != VK_RETURN) return CmivoAdvListBoxActionItem::OnKey(vk);
  if (m_action) m_pCore->RunAction(m_action.get());
  return true;
}

bool CmivoAdvListBoxControlPanelItem::OnSideButton(UINT, int, int) {
  SetExpanded(!m_expanded);
  return true;
}

void CmivoAdvListBoxControlPanelItem::DrawExpanded(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {
  mivoAppearance* look = Look();
  if (!look) return;
  const int s = DisplayScale;
  const HGDIOBJ oldFont = SelectObject(dc, look->TitleFont);
  const COLORREF oldColor = SetTextColor(dc, look->TextColor);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const HGDIOBJ oldPen = SelectObject(dc, IsSelected() ? look->ThemePen6 : look->ThemePen4);
  // The expansion starts where the card's own content ends; the sub-rows
  // stand 10·S in from the row's edge (the expansion is 5·S in already).
  const int top = rect.top;
  const int step = kTabHeight * s;
  for (std::size_t k = 0; k < m_tabs.size(); ++k) {
    const int y = top + static_cast<int>(k) * step;
    RECT text{rect.left + 5 * s, y, rect.right, y + step};
    const std::u16string label = u"\u25CF  " + GetString(m_tabs[k]);
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    // A line under each sub-row; the card's own edge closes the last one.
    if (k + 1 == m_tabs.size()) break;
    MoveToEx(dc, rect.left + 5 * s, y + step - 1, nullptr);
    LineTo(dc, rect.right, y + step - 1);
  }
  SelectObject(dc, oldPen);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, oldFont);
}

void CmivoAdvListBoxControlPanelItem::Describe(mivoRowText* out) const {
  CmivoAdvListBoxActionItem::Describe(out);
  // The state dump shows the tabs where a help text would be.
  out->help.clear();
  for (int id : m_tabs) out->help += (out->help.empty() ? u"" : u"\n") + GetString(id);
}
