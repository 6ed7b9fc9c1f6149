#include "pages/settings_page.h"

#include "actions/actions.h"
#include "core/core.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pages/settings_items.h"

CmivoAdvSettingsPage::CmivoAdvSettingsPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  m_title = GetString(IDS_MIVO_SETTINGS);
  m_pPageIcon = GetPageIcon(0, 0);
  AddItem(new CmivoAdvSettingsLanguageItem(core));
  AddItem(new CmivoAdvSettingsAutoShowItem(core));
  AddItem(new CmivoAdvSettingsInternalImageViewerItem(core));
  AddItem(new CmivoAdvSettingsFullScreenItem(core));
  AddItem(new CmivoAdvSettingsAnimationsItem(core));
  AddItem(new CmivoAdvSettingsTapOnContactItem(core));
  AddItem(new CmivoAdvSettingsNumberOfDesktopsItem(core));
  AddItem(new CmivoAdvSettingsAskBeforeExitItem(core));
  AddItem(new CmivoAdvSettingsAskBeforeMakeCallItem(core));
  AddItem(new CmivoAdvSettingsAskBeforeExecuteFileItem(core));
  AddItem(new CmivoAdvSettingsAskBeforeControlPanelItem(core));
  AddItem(new CmivoAdvSettingsSkinsItem(core));
}

std::u16string CmivoAdvSettingsPage::GetTitle(int, int) { return GetString(IDS_MIVO); }

std::u16string CmivoAdvSettingsPage::GetHelpText(int, int) { return GetString(IDS_MIVO_HELP); }

mivoSkinImage* CmivoAdvSettingsPage::GetPageIcon(int, int) {
  mivoActions* actions = m_pCore->GetActions();
  return actions ? actions->SkinImage(u"settings_mivo_page") : nullptr;
}

void CmivoAdvSettingsPage::OnPageShown() {
  for (int i = 0; i < GetItemCount(); ++i) {
    if (auto* row = dynamic_cast<CmivoAdvSettingsItem*>(GetItem(i))) row->Refresh();
  }
}
