#include "pages/page_catalogue.h"

#include "actions/actions.h"
#include "actions/actions_list_page.h"
#include "actions/favorites_page.h"
#include "actions/file_list_page.h"
#include "actions/info_pages.h"
#include "actions/main_menu_page.h"
#include "core/core.h"
#include "pages/battery_info_page.h"
#include "pages/control_panel_catalogue.h"
#include "pages/control_panel_page.h"
#include "pages/image_view_page.h"
#include "pages/memory_info_page.h"
#include "pages/programs_page.h"
#include "pages/running_apps_page.h"
#include "pages/settings_page.h"
#include "pages/system_info_page.h"
#include "pim/calendar_page.h"
#include "pim/call_log_page.h"
#include "pim/contact_details_page.h"
#include "pim/phone_page.h"
#include "pim/read_sms_page.h"
#include "pim/sms_items_page.h"
#include "pim/task_list_page.h"
#include "pim/write_sms_page.h"
#include "ui/look_pages/languages_page.h"

bool CatalogueHasPage(int index) {
  switch (index) {
    case 2: case 3: case 4: case 7: case 10: case 11: case 13: case 20: case 23: case 28:
      return false;
    default:
      return index >= 0 && index < kCataloguePages;
  }
}

// One line per slot that has a page.
CmivoPageWnd* CreateCataloguePage(mivoCore* core, int index) {
  if (!CatalogueHasPage(index)) return nullptr;
  switch (index) {
    case 0: return new CmivoMainMenuPage(core);
    case 1: return new CmivoAdvCallLogPage(core);
    case 5: return new CmivoReadSMSPage(core);
    case 6: return new CmivoWriteSMSPage(core);
    case 8: return new CmivoSMSItemsPage(core);
    case 9: return new CmivoAdvBatteryInfoPage(core);
    case 12: return new CmivoAdvSettingsPage(core);
    case 14: return new CmivoImageViewPage(core);
    case 15: return new CmivoFavoritesPage(core);
    case 16: return new CmivoAdvContactDetailsPage(core);
    case 17: return new CmivoFileListPage(core);
    case 18: return new CmivoAdvTaskListPage(core);
    case 19: return new CmivoPhonePageWnd(core);
    case 21:
    case 22: return new CmivoAdvProgramsPage(core);
    case 24: return new CmivoActionsListPage(core);
    case 25: return new CmivoSystemInfoPage(core);
    case 26: return new CmivoAdvRunningAppsPage(core);
    case 27: return new CmivoMemoryInfoPage(core);
    case 29:
    case 30:
    case 31: return new CmivoAdvControlPanelPage(core);
    case 32: return new CmivoCalendarPage(core);
    case 33: return new CmivoFAQPage(core);
    case 34: return new CmivoAboutPage(core);
    case 35: return new CmivoAdvLanguagesPage(core);
    default: return nullptr;
  }
}

void PrepareCataloguePage(CmivoPageWnd* page, int index) {
  if (!page) return;
  switch (index) {
    // The programs list and the root of the file system, read again at their next paint.
    case 21:
    case 22:
      if (auto* explorer = dynamic_cast<CmivoAdvProgramsPage*>(page)) {
        explorer->SetFolder(u"", index == 21 ? u"" : u"\\");
        explorer->SetFilter(u"");
      }
      break;
    // The three control-panel pages, each to its group on every fetch.
    case 29: page->SetPageParam(0, 0); break;
    case 30: page->SetPageParam(1, 0); break;
    case 31: page->SetPageParam(2, 0); break;
    default: break;
  }
}

mivoControlPanelCatalogue* CreateControlPanelCatalogue(mivoCore* core) {
  auto* catalogue = new mivoControlPanelCatalogue(core);
  if (mivoActions* actions = core->GetActions()) actions->SetAppletInquiry(catalogue);
  return catalogue;
}

void DestroyControlPanelCatalogue(mivoCore* core, mivoControlPanelCatalogue* catalogue) {
  if (!catalogue) return;
  if (mivoActions* actions = core->GetActions()) actions->SetAppletInquiry(nullptr);
  delete catalogue;
}

CmivoPageWnd* CreateFolderPage(mivoCore* core) { return new CmivoAdvProgramsPage(core); }
