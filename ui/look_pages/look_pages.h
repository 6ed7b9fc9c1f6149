// The look pages as the rest of the program opens them: each is one page
// for the whole run, made on first request and kept by the core.
#pragma once

#include <vector>

class CmivoAdvColorThemesPage;
class CmivoAdvSkinsPage;
class CmivoAdvWallpaperThemesPage;
class CmivoChooseSkinImageFilePage;
class CmivoSkinItemsPage;
class CmivoSkinsSettingsPage;
class mivoCore;
class mivoSkinImage;

namespace look_pages {

CmivoSkinsSettingsPage* SkinsSettingsPage(mivoCore* core);
CmivoAdvColorThemesPage* ColorThemesPage(mivoCore* core);
CmivoAdvWallpaperThemesPage* WallpaperThemesPage(mivoCore* core);
CmivoSkinItemsPage* SkinItemsPage(mivoCore* core);
CmivoChooseSkinImageFilePage* ChooseSkinImageFilePage(mivoCore* core);
CmivoAdvSkinsPage* SkinsPage(mivoCore* core);

// Shows the file chooser for one image of the current skin.
void ChooseFileForImage(mivoCore* core, mivoSkinImage* image);
// Shows a page of just these images (the pictures of one thing held), from
// which each can be changed.
void ChooseAmongImages(mivoCore* core, std::vector<mivoSkinImage*> images);

}  // namespace look_pages
