// A new device provisioned from what the build made, with the look its first
// start loads; and every shipped file passes the authors' own check.
#include <gtest/gtest.h>

#include "look/appearance.h"
#include "platform/device/device.h"
#include "platform/imaging/imaging.h"
#include "ships_util.h"
#include "tests/look/test_settings.h"

namespace {

using namespace ships;

using Settings = looktest::MemorySettings;

struct DeviceScreen {
  int width, height;
  const char* skin;
};

class NewDevice : public ::testing::TestWithParam<DeviceScreen> {};

TEST_P(NewDevice, IsProvisionedForItsScreenAndTheFirstStartInstallsItsSkinAndLook) {
  const DeviceScreen screen = GetParam();
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
  EXPECT_TRUE(stdfs::exists(program / "mivo_desktop.dat"));
  EXPECT_TRUE(stdfs::exists(program / "mivo_desktop_vga.dat"));
  imaging::Picture wallpaper;
  EXPECT_TRUE(imaging::DecodeHostFile((program / "Wallpapers" / "Default" / "desktop32_horz.jpg").string(), &wallpaper));
  EXPECT_EQ(wallpaper.width, screen.height) << "painted at the device's screen size, turned";
  EXPECT_EQ(wallpaper.height, screen.width);

  // The first start (the program's own first start is in first_start_test).
  Settings settings;
  EXPECT_TRUE(InstallDefaultSkin(settings, kProgramFolder, screen.height, [](DWORD, DWORD) {}));
  EXPECT_EQ(text::ToUtf8(settings.skinName), screen.skin);
  EXPECT_FALSE(settings.finishInstallation);
  {
    mivoAppearance look(settings, kProgramFolder, screen.height);
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
                         ::testing::Values(DeviceScreen{240, 320, "Clear Horizon"}, DeviceScreen{480, 640, "Clear Horizon VGA"}),
                         [](const ::testing::TestParamInfo<DeviceScreen>& i) { return i.param.height >= 480 ? "Vga" : "Qvga"; });

TEST(ShippedFiles, EveryOnePassesMivoPackCheck) {
  int checked = 0;
  Scratch extracted("extract", false);
  for (const auto& entry : stdfs::recursive_directory_iterator(DataDir())) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".minst" && ext != ".mct" && ext != ".mwt" && ext != ".mlg" && ext != ".dat") continue;
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
  // Two skins, six colour themes, two wallpaper theme files, two languages,
  // two desktop layouts.
  EXPECT_GE(checked, 14);
}

}  // namespace
