// What a user sees on the real pages, probed in the program's own
// screenshots: captions that keep off their pictures and never break a word,
// titles that take a second line, the document list's icons, the pages that
// are not built yet, and the lists' scroll indicators at the end of a list.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/display/png.h"
#include "tests/support/mivo_runner.h"
#include "tests/tools/run_tool.h"

using testing_support::FreshDir;
using testing_support::Json;
using testing_support::RunMivo;
using testing_support::RunMivoDevice;

namespace {

struct Screen {
  int w, h, s;  // size and scale
  std::string Arg() const { return std::to_string(w) + "x" + std::to_string(h); }
};
constexpr Screen kQvga{240, 320, 1};
constexpr Screen kLandscapeVga{640, 480, 2};
constexpr Screen kVga{480, 640, 2};

struct Box {
  int l, t, r, b;
};
Box BoxOf(const Json& rect) {
  return Box{static_cast<int>(rect[0].AsInt()), static_cast<int>(rect[1].AsInt()), static_cast<int>(rect[2].AsInt()),
             static_cast<int>(rect[3].AsInt())};
}
std::string Centre(const Box& b) { return std::to_string((b.l + b.r) / 2) + " " + std::to_string((b.t + b.b) / 2); }

// What one run showed at its end: the last dump and the screenshot.
struct Seen {
  Json dump;
  display::Image image;
  std::uint32_t At(int x, int y) const { return image.At(x, y) & 0xFFFFFFu; }
  // Text is drawn in the default theme's white; its shadow and the cards are dark.
  bool Bright(int x, int y) const {
    const std::uint32_t p = At(x, y);
    return (p & 0xFF) >= 200 && ((p >> 8) & 0xFF) >= 200 && ((p >> 16) & 0xFF) >= 200;
  }
  // Runs of consecutive rows holding text between x0 and x1: the lines of text there.
  int TextLines(int x0, int x1, int y0, int y1) const {
    int lines = 0;
    bool inLine = false;
    for (int y = y0; y < y1; ++y) {
      bool any = false;
      for (int x = x0; x < x1 && !any; ++x) any = Bright(x, y);
      if (any && !inLine) ++lines;
      inLine = any;
    }
    return lines;
  }
};

class PageLook : public ::testing::Test {
 protected:
  // A device started once at the screen size, so the skin that fits it is installed.
  void Start(const std::string& name, const Screen& screen, bool german = false) {
    m_screen = screen;
    m_dir = FreshDir("look_" + name + "_" + screen.Arg() + (german ? "_de" : ""));
    ASSERT_EQ(RunMivo(m_dir, "exit\n", {"--screen", screen.Arg()}).exitCode, 0);
    if (german) {
      const auto r = RunMivoDevice({"--device", m_dir + "/device", "reg", "set", "HKCU\\Software\\mivo\\mivo",
                                    "Language", "sz", "German"});
      ASSERT_EQ(r.code, 0) << r.err;
    }
  }

  // The installed skin's folder.
  std::filesystem::path SkinFolder() const {
    for (const auto& e : std::filesystem::directory_iterator(m_dir + "/device/fs/Program Files/mivo/Skins")) {
      if (e.is_directory()) return e.path();
    }
    return {};
  }

  // Runs the steps, then dumps and takes the screenshot.
  Seen Run(const std::string& steps) {
    Seen seen;
    const std::string shot = m_dir + "/shot.png";
    const auto r = RunMivo(m_dir, steps + "\ndump\nshot " + shot + "\n", {"--screen", m_screen.Arg()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    if (r.dumps.empty()) {
      ADD_FAILURE() << "no dump";
      return seen;
    }
    seen.dump = r.dumps.back();
    std::string error;
    EXPECT_TRUE(display::ReadPng(shot, &seen.image, &error)) << error;
    return seen;
  }

  // Opens the main menu (Enter on the desktop), then taps the tile at `index` (which must be in view).
  std::string OpenTile(int index) const {
    const int s = m_screen.s;
    const int columns = 3;
    const int width = (m_screen.w - 15 * s - 1) / columns;
    const int top = 26 * s + 37 * s;  // the task bar and the page header
    const int x = width * (index % columns) + width / 2;
    const int y = top + 85 * s * (index / columns) + 20 * s;
    return "key RETURN\nwait 600\ntap " + std::to_string(x) + " " + std::to_string(y) + "\nwait 600";
  }

  Screen m_screen{};
  std::string m_dir;
};

// ---- Tile captions -------------------------------------------------------------------------------

// Every tile's picture is replaced by an opaque square of one colour: where a
// caption ran over its picture, the square shows it.
void PaintPicturesSolid(const std::filesystem::path& skin, std::uint32_t colour) {
  for (const char* name : {"contacts_page", "sms_page", "call_log_page", "programs_page", "explore_root_page",
                           "settings_page", "system_info_page", "office_page", "help_page", "exit"}) {
    const std::string file = (skin / (std::string(name) + ".png")).string();
    display::Image picture;
    std::string error;
    ASSERT_TRUE(display::ReadPng(file, &picture, &error)) << error;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(picture.width) * picture.height, 0xFF000000u | colour);
    ASSERT_TRUE(display::WritePng(file, {pixels.data(), picture.width, picture.height, picture.width}, &error))
        << error;
  }
}

class TileCaptions : public PageLook, public ::testing::WithParamInterface<std::tuple<Screen, bool>> {};

TEST_P(TileCaptions, NeverCoverTheirPicturesAndNeverBreakAWord) {
  const auto [screen, german] = GetParam();
  Start("tiles", screen, german);
  constexpr std::uint32_t kMagenta = 0xFF00FF;
  PaintPicturesSolid(SkinFolder(), kMagenta);
  const Seen seen = Run("key RETURN\nwait 600");  // the desktop's Enter opens the main menu
  const int s = screen.s;
  const int shownBottom = BoxOf(seen.dump["top"]["rect"]).b;
  const int square = s == 1 ? 48 : 96;
  int checked = 0;
  for (const Json& cell : seen.dump["top"]["cells"].Items()) {
    const Box c = BoxOf(cell["rect"]);
    if (c.b > shownBottom) continue;  // only tiles wholly in view
    const std::string text = cell["text"].AsString();
    const Box inner{c.l + 5 * s, c.t + 5 * s, c.r - 5 * s, c.b - 5 * s};
    const int left = inner.l + (inner.r - inner.l - square) / 2;
    int covered = 0;
    for (int y = inner.t; y < inner.t + square; ++y)
      for (int x = left; x < left + square; ++x) covered += seen.At(x, y) != kMagenta;
    EXPECT_EQ(covered, 0) << text << ": pixels of the picture covered by its caption";
    const int lines = seen.TextLines(inner.l, inner.r, inner.t + square, c.b);
    if (text.find(' ') == std::string::npos) {
      EXPECT_EQ(lines, 1) << text << " is one word: one line";
    } else {
      EXPECT_GE(lines, 1) << text;
      EXPECT_LE(lines, 2) << text;
    }
    ++checked;
  }
  EXPECT_GE(checked, 3);
}

INSTANTIATE_TEST_SUITE_P(SizesAndLanguages, TileCaptions,
                         ::testing::Combine(::testing::Values(kQvga, kLandscapeVga), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).s == 1 ? "Qvga" : "LandscapeVga") +
                                  (std::get<1>(info.param) ? "German" : "English");
                         });

// ---- List titles and the About page ---------------------------------------------------------------

TEST_F(PageLook, ARowTitleTooLongForOneLineTakesTheSecondLineInEitherLanguage) {
  for (bool german : {false, true}) {
    Start("titles", kQvga, german);
    const Seen seen = Run(OpenTile(6));  // System info
    const Json& rows = seen.dump["top"]["rows"];
    ASSERT_EQ(rows.size(), 3u);
    const Box row = BoxOf(rows[1]["rect"]);  // "Running applications"
    // Left of the help button, whose white "?" would join the two lines.
    EXPECT_EQ(seen.TextLines(row.l + 60, row.r - 40, row.t, row.b), 2) << rows[1]["text"].AsString();
  }
}

TEST_F(PageLook, TheAboutPagesNamesKeepClearOfTheirValues) {
  for (bool german : {false, true}) {
    Start("about", kQvga, german);
    const Seen first = Run(OpenTile(8));  // Help
    const Box about = BoxOf(first.dump["top"]["rows"][0]["rect"]);
    const Seen seen = Run(OpenTile(8) + "\ntap " + Centre(about) + "\nwait 600");
    ASSERT_EQ(seen.dump["top"]["class"].AsString(), "CmivoAboutPage");
    const Box card = BoxOf(seen.dump["top"]["rows"][0]["rect"]);
    const int shownBottom = BoxOf(seen.dump["top"]["rect"]).b;
    // Between the name column and the values: a stripe at least 6 pixels
    // wide free of text, from under the card's title down to what shows of
    // the card, with names to its left and values to its right.
    const int top = card.t + 54, bottom = std::min(card.b, shownBottom);
    int widest = 0, run = 0;
    bool inkLeft = false;
    for (int x = card.l + 10; x < card.r - 10; ++x) {
      if (seen.TextLines(x, x + 1, top, bottom) == 0) {
        ++run;
      } else {
        if (inkLeft) widest = std::max(widest, run);
        inkLeft = true;
        run = 0;
      }
    }
    EXPECT_GE(widest, 6)
        << (german ? "German" : "English");
  }
}

// ---- The document list ------------------------------------------------------------------------------

class DocumentList : public PageLook, public ::testing::WithParamInterface<Screen> {};

TEST_P(DocumentList, IconsFitTheirRowsAndTitlesStopShortOfTheNumbers) {
  const Screen screen = GetParam();
  const int s = screen.s;
  Start("documents", screen);
  // Office, then its sixth row (Pocket Word) with the pad.
  std::string steps = OpenTile(7);
  for (int i = 0; i < 6; ++i) steps += "\nkey DOWN";
  const Seen seen = Run(steps + "\nkey RETURN\nwait 600");
  ASSERT_EQ(seen.dump["top"]["class"].AsString(), "CmivoFileListPage");
  const Json& cells = seen.dump["top"]["cells"];
  ASSERT_GE(cells.size(), 2u);
  ASSERT_EQ(cells[0]["text"].AsString(), "Run Pocket Word");
  for (std::size_t i = 0; i < 2; ++i) {
    const Box c = BoxOf(cells[i]["rect"]);
    const std::uint32_t background = seen.At(c.l, c.t);
    // Nothing of the row's picture outside its card (which starts 3 pixels in).
    int outside = 0;
    for (int x = c.l; x < c.r; ++x)
      for (int y : {c.t, c.t + 1, c.t + 2, c.b - 3, c.b - 2, c.b - 1}) outside += seen.At(x, y) != background;
    EXPECT_EQ(outside, 0) << cells[i]["text"].AsString();
    // The number, right-aligned 10·S in from the cell's right edge, has no title text over it.
    EXPECT_EQ(seen.TextLines(c.r - 30 * s, c.r - 10 * s, c.t, c.b), 0) << cells[i]["text"].AsString();
  }
  // A file's icon is as large as the row is made for: more than half its
  // height at every scale (when the host has icons for documents).
  const Box c = BoxOf(cells[1]["rect"]);
  const Box inner{c.l + 5 * s, c.t + 5 * s, c.r - 5 * s, c.b - 5 * s};
  const std::uint32_t card = seen.At(inner.l, inner.t);
  int top = -1, bottom = -1;
  for (int y = inner.t; y < inner.b; ++y)
    for (int x = inner.l + 5 * s; x < inner.l + 21 * s; ++x)
      if (seen.At(x, y) != card) {
        if (top < 0) top = y;
        bottom = y;
      }
  if (top < 0) GTEST_SKIP() << "the host has no icon for documents";
  EXPECT_GT(bottom - top + 1, (inner.b - inner.t) / 2);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DocumentList, ::testing::Values(kQvga, kVga),
                         [](const auto& info) { return info.param.s == 1 ? "Qvga" : "Vga"; });

// ---- The task list ---------------------------------------------------------------------------------

TEST_F(PageLook, TheTaskListIsCalledTasks) {
  Start("tasks", kQvga);
  std::string steps = OpenTile(7);  // Office, then its third row
  for (int i = 0; i < 3; ++i) steps += "\nkey DOWN";
  const Seen seen = Run(steps + "\nkey RETURN\nwait 600");
  EXPECT_EQ(seen.dump["top"]["header"].AsString(), "Tasks");
}

// ---- Scroll indicators at the end of a list ----------------------------------------------------------

// The rows of a column of the strip that differ from the track, between the
// list's top and the bottom of what shows of it.
int IndicatorRows(const Seen& seen, int x, int top, int bottom) {
  const std::uint32_t track = seen.At(x, (top + bottom) / 2);
  int rows = 0;
  for (int y = top; y < bottom; ++y) rows += seen.At(x, y) != track;
  return rows;
}

class ScrollIndicators : public PageLook, public ::testing::WithParamInterface<Screen> {};

TEST_P(ScrollIndicators, StayWholeInViewAtTheEndOfTheGridAndOfAList) {
  const Screen screen = GetParam();
  const int s = screen.s;
  Start("indicator", screen);
  const std::string toMenu = "key RETURN\nwait 600";  // the desktop's Enter opens the main menu
  // The grid's ball, at the top and after a touch at the bottom of the strip.
  const Seen top = Run(toMenu);
  const Box shown = BoxOf(top.dump["top"]["rect"]);
  const int listTop = BoxOf(top.dump["top"]["cells"][0]["rect"]).t;
  const std::string toEnd = "\ntap " + std::to_string(screen.w - 4 * s) + " " + std::to_string(shown.b - 2 * s);
  const Seen end = Run(toMenu + toEnd + "\nwait 300");
  ASSERT_NE(BoxOf(end.dump["top"]["cells"][0]["rect"]).t, listTop) << "the grid did not scroll";
  const int ballX = screen.w - 8 * s;
  const int ball = IndicatorRows(top, ballX, listTop, shown.b);
  EXPECT_GE(ball, 10 * s);
  EXPECT_EQ(IndicatorRows(end, ballX, listTop, shown.b), ball) << "the ball is cut at the end";

  // The list's thumb, the same way, on the Settings menu.
  const Seen listAtTop = Run(OpenTile(5));
  const int rowsTop = BoxOf(listAtTop.dump["top"]["rows"][0]["rect"]).t;
  const Seen listAtEnd = Run(OpenTile(5) + toEnd + "\nwait 300");
  ASSERT_NE(BoxOf(listAtEnd.dump["top"]["rows"][0]["rect"]).t, rowsTop) << "the list did not scroll";
  const int thumbX = screen.w - 15 * s / 2;
  const int thumb = IndicatorRows(listAtTop, thumbX, rowsTop, shown.b);
  EXPECT_GE(thumb, 4 * s);
  EXPECT_EQ(IndicatorRows(listAtEnd, thumbX, rowsTop, shown.b), thumb) << "the thumb is cut at the end";
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScrollIndicators, ::testing::Values(kQvga, kLandscapeVga),
                         [](const auto& info) { return info.param.s == 1 ? "Qvga" : "LandscapeVga"; });

}  // namespace
