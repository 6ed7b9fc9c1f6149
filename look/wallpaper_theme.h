// Wallpaper themes: a folder under the program folder's Wallpapers folder
// with a ".mwt" file of descriptive strings and one JPEG picture per desktop
// and orientation ("desktop3.jpg", "desktop3_horz.jpg").
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/types.h"

constexpr int kMaxWallpaperDesktops = 32;

class mivoWallpaperTheme {
 public:
  mivoWallpaperTheme();
  ~mivoWallpaperTheme();
  mivoWallpaperTheme(const mivoWallpaperTheme&) = delete;
  mivoWallpaperTheme& operator=(const mivoWallpaperTheme&) = delete;

  // Sets the name and reads program folder + "Wallpapers\" + name + "\" +
  // name + ".mwt"; what a short file holds is kept. Cached pictures are kept
  // (the caller resets the desktops it changes).
  bool LoadWallpaperTheme(std::u16string_view programFolder, std::u16string_view name);
  bool ReadFrom(std::span<const std::uint8_t> bytes);
  std::vector<std::uint8_t> Serialize() const;

  static std::u16string FilePath(std::u16string_view programFolder, std::u16string_view name);
  // The theme's picture of a desktop (1 to 32) in an orientation.
  static std::u16string ThemePicturePath(std::u16string_view programFolder, std::u16string_view name,
                                         int desktop, bool landscape);
  // The user's own picture of a desktop in an orientation.
  static std::u16string UserPicturePath(std::u16string_view programFolder, int desktop, bool landscape);

  // The cached decoded picture of a desktop, or null; desktops outside 1 to
  // 32 have none. Setting a new one deletes the old bitmap.
  HBITMAP CachedWallpaper(int desktop, bool landscape) const;
  void SetCachedWallpaper(int desktop, bool landscape, HBITMAP bitmap);
  void DropCachedWallpaper(int desktop, bool landscape) { SetCachedWallpaper(desktop, landscape, nullptr); }
  void DropAllWallpapers();

  std::u16string Name;
  DWORD FileVersion = 1;
  std::u16string Description, Version, Author, WWW, Generator, GeneratorWWW;
  DWORD WallpaperReserved = 0;  // read and kept

 private:
  // Decoded pictures by desktop number - 1: portrait, then landscape.
  std::array<HBITMAP, kMaxWallpaperDesktops> m_portrait{};
  std::array<HBITMAP, kMaxWallpaperDesktops> m_landscape{};
};
