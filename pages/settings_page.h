// CmivoAdvSettingsPage: "mivo Settings" (catalogue page 12), the editor of
// the program's own settings: one row per setting, in a fixed order, each
// with its help text; a tap changes the setting and writes it at once.
#pragma once

#include "ui/adv_list_box_page.h"

class CmivoAdvSettingsPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoAdvSettingsPage(mivoCore* core);

  std::u16string GetTitle(int param, int extra) override;     // "mivo"
  std::u16string GetHelpText(int param, int extra) override;  // what its menu entry says
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  // The labels read their settings again: another program may have changed them.
  void OnPageShown() override;
  const char* PageClassName() const override { return "CmivoAdvSettingsPage"; }
};
