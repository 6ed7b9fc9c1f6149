#include "pages/system_info_page.h"

#include <memory>

#include "actions/action_kinds.h"
#include "actions/action_list_item.h"
#include "actions/actions.h"
#include "core/core.h"
#include "core/settings.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "pages/battery_info_page.h"
#include "pages/memory_info_page.h"
#include "platform/device/power.h"
#include "platform/device/system.h"
#include "platform/win32/text.h"
#include "ui/adv_list_box_items.h"

namespace {

// The information pages the rows open, in order: memory, battery, running programs.
constexpr int kInfoPages[] = {27, 9, 26};

}  // namespace

CmivoSystemInfoPage::CmivoSystemInfoPage(mivoCore* core) : CmivoAdvListBoxPage(core) {
  m_title = GetTitle(0, 0);
  m_pPageIcon = GetPageIcon(0, 0);
  m_pSummary = new CmivoAdvListBoxNameValueListItem(core, GetString(IDS_SYSTEM_INFO));
  AddItem(m_pSummary);
  for (int page : kInfoPages) {
    AddItem(new CmivoAdvListBoxActionItem(core, std::make_unique<mivoActionShowPage>(core, page, 0, 0)));
  }
}

std::u16string CmivoSystemInfoPage::GetTitle(int, int) { return GetString(IDS_SYSTEM_INFO); }

mivoSkinImage* CmivoSystemInfoPage::GetPageIcon(int, int) {
  mivoActions* actions = m_pCore->GetActions();
  return actions ? actions->SkinImage(u"system_info_page") : nullptr;
}

void CmivoSystemInfoPage::OnPageShown() {
  m_pSummary->ClearPairs();
  m_pSummary->AddPair(GetString(IDS_MIVO), mivoCore::GetVersionText());
  m_pSummary->AddPair(GetString(IDS_LANGUAGE), m_pCore->Settings().GetLanguage());
  MEMORYSTATUS memory;
  GlobalMemoryStatus(&memory);
  m_pSummary->AddPair(GetString(IDS_TOTAL_PHYSICAL_MEMORY), MemorySizeText(memory.dwTotalPhys));
  m_pSummary->AddPair(GetString(IDS_FREE_PHYSICAL_MEMORY), MemorySizeText(memory.dwAvailPhys));
  // The battery's first lines, as the battery page shows them.
  SYSTEM_POWER_STATUS_EX2 power;
  const DWORD length = GetSystemPowerStatusEx2(&power, sizeof power, TRUE);
  const auto pairs = CmivoAdvBatteryInfoPage::Pairs(power, length);
  for (std::size_t i = 0; i < pairs.size() && i < 3; ++i) m_pSummary->AddPair(pairs[i].first, pairs[i].second);
  InvalidateList();
}
