// Colour theme and wallpaper theme files.
#include <gtest/gtest.h>

#include "look/color_theme.h"
#include "look/wallpaper_theme.h"
#include "test_util.h"

namespace {

using looktest::Bytes;
using looktest::Str;
using looktest::U32;

Bytes ColorThemeFile() {
  Bytes b;
  U32(b, 1);
  for (auto s : {u"Dark blue", u"1.2", u"Ann", u"w", u"g", u"gw"}) Str(b, s);
  for (std::uint32_t c = 1; c <= 9; ++c) U32(b, 0x010101 * c);
  return b;
}

TEST(ColorThemeFile, ReadsTheHandMadeLayoutAndWritesItBack) {
  mivoColorTheme theme;
  ASSERT_TRUE(theme.ReadFrom(ColorThemeFile()));
  EXPECT_EQ(theme.Description, u"Dark blue");
  EXPECT_EQ(theme.GeneratorWWW, u"gw");
  for (int n = 1; n <= 9; ++n) EXPECT_EQ(theme.GetColor(n), 0x010101u * n) << n;
  EXPECT_EQ(theme.GetColor(0), 0u);
  EXPECT_EQ(theme.GetColor(10), 0u);
  EXPECT_EQ(theme.Serialize(), ColorThemeFile());
}

TEST(ColorThemeFile, AnotherVersionChangesNothingButTheName) {
  looktest::ScratchDevice device;
  Bytes b;
  U32(b, 2);
  for (std::uint32_t c = 0; c < 20; ++c) U32(b, 0xABCDEF);
  device.Put("Program Files/mivo/ColorThemes/Odd.mct", b);
  mivoColorTheme theme;
  const auto before = theme.Colors;
  EXPECT_FALSE(theme.LoadColorTheme(looktest::kProgramFolder, u"Odd"));
  EXPECT_EQ(theme.Name, u"Odd");
  EXPECT_EQ(theme.Colors, before);
  EXPECT_TRUE(theme.Description.empty());
}

TEST(ColorThemeFile, ATruncatedFileKeepsWhatCameBeforeTheCut) {
  const Bytes full = ColorThemeFile();
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    mivoColorTheme theme;
    theme.Colors.fill(0x77);
    EXPECT_FALSE(theme.ReadFrom(std::span(full.data(), cut)));
    // Colours read before the cut are the file's; the rest keep their values.
    bool reachedCut = false;
    for (int n = 1; n <= 9; ++n) {
      const COLORREF c = theme.GetColor(n);
      if (c == 0x77u) reachedCut = true;
      else EXPECT_FALSE(reachedCut) << cut;
      EXPECT_TRUE(c == 0x77u || c == 0x010101u * n) << cut << " " << n;
    }
  }
  mivoColorTheme theme;
  theme.Colors.fill(0x77);
  theme.ReadFrom(std::span(full.data(), full.size() - 2));
  EXPECT_EQ(theme.GetColor(8), 0x080808u);
  EXPECT_EQ(theme.GetColor(9), 0x77u);
}

TEST(WallpaperThemeFile, ReadsTheHandMadeLayoutAndItsPaths) {
  Bytes b;
  U32(b, 5);
  for (auto s : {u"Sea", u"1", u"Bo", u"", u"gen", u""}) Str(b, s);
  U32(b, 0x1234);
  mivoWallpaperTheme theme;
  ASSERT_TRUE(theme.ReadFrom(b));
  EXPECT_EQ(theme.FileVersion, 5u) << "no version test";
  EXPECT_EQ(theme.Generator, u"gen");
  EXPECT_EQ(theme.WallpaperReserved, 0x1234u);
  EXPECT_EQ(theme.Serialize(), b);

  mivoWallpaperTheme cut;
  EXPECT_FALSE(cut.ReadFrom(std::span(b.data(), b.size() - 1)));
  EXPECT_EQ(cut.Description, u"Sea");
  EXPECT_EQ(cut.WallpaperReserved, 0u);

  const std::u16string folder = looktest::kProgramFolder;
  EXPECT_EQ(mivoWallpaperTheme::FilePath(folder, u"Default"), u"\\Program Files\\mivo\\Wallpapers\\Default\\Default.mwt");
  EXPECT_EQ(mivoWallpaperTheme::ThemePicturePath(folder, u"Default", 3, true),
            u"\\Program Files\\mivo\\\\Wallpapers\\Default\\desktop3_horz.jpg");
  EXPECT_EQ(mivoWallpaperTheme::UserPicturePath(folder, 2, false), u"\\Program Files\\mivo\\\\UserWallpaper\\desktop2.jpg");
}

TEST(WallpaperThemeFile, LoadsFromItsFolderOnTheDevice) {
  looktest::ScratchDevice device;
  mivoWallpaperTheme source;
  source.Description = u"Default wallpapers";
  device.Put("Program Files/mivo/Wallpapers/Default/Default.mwt", source.Serialize());
  mivoWallpaperTheme theme;
  EXPECT_TRUE(theme.LoadWallpaperTheme(looktest::kProgramFolder, u"Default"));
  EXPECT_EQ(theme.Description, u"Default wallpapers");
  EXPECT_FALSE(theme.LoadWallpaperTheme(looktest::kProgramFolder, u"Nope"));
  EXPECT_EQ(theme.Name, u"Nope");
}

}  // namespace
