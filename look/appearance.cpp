#include "look/appearance.h"

#include <algorithm>

#include "look/installer_window.h"
#include "look/look_settings.h"
#include "look/package.h"
#include "look/picture.h"
#include "look/skin_image_cache.h"
#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"
#include "platform/window/window.h"

int DisplayScale = 1;

namespace {

HFONT MakeFont(int height, int weight) {
  LOGFONTW font;
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfQuality = CLEARTYPE_QUALITY;
  font.lfPitchAndFamily = FF_SWISS;
  text::CopyTo(font.lfFaceName, LF_FACESIZE, u"Arial");
  return CreateFontIndirectW(&font);
}

template <typename Handle>
void Delete(Handle& object) {
  if (object) DeleteObject(object);
  object = nullptr;
}

}  // namespace

mivoAppearance::mivoAppearance(mivoLookSettings& settings, std::u16string programFolder, int screenHeight)
    : m_settings(settings), m_programFolder(std::move(programFolder)) {
  DisplayScale = screenHeight >= 480 ? 2 : 1;
  const int S = DisplayScale;
  m_wallpaperTheme.LoadWallpaperTheme(m_programFolder, m_settings.GetWallpaperTheme());
  m_colorTheme.LoadColorTheme(m_programFolder, m_settings.GetThemeName());
  ApplyColorTheme();
  GridColumns = 3;
  GridCellHeight = 85 * S;
  TitleFont = MakeFont(20 * S, FW_BOLD);
  LargeTitleFont = MakeFont(22 * S, FW_BOLD);
  SubtitleFont = MakeFont(14 * S, FW_BOLD);
  SmallFont = MakeFont(12 * S, FW_NORMAL);
  DarkBrush = CreateSolidBrush(RGB(60, 60, 60));
  GreyPen = CreatePen(PS_SOLID, 1, RGB(70, 70, 70));
}

mivoAppearance::~mivoAppearance() {
  if (m_skin) m_skin->SaveSkin();
  m_skin.reset();
  if (m_imagingFactory) m_imagingFactory->Release();
  m_imagingFactory = nullptr;
  m_wallpaperTheme.DropAllWallpapers();
  for (HFONT* f : {&TitleFont, &LargeTitleFont, &SubtitleFont, &SmallFont}) Delete(*f);
  for (HBRUSH* b : {&BackgroundBrush, &DarkBrush, &ThemeBrush5, &ThemeBrush7}) Delete(*b);
  for (HPEN* p : {&ThemePen4, &ThemePen6, &GreyPen}) Delete(*p);
}

COLORREF mivoAppearance::WatermarkColor() const {
  auto mix = [](int from, int to) { return static_cast<BYTE>(from + (to - from) * 40 / 255); };
  return RGB(mix(GetRValue(BackgroundColor), GetRValue(TextColor)),
             mix(GetGValue(BackgroundColor), GetGValue(TextColor)),
             mix(GetBValue(BackgroundColor), GetBValue(TextColor)));
}

void mivoAppearance::ApplyColorTheme() {
  const int S = DisplayScale;
  BackgroundColor = m_colorTheme.GetColor(1);
  TextColor = m_colorTheme.GetColor(2);
  SubTextColor = m_colorTheme.GetColor(3);
  Delete(ThemeBrush5);
  ThemeBrush5 = CreateSolidBrush(m_colorTheme.GetColor(5));
  Delete(ThemePen4);
  ThemePen4 = CreatePen(PS_SOLID, S, m_colorTheme.GetColor(4));
  Delete(ThemeBrush7);
  ThemeBrush7 = CreateSolidBrush(m_colorTheme.GetColor(7));
  Delete(ThemePen6);
  ThemePen6 = CreatePen(PS_SOLID, S, m_colorTheme.GetColor(6));
  // The background brush follows the theme too, or pages would keep painting
  // the old background until the next start.
  Delete(BackgroundBrush);
  BackgroundBrush = CreateSolidBrush(BackgroundColor);
  DropComposites();
}

void mivoAppearance::SetColorTheme(std::u16string_view name) {
  m_settings.SetThemeName(name);
  m_colorTheme.LoadColorTheme(m_programFolder, name);
  ApplyColorTheme();
}

void mivoAppearance::DropComposites() {
  if (!m_skin) return;
  for (const auto& image : m_skin->Images)
    if (image->Cache()) image->Cache()->DropComposites();
}

IImagingFactory* mivoAppearance::ImagingFactory() {
  if (!m_imagingFactoryTried) {
    m_imagingFactoryTried = true;
    if (FAILED(CreateImagingFactory(&m_imagingFactory))) m_imagingFactory = nullptr;
  }
  return m_imagingFactory;
}

mivoSkin* mivoAppearance::GetSkin() {
  if (!m_skin) {
    m_skin = std::make_unique<mivoSkin>(m_programFolder);
    m_skin->LoadSkin(m_settings.GetSkinName());
    if (m_skin->LegacyColors) {
      const auto& c = *m_skin->LegacyColors;
      BackgroundColor = c[0];
      TextColor = c[1];
      SubTextColor = c[2];
      LegacyColor4 = c[3];
      LegacyColor5 = c[4];
    }
  }
  return m_skin.get();
}

mivoSkinImage* mivoAppearance::GetSkinImage(std::u16string_view name) { return GetSkin()->FindOrAddImage(name); }

HBITMAP mivoAppearance::GetDesktopWallpaper(int desktop, bool landscape) {
  if (desktop < 1 || desktop > kMaxWallpaperDesktops) return nullptr;
  // A wallpaper fills the screen in its orientation, whatever size the picture has; one kept from
  // before the screen changed size is made again.
  const SIZE screen = window::GetScreenSize();
  const int longSide = std::max(screen.cx, screen.cy), shortSide = std::min(screen.cx, screen.cy);
  const int width = landscape ? longSide : shortSide, height = landscape ? shortSide : longSide;
  if (HBITMAP cached = m_wallpaperTheme.CachedWallpaper(desktop, landscape)) {
    BITMAP bm{};
    if (GetObjectW(cached, sizeof bm, &bm) && bm.bmWidth == width && bm.bmHeight == height) return cached;
    m_wallpaperTheme.DropCachedWallpaper(desktop, landscape);
  }
  const std::u16string path =
      m_settings.GetUserDesktopWallpaper(desktop, landscape)
          ? mivoWallpaperTheme::UserPicturePath(m_programFolder, desktop, landscape)
          : mivoWallpaperTheme::ThemePicturePath(m_programFolder, m_wallpaperTheme.Name, desktop, landscape);
  HBITMAP bitmap = look::LoadScreenPicture(path, width, height);
  if (bitmap) m_wallpaperTheme.SetCachedWallpaper(desktop, landscape, bitmap);
  return bitmap;
}

void mivoAppearance::ResetDesktopWallpaper(int desktop, bool landscape) {
  m_settings.SetUserDesktopWallpaper(desktop, landscape, false);
  m_wallpaperTheme.DropCachedWallpaper(desktop, landscape);
}

bool mivoAppearance::SetUserWallpaper(int desktop, bool landscape, std::u16string_view pictureFile) {
  if (desktop < 1 || desktop > kMaxWallpaperDesktops) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const std::u16string target = mivoWallpaperTheme::UserPicturePath(m_programFolder, desktop, landscape);
  fs::CreateDirectories(m_programFolder + u"UserWallpaper");
  // CopyFileW replaces an existing picture whole, so the old one is never
  // lost before the new one is complete.
  if (!CopyFileW(std::u16string(pictureFile).c_str(), target.c_str(), FALSE)) return false;
  m_settings.SetUserDesktopWallpaper(desktop, landscape, true);
  m_wallpaperTheme.DropCachedWallpaper(desktop, landscape);
  return true;
}

bool InstallDefaultSkin(mivoLookSettings& settings, std::u16string_view programFolder, int screenHeight,
                        const std::function<void(DWORD total, DWORD done)>& progress) {
  const bool vga = screenHeight >= 480;
  const std::u16string skins = std::u16string(programFolder) + u"Skins\\";
  const std::u16string name = vga ? u"Clear Horizon VGA" : u"Clear Horizon";
  const std::u16string other = vga ? u"Clear Horizon" : u"Clear Horizon VGA";
  const std::u16string skinFile = skins + name + u"\\" + name + u".msk";
  DeleteFileW((skins + other + u".minst").c_str());
  const std::u16string package = skins + name + u".minst";
  // The package goes only once its files are on the disk (below): with the
  // package gone and the skin there, an installation that was cut short just
  // after it is complete.
  if (GetFileAttributesW(package.c_str()) == INVALID_FILE_ATTRIBUTES &&
      GetFileAttributesW(skinFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
    settings.SetSkinName(name);
    settings.SetFinishInstallation(false);
    return true;
  }
  // The files are written whole and synced together once, not one by one; a
  // kill on the way leaves the package and the flag for the next start,
  // which writes them all again.
  fs::DurableBatch batch;
  const mivoPackageStatus status = progress ? InstallPackage(package, programFolder, progress)
                                            : InstallPackageWithProgress(package, programFolder);
  if (status != mivoPackageStatus::kOk || !batch.Sync()) {
    // Keep the package and the flag for the next start; still use the skin
    // when an earlier installation left it in place.
    if (GetFileAttributesW(skinFile.c_str()) != INVALID_FILE_ATTRIBUTES && settings.GetSkinName().empty())
      settings.SetSkinName(name);
    return false;
  }
  settings.SetSkinName(name);
  DeleteFileW(package.c_str());
  settings.SetFinishInstallation(false);
  return true;
}
