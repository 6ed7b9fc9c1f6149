#include "pages/page_catalogue.h"

#include "actions/file_list_page.h"
#include "actions/main_menu_page.h"
#include "pages/pending_page.h"

bool CatalogueHasPage(int index) {
  switch (index) {
    case 2: case 3: case 4: case 7: case 10: case 11: case 13: case 20: case 23: case 28:
      return false;
    default:
      return index >= 0 && index < kCataloguePages;
  }
}

CmivoPageWnd* CreateCataloguePage(mivoCore* core, int index) {
  if (!CatalogueHasPage(index)) return nullptr;
  switch (index) {
    case 0: return new CmivoMainMenuPage(core);
    case 17: return new CmivoFileListPage(core);
    default: return new CmivoPendingPage(core, index);
  }
}

void PrepareCataloguePage(CmivoPageWnd* page, int index) {}
