// The look's settings held in memory, with the defaults of the settings store.
#pragma once

#include <map>
#include <string>

#include "look/look_settings.h"

namespace looktest {

class MemorySettings : public mivoLookSettings {
 public:
  std::u16string GetThemeName() override { return themeName; }
  void SetThemeName(std::u16string_view name) override { themeName = name; }
  std::u16string GetWallpaperTheme() override { return wallpaperTheme; }
  void SetWallpaperTheme(std::u16string_view name) override { wallpaperTheme = name; }
  std::u16string GetSkinName() override { return skinName; }
  void SetSkinName(std::u16string_view name) override { skinName = name; }
  bool GetFinishInstallation() override { return finishInstallation; }
  void SetFinishInstallation(bool on) override { finishInstallation = on; }
  bool GetUserDesktopWallpaper(int desktop, bool landscape) override {
    return userWallpaper[{desktop, landscape}];
  }
  void SetUserDesktopWallpaper(int desktop, bool landscape, bool on) override {
    userWallpaper[{desktop, landscape}] = on;
  }

  std::u16string themeName = u"Black";
  std::u16string wallpaperTheme = u"Default";
  std::u16string skinName;
  bool finishInstallation = true;
  std::map<std::pair<int, bool>, bool> userWallpaper;
};

}  // namespace looktest
