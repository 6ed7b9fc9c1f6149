#include "pages/battery_info_page.h"

#include <cstddef>

#include "actions/actions.h"
#include "core/core.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/device/power.h"
#include "platform/win32/text.h"
#include "ui/adv_list_box_items.h"

namespace {

// The bytes the platform must have filled for a field to be read: its end.
#define MIVO_REACH(field) \
  static_cast<DWORD>(offsetof(SYSTEM_POWER_STATUS_EX2, field) + sizeof(SYSTEM_POWER_STATUS_EX2::field))

std::u16string AcLineText(BYTE status) {
  switch (status) {
    case 0: return GetString(IDS_OFFLINE);
    case 1: return GetString(IDS_ONLINE);
    case 2: return GetString(IDS_BACKUP_POWER);
    default: return GetString(IDS_UNKNOWN);
  }
}

std::u16string BatteryFlagText(BYTE flag) {
  switch (flag) {
    case 1: return GetString(IDS_BATTERY_HIGH);
    case 2: return GetString(IDS_BATTERY_LOW);
    case 4: return GetString(IDS_BATTERY_CRITICAL);
    case 8: return GetString(IDS_BATTERY_CHARGING);
    case 128: return GetString(IDS_NO_BATTERY);
    default: return GetString(IDS_UNKNOWN);
  }
}

std::u16string ChemistryText(BYTE chemistry) {
  constexpr int kNames[] = {IDS_ALKALINE_BATTERY,        IDS_NICKEL_CADMIUM_BATTERY, IDS_NICKEL_METAL_HYDRIDE_BATTERY,
                            IDS_LITHIUM_ION_BATTERY,     IDS_LITHIUM_POLYMER_BATTERY, IDS_ZINC_AIR_BATTERY};
  return chemistry >= 1 && chemistry <= 6 ? GetString(kNames[chemistry - 1]) : GetString(IDS_UNKNOWN);
}

}  // namespace

CmivoAdvBatteryInfoPage::CmivoAdvBatteryInfoPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  m_title = GetTitle(0, 0);
  m_pPageIcon = GetPageIcon(0, 0);
  m_pStatus = new CmivoAdvListBoxNameValueListItem(core, GetString(IDS_BATTERY_INFO));
  AddItem(m_pStatus);
  AddItem(new CmivoAdvListBoxSimpleTextItem(core, GetString(IDS_BATTERY_INFO_MAY_BE_IRRELEVANT)));
}

std::u16string CmivoAdvBatteryInfoPage::GetTitle(int, int) { return GetString(IDS_BATTERY_INFO); }

std::u16string CmivoAdvBatteryInfoPage::GetHelpText(int, int) { return GetString(IDS_BATTERY_INFO_HELP); }

mivoSkinImage* CmivoAdvBatteryInfoPage::GetPageIcon(int, int) {
  mivoActions* actions = m_pCore->GetActions();
  return actions ? actions->SkinImage(u"battery_info_page") : nullptr;
}

std::vector<std::pair<std::u16string, std::u16string>> CmivoAdvBatteryInfoPage::Pairs(
    const SYSTEM_POWER_STATUS_EX2& status, DWORD length) {
  std::vector<std::pair<std::u16string, std::u16string>> pairs;
  // The record starts in its "unknown" state, so the line status always has a value.
  pairs.emplace_back(GetString(IDS_AC_LINE_STATUS),
                     AcLineText(length >= MIVO_REACH(ACLineStatus) ? status.ACLineStatus : AC_LINE_UNKNOWN));
  if (length >= MIVO_REACH(BatteryFlag)) {
    pairs.emplace_back(GetString(IDS_BATTERY_STATUS), BatteryFlagText(status.BatteryFlag));
  }
  if (length >= MIVO_REACH(BatteryLifePercent)) {
    pairs.emplace_back(GetString(IDS_BATTERY_LIFE_PERCENT),
                       status.BatteryLifePercent == BATTERY_PERCENTAGE_UNKNOWN
                           ? GetString(IDS_UNKNOWN)
                           : text::Format(u"%d%%", status.BatteryLifePercent));
  }
  if (length >= MIVO_REACH(BatteryVoltage)) {
    pairs.emplace_back(GetString(IDS_BATTERY_VOLTAGE), text::Format(u"%dmV", status.BatteryVoltage));
  }
  if (length >= MIVO_REACH(BatteryCurrent)) {
    pairs.emplace_back(GetString(IDS_BATTERY_CURRENT),
                       text::Format(u"%dmA", static_cast<LONG>(status.BatteryCurrent)));
  }
  if (length >= MIVO_REACH(BatteryTemperature)) {
    // Kept in tenths of a degree; shown in whole degrees, rounded.
    const LONG tenths = static_cast<LONG>(status.BatteryTemperature);
    const LONG degrees = tenths >= 0 ? (tenths + 5) / 10 : (tenths - 5) / 10;
    pairs.emplace_back(GetString(IDS_BATTERY_TEMPERATURE), text::Format(u"%dC", degrees));
  }
  if (length >= MIVO_REACH(BatteryChemistry)) {
    pairs.emplace_back(GetString(IDS_BATTERY_CHEMISTRY), ChemistryText(status.BatteryChemistry));
  }
  return pairs;
}

void CmivoAdvBatteryInfoPage::Refresh() {
  SYSTEM_POWER_STATUS_EX2 status;
  const DWORD length = GetSystemPowerStatusEx2(&status, sizeof status, TRUE);
  m_pStatus->ClearPairs();
  for (const auto& [name, value] : Pairs(status, length)) m_pStatus->AddPair(name, value);
  InvalidateList();
}

void CmivoAdvBatteryInfoPage::OnPageShown() {
  Refresh();
  if (m_hWnd) SetTimer(kRefreshTimer, kRefreshMs);
}

void CmivoAdvBatteryInfoPage::OnPageHidden() {
  if (m_hWnd) KillTimer(kRefreshTimer);
}

LRESULT CmivoAdvBatteryInfoPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kRefreshTimer) {
    Refresh();
    return 0;
  }
  return CmivoAdvListBoxPage::WindowProc(message, wParam, lParam);
}
