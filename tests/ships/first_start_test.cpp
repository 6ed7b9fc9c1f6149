// The real program on a new device: its first start provisions the device
// from what the build made (skins, themes, languages, layouts, wallpapers at
// the screen's size), installs the default skin of its screen, loads English
// without the start-up warning and shows no message.
#include <gtest/gtest.h>

#include "platform/imaging/imaging.h"
#include "ships_util.h"
#include "tests/support/mivo_runner.h"

namespace {

using namespace ships;

struct StartScreen {
  const char* size;
  const char* skin;
  int width, height;
};

class FirstStart : public ::testing::TestWithParam<StartScreen> {};

TEST_P(FirstStart, InstallsTheSkinOfTheScreenAndShowsNoWarning) {
  const StartScreen screen = GetParam();
  const std::string dir = testing_support::FreshDir(std::string("ships-first-start-") + screen.size);
  const auto run = testing_support::RunMivo(dir, "wait 200\ndump\nexit\n", {"--screen", screen.size});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_FALSE(run.dumps.empty()) << run.out;
  EXPECT_TRUE(run.dumps.back()["overlay"].IsNull()) << "no start-up warning or other message";

  const stdfs::path program = stdfs::path(dir) / "device" / "fs" / "Program Files" / "mivo";
  EXPECT_TRUE(stdfs::exists(program / "Skins" / screen.skin / (std::string(screen.skin) + ".msk")));
  EXPECT_FALSE(stdfs::exists(program / "Skins" / "Clear Horizon.minst")) << "the packages are gone after installing";
  EXPECT_FALSE(stdfs::exists(program / "Skins" / "Clear Horizon VGA.minst"));
  // The rest of what provisioning put in the program folder.
  for (const char* theme : {"Black", "Paper"}) EXPECT_TRUE(stdfs::exists(program / "ColorThemes" / (std::string(theme) + ".mct")));
  for (const char* language : {"English", "German"})
    EXPECT_TRUE(stdfs::exists(program / "Languages" / (std::string(language) + ".mlg")));
  EXPECT_TRUE(stdfs::exists(program / "mivo_desktop.dat"));
  EXPECT_TRUE(stdfs::exists(program / "mivo_desktop_vga.dat"));
  // Wallpapers painted at the device's screen size, upright and turned.
  imaging::Picture wallpaper;
  ASSERT_TRUE(imaging::DecodeHostFile((program / "Wallpapers" / "Default" / "desktop2.jpg").string(), &wallpaper));
  EXPECT_EQ(wallpaper.width, screen.width);
  EXPECT_EQ(wallpaper.height, screen.height);
  ASSERT_TRUE(imaging::DecodeHostFile((program / "Wallpapers" / "Default" / "desktop32_horz.jpg").string(), &wallpaper));
  EXPECT_EQ(wallpaper.width, screen.height);
  EXPECT_EQ(wallpaper.height, screen.width);
}

TEST(LanguageChoice, GermanChosenInTheSettingsShowsAtTheNextStartWithoutAWarning) {
  const std::string dir = testing_support::FreshDir("ships-german");
  ASSERT_EQ(testing_support::RunMivo(dir, "exit\n").exitCode, 0);
  const auto set =
      testing_support::RunDeviceIn(dir, {"reg", "set", "HKCU\\Software\\mivo\\mivo", "Language", "sz", "German"});
  ASSERT_EQ(set.code, 0) << set.err;
  const auto run = testing_support::RunMivo(dir, "dump\nexit\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_FALSE(run.dumps.empty());
  EXPECT_TRUE(run.dumps.back()["overlay"].IsNull());
  EXPECT_EQ(run.dumps.back()["softkeys"][0].AsString(), "Zur\u00fcck");
  EXPECT_EQ(run.dumps.back()["softkeys"][1].AsString(), "Ausblenden");
}

INSTANTIATE_TEST_SUITE_P(Screens, FirstStart,
                         ::testing::Values(StartScreen{"240x320", "Clear Horizon", 240, 320},
                                           StartScreen{"480x640", "Clear Horizon VGA", 480, 640}),
                         [](const ::testing::TestParamInfo<StartScreen>& i) { return i.param.width == 480 ? "Vga" : "Qvga"; });

}  // namespace
