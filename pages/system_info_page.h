// CmivoSystemInfoPage: "System info" (catalogue page 25), the device at a
// glance: a card with the program's version and language, the memory and
// the battery, and below it the three information pages, each a row that
// opens it.
#pragma once

#include "ui/adv_list_box_page.h"

class CmivoAdvListBoxNameValueListItem;

class CmivoSystemInfoPage : public CmivoAdvListBoxPage {
 public:
  explicit CmivoSystemInfoPage(mivoCore* core);

  std::u16string GetTitle(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  // The card is read again at every showing.
  void OnPageShown() override;
  const char* PageClassName() const override { return "CmivoSystemInfoPage"; }

 private:
  CmivoAdvListBoxNameValueListItem* m_pSummary;  // the card; owned by the list
};
