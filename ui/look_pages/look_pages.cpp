#include "ui/look_pages/look_pages.h"

#include "core/core.h"
#include "ui/look_pages/choose_image_page.h"
#include "ui/look_pages/skin_pages.h"
#include "ui/look_pages/theme_pages.h"

namespace look_pages {

namespace {
template <typename Page>
Page* Named(mivoCore* core, const char* name) {
  if (!core) return nullptr;
  return static_cast<Page*>(core->GetNamedPage(name, [](mivoCore* c) -> CmivoPageWnd* { return new Page(c); }));
}
}  // namespace

CmivoSkinsSettingsPage* SkinsSettingsPage(mivoCore* core) {
  return Named<CmivoSkinsSettingsPage>(core, "skins settings");
}
CmivoAdvColorThemesPage* ColorThemesPage(mivoCore* core) {
  return Named<CmivoAdvColorThemesPage>(core, "color themes");
}
CmivoAdvWallpaperThemesPage* WallpaperThemesPage(mivoCore* core) {
  return Named<CmivoAdvWallpaperThemesPage>(core, "wallpaper themes");
}
CmivoSkinItemsPage* SkinItemsPage(mivoCore* core) { return Named<CmivoSkinItemsPage>(core, "skin images"); }
CmivoChooseSkinImageFilePage* ChooseSkinImageFilePage(mivoCore* core) {
  return Named<CmivoChooseSkinImageFilePage>(core, "choose image file");
}
CmivoAdvSkinsPage* SkinsPage(mivoCore* core) { return Named<CmivoAdvSkinsPage>(core, "skins"); }

void ChooseFileForImage(mivoCore* core, mivoSkinImage* image) {
  CmivoChooseSkinImageFilePage* page = ChooseSkinImageFilePage(core);
  if (!page || !image) return;
  page->SetImage(image);
  core->ShowPage(page);
}

void ChooseAmongImages(mivoCore* core, std::vector<mivoSkinImage*> images) {
  CmivoSkinItemsPage* page = Named<CmivoSkinItemsPage>(core, "change icons");
  if (!page || images.empty()) return;
  page->SetImages(std::move(images));
  core->ShowPage(page);
}

}  // namespace look_pages
