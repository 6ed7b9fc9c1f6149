// CmivoAdvBatteryInfoPage: "Battery info" (catalogue page 9), the device's
// power status as a card of names and values, refreshed every two seconds
// while the page is shown, with a note that the figures may be irrelevant.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/file_defs.h"
#include "ui/adv_list_box_page.h"

class CmivoAdvListBoxNameValueListItem;

class CmivoAdvBatteryInfoPage : public CmivoAdvListBoxPage {
 public:
  static constexpr UINT_PTR kRefreshTimer = 1;
  static constexpr UINT kRefreshMs = 2000;

  explicit CmivoAdvBatteryInfoPage(mivoCore* core);

  std::u16string GetTitle(int param, int extra) override;
  std::u16string GetHelpText(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  // Showing refreshes at once and starts the timer; hiding stops it.
  void OnPageShown() override;
  void OnPageHidden() override;
  const char* PageClassName() const override { return "CmivoAdvBatteryInfoPage"; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Reads the power status into the card.
  void Refresh();

  // The pairs for a status of which `length` bytes were filled: each field
  // only when the filled bytes reach it.
  static std::vector<std::pair<std::u16string, std::u16string>> Pairs(const SYSTEM_POWER_STATUS_EX2& status,
                                                                      DWORD length);

 private:
  CmivoAdvListBoxNameValueListItem* m_pStatus;  // the card; owned by the list
};
