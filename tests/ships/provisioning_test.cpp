// A new device provisioned from what the build made, then started for the
// first time: the skin of its screen installs, the default theme, wallpaper
// and language load, and no start-up warning is due. And every shipped file
// passes the authors' own check.
#include <gtest/gtest.h>

#include <map>

#include "look/appearance.h"
#include "look/language.h"
#include "look/look_settings.h"
#include "platform/device/device.h"
#include "platform/imaging/imaging.h"
#include "ships_util.h"

namespace {

using namespace ships;

class Settings : public mivoLookSettings {
 public:
  std::u16string GetThemeName() override { return u"Black"; }
  void SetThemeName(std::u16string_view) override {}
  std::u16string GetWallpaperTheme() override { return u"Default"; }
  void SetWallpaperTheme(std::u16string_view) override {}
  std::u16string GetSkinName() override { return skinName; }
  void SetSkinName(std::u16string_view name) override { skinName = name; }
  bool GetFinishInstallation() override { return finishInstallation; }
  void SetFinishInstallation(bool on) override { finishInstallation = on; }
  bool GetUserDesktopWallpaper(int, bool) override { return false; }
  void SetUserDesktopWallpaper(int, bool, bool) override {}

  std::u16string skinName;
  bool finishInstallation = true;
};

struct Screen {
  int width, height;
  const char* skin;
};

class NewDevice : public ::testing::TestWithParam<Screen> {};

TEST_P(NewDevice, IsProvisionedForItsScreenAndTheFirstStartInstallsItsSkinWithoutWarnings) {
  const Screen screen = GetParam();
  const int scale = screen.height >= 480 ? 2 : 1;
  Scratch folder("device", false);
  device::DeviceOptions options;
  options.dataFolder = DataDir().string();
  options.screenHeight = screen.height;
  std::string error;
  ASSERT_TRUE(device::OpenDevice((folder.Root() / "device").string(), &error, options)) << error;
  const stdfs::path program = folder.Root() / "device" / "fs" / "Program Files" / "mivo";

  // What provisioning put in the program folder.
  EXPECT_TRUE(stdfs::exists(program / "Skins" / "Clear Horizon.minst"));
  EXPECT_TRUE(stdfs::exists(program / "Skins" / "Clear Horizon VGA.minst"));
  for (const char* theme : {"Black", "Paper"}) EXPECT_TRUE(stdfs::exists(program / "ColorThemes" / (std::string(theme) + ".mct")));
  for (const char* language : {"English", "German"})
    EXPECT_TRUE(stdfs::exists(program / "Languages" / (std::string(language) + ".mlg")));
  imaging::Picture wallpaper;
  EXPECT_TRUE(imaging::DecodeHostFile((program / "Wallpapers" / "Default" / "desktop1.jpg").string(), &wallpaper));
  EXPECT_EQ(wallpaper.width, screen.width) << "painted at the device's screen size";
  EXPECT_EQ(wallpaper.height, screen.height);
  EXPECT_TRUE(imaging::DecodeHostFile((program / "Wallpapers" / "Default" / "desktop32_horz.jpg").string(), &wallpaper));
  EXPECT_EQ(wallpaper.width, screen.height);

  // The first start.
  Settings settings;
  EXPECT_TRUE(InstallDefaultSkin(settings, kProgramFolder, screen.height, [](DWORD, DWORD) {}));
  EXPECT_EQ(text::ToUtf8(settings.skinName), screen.skin);
  EXPECT_FALSE(settings.finishInstallation);
  EXPECT_FALSE(stdfs::exists(program / "Skins" / "Clear Horizon.minst")) << "both packages are gone";
  EXPECT_FALSE(stdfs::exists(program / "Skins" / "Clear Horizon VGA.minst"));
  EXPECT_TRUE(LoadCurrentLanguage(kProgramFolder, u"English")) << "no start-up warning";
  {
    mivoAppearance look(settings, kProgramFolder, screen.height);
    EXPECT_EQ(DisplayScale, scale);
    EXPECT_EQ(look.ColorTheme().Name, u"Black");
    EXPECT_EQ(look.BackgroundColor, RGB(0, 0, 0));
    EXPECT_EQ(look.TextColor, RGB(255, 255, 255));
    const SIZE exit = look.GetSkinImageSize(look.GetSkinImage(u"exit"));
    EXPECT_EQ(exit.cx, 48 * scale);
    EXPECT_EQ(exit.cy, 48 * scale);
    EXPECT_NE(look.GetDesktopWallpaper(1, false), nullptr);
    EXPECT_NE(look.GetDesktopWallpaper(32, true), nullptr);
  }
  device::CloseDevice();
}

INSTANTIATE_TEST_SUITE_P(Screens, NewDevice,
                         ::testing::Values(Screen{240, 320, "Clear Horizon"}, Screen{480, 640, "Clear Horizon VGA"}),
                         [](const ::testing::TestParamInfo<Screen>& i) { return i.param.height >= 480 ? "Vga" : "Qvga"; });

TEST(ShippedFiles, EveryOnePassesMivoPackCheck) {
  int checked = 0;
  Scratch extracted("extract", false);
  for (const auto& entry : stdfs::recursive_directory_iterator(DataDir())) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".minst" && ext != ".mct" && ext != ".mwt" && ext != ".mlg") continue;
    const Outcome o = RunCommand(Quote(MIVO_PACK_PATH) + " check " + Quote(entry.path().string()));
    EXPECT_EQ(o.code, 0) << entry.path() << "\n" << o.out;
    ++checked;
    if (ext == ".minst") {
      // The skin file inside, checked on its own.
      const stdfs::path into = extracted.Root() / entry.path().stem();
      ASSERT_EQ(RunCommand(Quote(MIVO_PACK_PATH) + " extract " + Quote(entry.path().string()) + " " + Quote(into.string())).code, 0);
      const stdfs::path msk = into / (entry.path().stem().string() + ".msk");
      const Outcome skin = RunCommand(Quote(MIVO_PACK_PATH) + " check " + Quote(msk.string()));
      EXPECT_EQ(skin.code, 0) << msk << "\n" << skin.out;
    }
  }
  // Two skins, six colour themes, two wallpaper theme files, two languages.
  EXPECT_GE(checked, 12);
}

}  // namespace
