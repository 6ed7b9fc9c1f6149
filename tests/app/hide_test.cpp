// "Hide" leaves the screen to the shell: its own empty background and task
// bar, with mivo's start emblem on the start button; a tap brings mivo back
// where it was.
#include <gtest/gtest.h>

#include <string>

#include "platform/display/png.h"
#include "tests/pages/session_util.h"
#include "tests/support/mivo_runner.h"
#include "tests/support/navigate.h"
#include "tests/tools/run_tool.h"

using testing_support::FreshDir;
using testing_support::Json;
using testing_support::WindowOf;
using testing_support::RunMivo;

namespace {

display::Image ReadShot(const std::string& path) {
  display::Image img;
  std::string error;
  EXPECT_TRUE(display::ReadPng(path, &img, &error)) << error;
  return img;
}

std::uint32_t Rgb(const display::Image& img, int x, int y) { return img.At(x, y) & 0xFFFFFFu; }
int Red(std::uint32_t c) { return static_cast<int>((c >> 16) & 255); }
int Green(std::uint32_t c) { return static_cast<int>((c >> 8) & 255); }
int Blue(std::uint32_t c) { return static_cast<int>(c & 255); }

struct Size {
  int w, h;
};

class EachSize : public ::testing::TestWithParam<Size> {};

}  // namespace

TEST_P(EachSize, HideShowsTheShellsOwnBackgroundAndATapBringsMivoBackWhereItWas) {
  const auto [w, h] = GetParam();
  const int s = h >= 480 ? 2 : 1;
  const std::string size = std::to_string(w) + "x" + std::to_string(h);
  const std::string dir = FreshDir("app_hide_" + size);
  // Into the main menu (the desktop's Enter), hide, let two minutes pass, tap the empty screen.
  const auto r = RunMivo(dir,
                         std::string("key RETURN") +
                             "\nwait 500\ndump\nshot shown.png\nkey F2\nwait 500\ndump\nshot hidden.png\n"
                             "wait 120000\nshot later.png\ntap " +
                             std::to_string(w / 2) + " " + std::to_string(h / 2) + "\nwait 500\ndump\n",
                         {"--screen", size});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.dumps.size(), 3u);
  const Json& shown = r.dumps[0];
  ASSERT_EQ(shown["top"]["class"].AsString(), "CmivoMainMenuPage");
  EXPECT_EQ(shown["screen"]["shows"].AsString(), "program");

  // Hidden: no page, no soft keys, the shell's own screen; the stack is kept.
  const Json& hidden = r.dumps[1];
  EXPECT_EQ(hidden["screen"]["shows"].AsString(), "shell");
  EXPECT_TRUE(hidden["top"].IsNull());
  EXPECT_EQ(hidden["softkeys"].size(), 0u);
  ASSERT_EQ(hidden["pages"].size(), 2u);
  EXPECT_FALSE((*WindowOf(hidden, "CMainFrame"))["visible"].AsBool());
  ASSERT_NE(WindowOf(hidden, "HHTaskBar"), nullptr);
  EXPECT_TRUE((*WindowOf(hidden, "HHTaskBar"))["visible"].AsBool());

  // The picture: below the task bar nothing of the page is left, only the
  // background (the same colour across each row), and it stays so.
  const int bar = 26 * s;
  for (const char* shot : {"hidden.png", "later.png"}) {
    SCOPED_TRACE(shot);
    const display::Image img = ReadShot(dir + "/" + shot);
    ASSERT_EQ(img.width, w);
    int mixedRows = 0;
    for (int y = bar; y < h; y += 3) {
      for (int x = 1; x < w; ++x) {
        if (Rgb(img, x, y) != Rgb(img, 0, y)) {
          ++mixedRows;
          break;
        }
      }
    }
    EXPECT_EQ(mixedRows, 0) << "rows below the task bar that still show something";
  }
  const display::Image before = ReadShot(dir + "/shown.png");
  const display::Image after = ReadShot(dir + "/hidden.png");
  EXPECT_NE(Rgb(before, w / 2, h / 2), Rgb(after, w / 2, h / 2));

  // The tap brings mivo back with the page it left.
  const Json& back = r.dumps[2];
  EXPECT_EQ(back["screen"]["shows"].AsString(), "program");
  EXPECT_EQ(back["top"]["class"].AsString(), "CmivoMainMenuPage");
  EXPECT_EQ(back["softkeys"].size(), 2u);
}

TEST_P(EachSize, TheStartButtonShowsMivosEmblemAndBringsBackAFullScreenMivo) {
  const auto [w, h] = GetParam();
  const int s = h >= 480 ? 2 : 1;
  const std::string size = std::to_string(w) + "x" + std::to_string(h);
  const std::string dir = FreshDir("app_start_" + size);
  ASSERT_EQ(pagestest::Device(dir, {"init"}).code, 0);
  pagestest::RegSet(dir, pagestest::kSettingsPath, "UseFullScreen", "dword", "1");
  // The start button is a 20·S square 4·S from the left, centred in the bar.
  const int cx = 14 * s, cy = 13 * s;
  const auto r = RunMivo(dir,
                         std::string("key RETURN") +
                             "\nwait 500\nkey F2\nwait 500\ndump\nshot hidden.png\ntap " + std::to_string(cx) + " " +
                             std::to_string(cy) + "\nwait 500\ndump\n",
                         {"--screen", size});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.dumps.size(), 2u);
  // Full screen hid the task bar; with mivo gone the shell shows it again, and
  // the hidden frame, told of the new work area, keeps its menu bar hidden.
  EXPECT_EQ(r.dumps[0]["screen"]["shows"].AsString(), "shell");
  EXPECT_TRUE((*WindowOf(r.dumps[0], "HHTaskBar"))["visible"].AsBool());
  EXPECT_EQ(r.dumps[0]["softkeys"].size(), 0u);

  // The emblem: a blue disc (left of its "m") with the white "m" on it.
  const display::Image img = ReadShot(dir + "/hidden.png");
  const std::uint32_t disc = Rgb(img, 7 * s, cy);
  EXPECT_GT(Blue(disc), 150);
  EXPECT_GT(Blue(disc), Red(disc) + 60) << std::hex << disc;
  const std::uint32_t letter = Rgb(img, 9 * s, 15 * s);
  EXPECT_GT(Red(letter), 200) << std::hex << letter;
  EXPECT_GT(Green(letter), 200) << std::hex << letter;
  EXPECT_GT(Blue(letter), 200) << std::hex << letter;

  // The start button brings mivo back, and full screen again.
  const Json& back = r.dumps[1];
  EXPECT_EQ(back["screen"]["shows"].AsString(), "program");
  EXPECT_EQ(back["top"]["class"].AsString(), "CmivoMainMenuPage");
  EXPECT_FALSE((*WindowOf(back, "HHTaskBar"))["visible"].AsBool());
}

INSTANTIATE_TEST_SUITE_P(Screens, EachSize, ::testing::Values(Size{240, 320}, Size{640, 480}),
                         [](const ::testing::TestParamInfo<Size>& i) {
                           return std::to_string(i.param.w) + "x" + std::to_string(i.param.h);
                         });
