// The colour themes and the Default wallpaper theme as they ship: every
// text readable on every background it is drawn on, and wallpapers calm
// enough for white and black text alike.
#include <gtest/gtest.h>

#include <algorithm>

#include "look/color_theme.h"
#include "look/wallpaper_theme.h"
#include "platform/imaging/imaging.h"
#include "ships_util.h"

namespace {

using namespace ships;

std::map<std::string, mivoColorTheme> ShippedThemes() {
  std::map<std::string, mivoColorTheme> themes;
  for (const auto& entry : stdfs::directory_iterator(DataDir() / "colorthemes")) {
    if (entry.path().extension() != ".mct") continue;
    mivoColorTheme theme;
    EXPECT_TRUE(theme.ReadFrom(ReadHost(entry.path()))) << entry.path();
    themes[entry.path().stem().string()] = theme;
  }
  return themes;
}

bool IsLight(const mivoColorTheme& t) { return Luminance(t.GetColor(1)) > Luminance(t.GetColor(2)); }

TEST(ColourThemes, BlackIsShippedWithAtLeastThreeOthersOneOfThemLight) {
  const auto themes = ShippedThemes();
  ASSERT_TRUE(themes.count("Black")) << "the default theme";
  EXPECT_GE(themes.size(), 4u);
  EXPECT_FALSE(IsLight(themes.at("Black")));
  EXPECT_TRUE(std::any_of(themes.begin(), themes.end(), [](const auto& t) { return IsLight(t.second); }));
  std::set<std::vector<COLORREF>> distinct;
  for (const auto& [name, theme] : themes) {
    distinct.insert(std::vector<COLORREF>(theme.Colors.begin(), theme.Colors.end()));
    EXPECT_FALSE(theme.Description.empty()) << name;
    EXPECT_EQ(theme.FileVersion, 1u) << name;
  }
  EXPECT_EQ(distinct.size(), themes.size()) << "no two themes alike";
}

TEST(ColourThemes, EveryTextReadsOnEveryBackgroundItIsDrawnOn) {
  // Text (2) and subtext (3) on the background (1), cards (5) and the
  // selected card (7); the header draws the background colour on the text
  // colour, the SMS bubble the same, so 2 on 1 covers those too.
  for (const auto& [name, t] : ShippedThemes()) {
    SCOPED_TRACE(name);
    for (int text : {2, 3})
      for (int back : {1, 5, 7})
        EXPECT_GE(Contrast(t.GetColor(text), t.GetColor(back)), 4.5) << "colour " << text << " on colour " << back;
    // The scroll thumb must stand out from the strip around it.
    EXPECT_GE(Contrast(t.GetColor(9), t.GetColor(1)), 3.0) << "scroll thumb";
    EXPECT_GE(Contrast(t.GetColor(6), t.GetColor(1)), 3.0) << "selected card outline";
    // The expanded help text of a list row is the text colour on the card,
    // checked above; themes_drawn_test.cpp measures it as the pages draw it.
  }
}

struct WallpaperSize {
  const char* folder;
  int width, height;  // portrait
};

class EachWallpaperSize : public ::testing::TestWithParam<WallpaperSize> {};

TEST_P(EachWallpaperSize, EveryDesktopHasACalmPictureInBothOrientationsAtTheScreenSize) {
  const WallpaperSize size = GetParam();
  const stdfs::path folder = DataDir() / size.folder / "Default";
  mivoWallpaperTheme theme;
  EXPECT_TRUE(theme.ReadFrom(ReadHost(folder / "Default.mwt")));
  EXPECT_FALSE(theme.Description.empty());
  EXPECT_NE(theme.Generator.find(u"mivo-skingen"), std::u16string::npos);
  std::set<std::uint64_t> looks;
  for (int desktop = 1; desktop <= 32; ++desktop) {
    for (bool landscape : {false, true}) {
      const std::string file = "desktop" + std::to_string(desktop) + (landscape ? "_horz" : "") + ".jpg";
      SCOPED_TRACE(file);
      const Bytes bytes = ReadHost(folder / file);
      imaging::Picture p;
      ASSERT_TRUE(imaging::DecodePicture(bytes.data(), bytes.size(), &p));
      EXPECT_EQ(p.width, landscape ? size.height : size.width);
      EXPECT_EQ(p.height, landscape ? size.width : size.height);
      // Legible for white text and for black text everywhere: the
      // luminance keeps to a middle band, so each has a contrast of at least 3.
      double lo = 1, hi = 0, roughness = 0;
      std::uint64_t sum = 0;
      for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
          const std::uint32_t px = p.pixels[y * p.width + x];
          const double l = Luminance((px >> 16) & 255, (px >> 8) & 255, px & 255);
          lo = std::min(lo, l);
          hi = std::max(hi, l);
          sum += px & 0xFFFFFF;
          if (x > 0) {
            const std::uint32_t left = p.pixels[y * p.width + x - 1];
            roughness += std::abs(static_cast<int>((px >> 8) & 255) - static_cast<int>((left >> 8) & 255));
          }
        }
      }
      EXPECT_GE(1.05 / (hi + 0.05), 3.0) << "white text on the brightest pixel";
      EXPECT_GE((lo + 0.05) / 0.05, 3.0) << "black text on the darkest pixel";
      // Calm: neighbouring pixels differ by about one level on average.
      EXPECT_LT(roughness / (p.width * p.height), 2.0);
      looks.insert(sum);
    }
  }
  EXPECT_EQ(looks.size(), 64u) << "every picture is its own";
}

INSTANTIATE_TEST_SUITE_P(Default, EachWallpaperSize,
                         ::testing::Values(WallpaperSize{"wallpapers", 240, 320}, WallpaperSize{"wallpapers-vga", 480, 640}),
                         [](const ::testing::TestParamInfo<WallpaperSize>& i) {
                           return i.param.width == 480 ? "Vga" : "Qvga";
                         });

}  // namespace
