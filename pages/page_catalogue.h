// The page catalogue: the 36 page slots every action, gadget and page names
// pages by. The core keeps the pages (made on first request, kept until the
// program ends); this file knows which class each index makes and what each
// fetch sets.
#pragma once

class CmivoPageWnd;
class mivoControlPanelCatalogue;
class mivoCore;

constexpr int kCataloguePages = 36;

// Whether the index has a page class (2, 3, 4, 7, 10, 11, 13, 20, 23 and 28
// do not, nor does anything outside 0..35).
bool CatalogueHasPage(int index);
// A new page of the index's class, or null.
CmivoPageWnd* CreateCataloguePage(mivoCore* core, int index);
// What every fetch sets, also on a page that existed already (the programs
// pages' folder, the control-panel pages' group).
void PrepareCataloguePage(CmivoPageWnd* page, int index);

// The stores and pages the core makes for the content pages:
// the control-panel catalogue (made on the core's first request; it
// registers itself with the actions for their applet names and icons, and
// goes with DestroyControlPanelCatalogue), and the page a run-file action
// opens a folder in (the file explorer's page).
mivoControlPanelCatalogue* CreateControlPanelCatalogue(mivoCore* core);
void DestroyControlPanelCatalogue(mivoCore* core, mivoControlPanelCatalogue* catalogue);
CmivoPageWnd* CreateFolderPage(mivoCore* core);
