#include "pages/settings_items.h"

#include "actions/action_kinds.h"
#include "core/core.h"
#include "core/messages.h"
#include "core/page_ids.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/win32/text.h"
#include "platform/window/framework.h"
#include "ui/look_pages/look_pages.h"
#include "ui/look_pages/skin_pages.h"
#include "ui/page_wnd.h"

namespace {

constexpr DWORD kDefaultDesktops = 4;
constexpr DWORD kMostDesktops = 32;

}  // namespace

// ---- CmivoAdvSettingsItem ------------------------------------------------------------------

CmivoAdvSettingsItem::CmivoAdvSettingsItem(mivoCore* core, int helpId)
    : CmivoAdvListBoxTextWithHelp(core, u"", helpId ? GetString(helpId) : std::u16string()) {}

bool CmivoAdvSettingsItem::OnTap(UINT flags, int x, int y) {
  if (CmivoAdvListBoxTextWithHelp::OnTap(flags, x, y)) return true;
  Change();
  // The row may have gone meanwhile (a language page that ends the program
  // keeps it; nothing else takes rows away), so only the label changes here.
  Refresh();
  RepaintListBox();
  return true;
}

std::u16string CmivoAdvSettingsItem::OnOff(bool on) { return GetString(on ? IDS_SETTING_ON : IDS_SETTING_OFF); }

// ---- Toggles -------------------------------------------------------------------------------

CmivoAdvSettingsToggleItem::CmivoAdvSettingsToggleItem(mivoCore* core, int labelId, int helpId, Getter get,
                                                       Setter set)
    : CmivoAdvSettingsItem(core, helpId), m_labelId(labelId), m_get(get), m_set(set) {
  Refresh();
}

std::u16string CmivoAdvSettingsToggleItem::Label() {
  return text::Format(GetString(m_labelId), OnOff((m_pCore->Settings().*m_get)()));
}

void CmivoAdvSettingsToggleItem::Change() {
  const bool on = !(m_pCore->Settings().*m_get)();
  (m_pCore->Settings().*m_set)(on);
  Applied(on);
}

CmivoAdvSettingsAutoShowItem::CmivoAdvSettingsAutoShowItem(mivoCore* core)
    : CmivoAdvSettingsToggleItem(core, IDS_AUTO_SHOW_SETTING, IDS_AUTO_SHOW_HELP, &mivoSettingsStore::GetAutoShow,
                                 &mivoSettingsStore::SetAutoShow) {}

CmivoAdvSettingsInternalImageViewerItem::CmivoAdvSettingsInternalImageViewerItem(mivoCore* core)
    : CmivoAdvSettingsToggleItem(core, IDS_INTERNAL_IMAGE_VIEWER_SETTING, IDS_INTERNAL_IMAGE_VIEWER_HELP,
                                 &mivoSettingsStore::GetUseInternalImageViewer,
                                 &mivoSettingsStore::SetUseInternalImageViewer) {}

CmivoAdvSettingsFullScreenItem::CmivoAdvSettingsFullScreenItem(mivoCore* core)
    : CmivoAdvSettingsToggleItem(core, IDS_FULL_SCREEN_SETTING, IDS_FULL_SCREEN_HELP,
                                 &mivoSettingsStore::GetUseFullScreen, &mivoSettingsStore::SetUseFullScreen) {}

void CmivoAdvSettingsFullScreenItem::Applied(bool on) {
  // The frame takes the other layout at its next activation, which the new
  // mode sends through the queue; then it lays its windows out anew. This
  // page is not the root page, so full screen leaves room for the menu bar.
  m_pCore->SetScreenMode(on ? kScreenModeFullScreenMenu : kScreenModeStandard);
  CFrameWnd* frame = m_pCore->GetMainFrame();
  if (!frame || !frame->m_hWnd) return;
  mivoCore::PumpOneMessage();
  frame->SendMessage(WM_MIVO_RELAYOUT, 0, 0);
}

CmivoAdvSettingsAnimationsItem::CmivoAdvSettingsAnimationsItem(mivoCore* core)
    : CmivoAdvSettingsToggleItem(core, IDS_ANIMATIONS_SETTING, IDS_ANIMATIONS_HELP,
                                 &mivoSettingsStore::GetAnimationsEnabled, &mivoSettingsStore::SetAnimationsEnabled) {}

CmivoAdvSettingsAskBeforeExitItem::CmivoAdvSettingsAskBeforeExitItem(mivoCore* core)
    : CmivoAdvSettingsToggleItem(core, IDS_ASK_BEFORE_EXIT_SETTING, IDS_ASK_BEFORE_EXIT_HELP,
                                 &mivoSettingsStore::GetAskBeforeExit, &mivoSettingsStore::SetAskBeforeExit) {}

CmivoAdvSettingsAskBeforeMakeCallItem::CmivoAdvSettingsAskBeforeMakeCallItem(mivoCore* core)
    : CmivoAdvSettingsToggleItem(core, IDS_ASK_BEFORE_CALL_SETTING, IDS_ASK_BEFORE_CALL_HELP,
                                 &mivoSettingsStore::GetAskBeforeMakeCall, &mivoSettingsStore::SetAskBeforeMakeCall) {}

CmivoAdvSettingsAskBeforeExecuteFileItem::CmivoAdvSettingsAskBeforeExecuteFileItem(mivoCore* core)
    : CmivoAdvSettingsToggleItem(core, IDS_ASK_BEFORE_EXECUTE_SETTING, IDS_ASK_BEFORE_EXECUTE_HELP,
                                 &mivoSettingsStore::GetAskBeforeExecuteFile,
                                 &mivoSettingsStore::SetAskBeforeExecuteFile) {}

CmivoAdvSettingsAskBeforeControlPanelItem::CmivoAdvSettingsAskBeforeControlPanelItem(mivoCore* core)
    : CmivoAdvSettingsToggleItem(core, IDS_ASK_BEFORE_CPL_SETTING, IDS_ASK_BEFORE_CPL_HELP,
                                 &mivoSettingsStore::GetAskBeforeControlPanel,
                                 &mivoSettingsStore::SetAskBeforeControlPanel) {}

// ---- Language ------------------------------------------------------------------------------

CmivoAdvSettingsLanguageItem::CmivoAdvSettingsLanguageItem(mivoCore* core) : CmivoAdvSettingsItem(core, 0) {
  CmivoPageWnd* page = core->GetPage(kLanguagesPage);
  if (page) SetHelpText(page->GetHelpText(0, 0));
  Refresh();
}

std::u16string CmivoAdvSettingsLanguageItem::Label() {
  CmivoPageWnd* page = m_pCore->GetPage(kLanguagesPage);
  return page ? page->GetTitle(0, 0) : GetString(IDS_LANGUAGE);
}

void CmivoAdvSettingsLanguageItem::Change() {
  mivoActionShowPage open(m_pCore, kLanguagesPage, 0, 0);
  open.Execute();
}

// ---- Tap on contact ---------------------------------------------------------------------------

CmivoAdvSettingsTapOnContactItem::CmivoAdvSettingsTapOnContactItem(mivoCore* core)
    : CmivoAdvSettingsItem(core, IDS_TAP_ON_CONTACT_HELP) {
  Refresh();
}

std::u16string CmivoAdvSettingsTapOnContactItem::Label() {
  const DWORD value = m_pCore->Settings().GetTapOnContact();
  const std::u16string option = value == 1 ? GetString(IDS_SMART_CALL)
                                : value == 2 ? GetString(IDS_SHOW_CONTACT_INFO)
                                             : std::u16string();
  return GetString(IDS_TAP_ON_CONTACT_SETTING) + u" " + option;
}

void CmivoAdvSettingsTapOnContactItem::Change() {
  const DWORD value = m_pCore->Settings().GetTapOnContact();
  if (value == 1) m_pCore->Settings().SetTapOnContact(2);
  if (value == 2) m_pCore->Settings().SetTapOnContact(1);
}

// ---- Desktops count -------------------------------------------------------------------------

CmivoAdvSettingsNumberOfDesktopsItem::CmivoAdvSettingsNumberOfDesktopsItem(mivoCore* core)
    : CmivoAdvSettingsItem(core, IDS_DESKTOPS_COUNT_HELP) {
  Refresh();
}

DWORD CmivoAdvSettingsNumberOfDesktopsItem::Effective(DWORD stored) {
  return stored >= 1 && stored <= kMostDesktops ? stored : kDefaultDesktops;
}

std::u16string CmivoAdvSettingsNumberOfDesktopsItem::Label() {
  return text::Format(GetString(IDS_DESKTOPS_COUNT_SETTING), Effective(m_pCore->Settings().GetDesktopsCount()));
}

void CmivoAdvSettingsNumberOfDesktopsItem::Change() {
  DWORD next = Effective(m_pCore->Settings().GetDesktopsCount()) + 1;
  if (next > kMostDesktops) next = 1;
  m_pCore->Settings().SetDesktopsCount(next);
}

// ---- Skin settings ----------------------------------------------------------------------------

CmivoAdvSettingsSkinsItem::CmivoAdvSettingsSkinsItem(mivoCore* core)
    : CmivoAdvSettingsItem(core, IDS_SKIN_SETTINGS_HELP) {
  Refresh();
}

std::u16string CmivoAdvSettingsSkinsItem::Label() { return GetString(IDS_SKIN_SETTINGS); }

void CmivoAdvSettingsSkinsItem::Change() { m_pCore->ShowPage(look_pages::SkinsSettingsPage(m_pCore)); }
