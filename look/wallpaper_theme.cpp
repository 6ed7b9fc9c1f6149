#include "look/wallpaper_theme.h"

#include "look/archive.h"
#include "look/device_files.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/text.h"

mivoWallpaperTheme::mivoWallpaperTheme() = default;

mivoWallpaperTheme::~mivoWallpaperTheme() { DropAllWallpapers(); }

std::u16string mivoWallpaperTheme::FilePath(std::u16string_view programFolder, std::u16string_view name) {
  std::u16string path(programFolder);
  path += u"Wallpapers\\";
  path += name;
  path += u"\\";
  path += name;
  path += u".mwt";
  return path;
}

std::u16string mivoWallpaperTheme::ThemePicturePath(std::u16string_view programFolder, std::u16string_view name,
                                                    int desktop, bool landscape) {
  return text::Format(u"%s\\Wallpapers\\%s\\desktop%d%s.jpg", programFolder, name, desktop,
                      landscape ? u"_horz" : u"");
}

std::u16string mivoWallpaperTheme::UserPicturePath(std::u16string_view programFolder, int desktop, bool landscape) {
  return text::Format(u"%s\\UserWallpaper\\desktop%d%s.jpg", programFolder, desktop, landscape ? u"_horz" : u"");
}

bool mivoWallpaperTheme::LoadWallpaperTheme(std::u16string_view programFolder, std::u16string_view name) {
  Name = std::u16string(name);
  std::vector<std::uint8_t> bytes;
  if (!look::ReadDeviceFile(FilePath(programFolder, name), &bytes)) return false;
  return ReadFrom(bytes);
}

bool mivoWallpaperTheme::ReadFrom(std::span<const std::uint8_t> bytes) {
  mivoArchiveReader in(bytes);
  DWORD version = 0;
  if (!in.ReadU32(&version)) return false;
  FileVersion = version;
  for (std::u16string* s : {&Description, &Version, &Author, &WWW, &Generator, &GeneratorWWW}) {
    std::u16string value;
    if (!in.ReadString(&value)) return false;
    *s = std::move(value);
  }
  DWORD reserved = 0;
  if (!in.ReadU32(&reserved)) return false;
  WallpaperReserved = reserved;
  return true;
}

std::vector<std::uint8_t> mivoWallpaperTheme::Serialize() const {
  mivoArchiveWriter out;
  out.WriteU32(FileVersion);
  for (const std::u16string* s : {&Description, &Version, &Author, &WWW, &Generator, &GeneratorWWW})
    out.WriteString(*s);
  out.WriteU32(WallpaperReserved);
  return out.Take();
}

HBITMAP mivoWallpaperTheme::CachedWallpaper(int desktop, bool landscape) const {
  if (desktop < 1 || desktop > kMaxWallpaperDesktops) return nullptr;
  return (landscape ? m_landscape : m_portrait)[desktop - 1];
}

void mivoWallpaperTheme::SetCachedWallpaper(int desktop, bool landscape, HBITMAP bitmap) {
  if (desktop < 1 || desktop > kMaxWallpaperDesktops) {
    if (bitmap) DeleteObject(bitmap);
    return;
  }
  HBITMAP& slot = (landscape ? m_landscape : m_portrait)[desktop - 1];
  if (slot && slot != bitmap) DeleteObject(slot);
  slot = bitmap;
}

void mivoWallpaperTheme::DropAllWallpapers() {
  for (int d = 1; d <= kMaxWallpaperDesktops; ++d) {
    SetCachedWallpaper(d, false, nullptr);
    SetCachedWallpaper(d, true, nullptr);
  }
}
