// The look object: themes, the skin it owns, wallpapers and the default skin.
#include <gtest/gtest.h>

#include "look/package.h"
#include "look/toolkit.h"
#include "look_canvas.h"
#include "platform/gdi/gdi.h"

namespace {

using looktest::LookCanvas;

TEST(Appearance, TheScaleFollowsTheScreenHeightAndAMissingThemeStillGivesReadableColours) {
  looktest::ScratchDevice device;
  looktest::MemorySettings settings;
  { mivoAppearance a(settings, looktest::kProgramFolder, 479); EXPECT_EQ(DisplayScale, 1); }
  { mivoAppearance a(settings, looktest::kProgramFolder, 480); EXPECT_EQ(DisplayScale, 2); }
  mivoAppearance a(settings, looktest::kProgramFolder, 320);
  EXPECT_EQ(DisplayScale, 1);
  EXPECT_NE(a.BackgroundColor, a.TextColor);
  EXPECT_EQ(a.ColorTheme().Name, u"Black");
}

TEST(Appearance, AColourThemeChangeShowsAtOnceEverywhere) {
  LookCanvas c(1, 20, 20);
  mivoAppearance& a = *c.appearance;
  EXPECT_EQ(a.BackgroundColor, looktest::kBackground);
  looktest::PutTestTheme(c.device, "Red", RGB(200, 0, 0));
  a.SetColorTheme(u"Red");
  EXPECT_EQ(c.settings.themeName, u"Red");
  EXPECT_EQ(a.BackgroundColor, RGB(200, 0, 0));
  const RECT all{0, 0, 20, 20};
  FillRect(c.dc, &all, a.BackgroundBrush);
  EXPECT_EQ(c.At(5, 5), RGB(200, 0, 0)) << "the background brush follows the theme";
  DrawWallpaper(a, c.dc, 0, 0, RECT{0, 0, 10, 10}, 1, false);
  EXPECT_EQ(c.At(5, 5), RGB(200, 0, 0));
  const int objects = gdi::LiveObjectCount();
  a.ApplyColorTheme();
  EXPECT_EQ(gdi::LiveObjectCount(), objects) << "the old brushes and pens are deleted";
}

TEST(Appearance, AVersion1SkinSetsTheFiveColoursAndSavesThemAtTheEnd) {
  looktest::ScratchDevice device;
  looktest::PutTestTheme(device);
  looktest::Bytes v1;
  looktest::U32(v1, 1);
  for (std::uint32_t c : {0x010203u, 0x040506u, 0x070809u, 0x0A0B0Cu, 0x0D0E0Fu}) looktest::U32(v1, c);
  looktest::U32(v1, 0);
  device.Put("Program Files/mivo/Skins/Old/Old.msk", v1);
  looktest::MemorySettings settings;
  settings.themeName = u"Test";
  settings.skinName = u"Old";
  {
    mivoAppearance a(settings, looktest::kProgramFolder, 320);
    EXPECT_EQ(a.BackgroundColor, looktest::kBackground) << "the skin loads on first use";
    a.GetSkinImage(u"exit");
    EXPECT_EQ(a.BackgroundColor, 0x010203u);
    EXPECT_EQ(a.TextColor, 0x040506u);
    EXPECT_EQ(a.SubTextColor, 0x070809u);
    EXPECT_EQ(a.LegacyColor5, 0x0D0E0Fu);
  }
  mivoSkin saved;
  ASSERT_TRUE(saved.ReadFrom(device.Get("Program Files/mivo/Skins/Old/Old.msk")));
  EXPECT_EQ(saved.FileVersion, 2u);
  EXPECT_EQ(saved.Images.size(), 1u);
  mivoAppearance again(settings, looktest::kProgramFolder, 320);
  again.GetSkin();
  EXPECT_EQ(again.TextColor, 0x040506u) << "the colours survive the conversion";
}

TEST(Appearance, SkinImagesWithoutAPictureDrawNothingAndHaveNoSize) {
  LookCanvas c(1, 20, 20);
  mivoSkinImage* image = c.appearance->GetSkinImage(u"gadget_clock_0");
  EXPECT_EQ(c.appearance->DrawSkinImage(image, c.dc, RECT{0, 0, 20, 20}, 1 | 4), RECT{});
  EXPECT_EQ(c.appearance->DrawSkinImage(nullptr, c.dc, RECT{0, 0, 20, 20}, 0), RECT{});
  const SIZE size = c.appearance->GetSkinImageSize(image);
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, 0);
  EXPECT_EQ(c.appearance->GetSkinImageThumbnail(image, c.dc, SIZE{40, 40}), nullptr);
  EXPECT_TRUE(c.Ink().Empty());
}

TEST(Appearance, AUserWallpaperIsSetOnlyWhenTheCopySucceeds) {
  LookCanvas c(1, 10, 10);
  mivoAppearance& a = *c.appearance;
  EXPECT_FALSE(a.SetUserWallpaper(2, false, u"\\My Documents\\missing.jpg"));
  EXPECT_FALSE(c.settings.GetUserDesktopWallpaper(2, false));
  c.device.Put("My Documents/beach.jpg", {1, 2, 3});
  ASSERT_TRUE(a.SetUserWallpaper(2, false, u"\\My Documents\\beach.jpg"));
  EXPECT_TRUE(c.settings.GetUserDesktopWallpaper(2, false));
  EXPECT_FALSE(c.settings.GetUserDesktopWallpaper(2, true)) << "landscape keeps the theme picture";
  EXPECT_EQ(c.device.Get("Program Files/mivo/UserWallpaper/desktop2.jpg"), (looktest::Bytes{1, 2, 3}));
  c.device.Put("My Documents/sea.jpg", {4});
  ASSERT_TRUE(a.SetUserWallpaper(2, false, u"\\My Documents\\sea.jpg"));
  EXPECT_EQ(c.device.Get("Program Files/mivo/UserWallpaper/desktop2.jpg"), (looktest::Bytes{4}));
  a.ResetDesktopWallpaper(2, false);
  EXPECT_FALSE(c.settings.GetUserDesktopWallpaper(2, false));
  EXPECT_FALSE(a.SetUserWallpaper(33, false, u"\\My Documents\\sea.jpg"));
  EXPECT_EQ(a.GetDesktopWallpaper(0, false), nullptr);
  EXPECT_EQ(a.GetDesktopWallpaper(33, true), nullptr);
}

class DefaultSkin : public ::testing::Test {
 protected:
  looktest::Bytes SkinPackage(const std::u16string& name) {
    mivoSkin skin;
    skin.FindOrAddImage(u"exit")->File = u"exit.png";
    mivoPackageHeader h;
    h.PackageName = name;
    looktest::Bytes bytes;
    WritePackage(h, {{false, name + u".msk", skin.Serialize(), {}}, {false, u"exit.png", {7}, {}}}, &bytes);
    return bytes;
  }
  looktest::ScratchDevice device;
  looktest::MemorySettings settings;
};

TEST_F(DefaultSkin, InstallsThePackageThatFitsTheScreenAndRemovesBoth) {
  device.Put("Program Files/mivo/Skins/Clear Horizon.minst", SkinPackage(u"Clear Horizon"));
  device.Put("Program Files/mivo/Skins/Clear Horizon VGA.minst", SkinPackage(u"Clear Horizon VGA"));
  std::vector<DWORD> done;
  ASSERT_TRUE(InstallDefaultSkin(settings, looktest::kProgramFolder, 640, [&](DWORD, DWORD d) { done.push_back(d); }));
  EXPECT_EQ(settings.skinName, u"Clear Horizon VGA");
  EXPECT_FALSE(settings.finishInstallation);
  EXPECT_TRUE(device.Exists("Program Files/mivo/Skins/Clear Horizon VGA/exit.png"));
  EXPECT_FALSE(device.Exists("Program Files/mivo/Skins/Clear Horizon VGA.minst"));
  EXPECT_FALSE(device.Exists("Program Files/mivo/Skins/Clear Horizon.minst")) << "the other resolution goes";
  EXPECT_FALSE(done.empty());
  mivoAppearance a(settings, looktest::kProgramFolder, 640);
  EXPECT_EQ(a.GetSkin()->Images.size(), 1u);
}

TEST_F(DefaultSkin, AFailedInstallationKeepsThePackageAndTheFlagForTheNextStart) {
  looktest::Bytes damaged = SkinPackage(u"Clear Horizon");
  damaged.resize(damaged.size() - 5);
  device.Put("Program Files/mivo/Skins/Clear Horizon.minst", damaged);
  EXPECT_FALSE(InstallDefaultSkin(settings, looktest::kProgramFolder, 320));
  EXPECT_TRUE(settings.finishInstallation);
  EXPECT_TRUE(device.Exists("Program Files/mivo/Skins/Clear Horizon.minst"));
  EXPECT_EQ(settings.skinName, u"");
  device.Put("Program Files/mivo/Skins/Clear Horizon.minst", SkinPackage(u"Clear Horizon"));
  EXPECT_TRUE(InstallDefaultSkin(settings, looktest::kProgramFolder, 320));
  EXPECT_EQ(settings.skinName, u"Clear Horizon");
  EXPECT_FALSE(settings.finishInstallation);
}

TEST_F(DefaultSkin, AnInstallationCutShortOnceThePackageWasGoneIsTakenAsDoneAtTheNextStart) {
  // The package is removed only after the skin's files are on the disk.
  mivoSkin skin;
  device.Put("Program Files/mivo/Skins/Clear Horizon/Clear Horizon.msk", skin.Serialize());
  EXPECT_TRUE(InstallDefaultSkin(settings, looktest::kProgramFolder, 320));
  EXPECT_EQ(settings.skinName, u"Clear Horizon");
  EXPECT_FALSE(settings.finishInstallation);
}

}  // namespace
