#include "pages/page_catalogue.h"

#include "actions/actions_list_page.h"
#include "actions/favorites_page.h"
#include "actions/file_list_page.h"
#include "actions/info_pages.h"
#include "actions/main_menu_page.h"
#include "pages/pending_page.h"
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

// One line per slot whose page is built; the others show a pending page
// with the slot's title and icon until theirs comes.
CmivoPageWnd* CreateCataloguePage(mivoCore* core, int index) {
  if (!CatalogueHasPage(index)) return nullptr;
  switch (index) {
    case 0: return new CmivoMainMenuPage(core);
    case 1: return new CmivoAdvCallLogPage(core);
    case 5: return new CmivoReadSMSPage(core);
    case 6: return new CmivoWriteSMSPage(core);
    case 8: return new CmivoSMSItemsPage(core);
    case 15: return new CmivoFavoritesPage(core);
    case 16: return new CmivoAdvContactDetailsPage(core);
    case 17: return new CmivoFileListPage(core);
    case 18: return new CmivoAdvTaskListPage(core);
    case 19: return new CmivoPhonePageWnd(core);
    case 24: return new CmivoActionsListPage(core);
    case 32: return new CmivoCalendarPage(core);
    case 33: return new CmivoFAQPage(core);
    case 34: return new CmivoAboutPage(core);
    case 35: return new CmivoAdvLanguagesPage(core);
    default: return new CmivoPendingPage(core, index);
  }
}

void PrepareCataloguePage(CmivoPageWnd* page, int index) {
  if (!page) return;
  switch (index) {
    // The three control-panel pages, each to its group on every fetch.
    case 29: page->SetPageParam(0, 0); break;
    case 30: page->SetPageParam(1, 0); break;
    case 31: page->SetPageParam(2, 0); break;
    default: break;
  }
}
