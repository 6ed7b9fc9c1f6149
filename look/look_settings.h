// The settings the look reads and writes. The settings store of the
// application implements it; tests use a map.
#pragma once

#include <string>
#include <string_view>

class mivoLookSettings {
 public:
  virtual ~mivoLookSettings() = default;
  virtual std::u16string GetThemeName() = 0;          // default "Black"
  virtual void SetThemeName(std::u16string_view name) = 0;
  virtual std::u16string GetWallpaperTheme() = 0;     // default "Default"
  virtual void SetWallpaperTheme(std::u16string_view name) = 0;
  virtual std::u16string GetSkinName() = 0;           // default ""
  virtual void SetSkinName(std::u16string_view name) = 0;
  virtual bool GetFinishInstallation() = 0;           // default on
  virtual void SetFinishInstallation(bool on) = 0;
  // Desktop n (1 to 32) shows the user's own picture in this orientation.
  virtual bool GetUserDesktopWallpaper(int desktop, bool landscape) = 0;
  virtual void SetUserDesktopWallpaper(int desktop, bool landscape, bool on) = 0;
};
