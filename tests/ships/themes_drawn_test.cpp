// Every shipped colour theme on the real pages: the expanded help text of a
// list row reads on its card, and the numbers behind the rows of a Details
// view are faint marks that the row's text still reads over. The program
// draws them; the screenshots are measured.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "look/color_theme.h"
#include "platform/display/png.h"
#include "ships_util.h"
#include "tests/support/mivo_runner.h"
#include "tests/support/navigate.h"

namespace {

using namespace ships;
using testing_support::ActOnText;
using testing_support::FindText;
using testing_support::Json;
using testing_support::MivoSession;

COLORREF ColorOf(std::uint32_t argb) { return RGB((argb >> 16) & 255, (argb >> 8) & 255, argb & 255); }

// The colours of a screen region, most frequent first.
std::vector<std::pair<COLORREF, int>> Colours(const display::Image& img, int l, int t, int r, int b) {
  std::map<COLORREF, int> count;
  for (int y = std::max(0, t); y < std::min(img.height, b); ++y)
    for (int x = std::max(0, l); x < std::min(img.width, r); ++x) ++count[ColorOf(img.At(x, y))];
  std::vector<std::pair<COLORREF, int>> sorted(count.begin(), count.end());
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  return sorted;
}

std::string Hex(COLORREF c) {
  char s[8];
  std::snprintf(s, sizeof s, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return s;
}

void Device(const std::string& dir, const std::vector<std::string>& args) {
  const auto r = testing_support::RunDeviceIn(dir, args);
  ASSERT_EQ(r.code, 0) << r.err;
}

}  // namespace

TEST(ColourThemesDrawn, HelpTextAndDetailsNumbersReadOnEveryThemeAsThePagesDrawThem) {
  const std::string dir = testing_support::FreshDir("ships_themes_drawn");
  Device(dir, {"init"});
  const int S = 1;  // 240x320
  for (const auto& entry : stdfs::directory_iterator(DataDir() / "colorthemes")) {
    if (entry.path().extension() != ".mct") continue;
    const std::string theme = entry.path().stem().string();
    SCOPED_TRACE(theme);
    Device(dir, {"reg", "set", "HKCU\\Software\\mivo\\mivo", "ThemeName", "sz", theme});
    MivoSession s(dir);
    ASSERT_TRUE(s.Running());

    // A context menu's row with its help opened by its side button.
    s.Send("key RETURN");  // the desktop's Enter opens the main menu
    s.Send("wait 500");
    ASSERT_TRUE(ActOnText(s, "Contacts", "hold"));
    Json d = s.Dump();
    int row[4];
    ASSERT_TRUE(FindText(d, "Add to favorites", row));
    s.Send("tap " + std::to_string(row[2] - 5 - 12 * S) + " " + std::to_string(row[1] + 32 * S));
    s.Send("wait 500");
    d = s.Dump();
    ASSERT_TRUE(FindText(d, "Add to favorites", row));
    ASSERT_GT(row[3] - row[1], 63 * S + 20 * S) << "the row opened its help";
    const std::string helpShot = dir + "/help_" + theme + ".png";
    s.Send("shot " + helpShot);

    // A Details view: the Word documents.
    s.Send("key F1");
    s.Send("wait 500");
    ASSERT_TRUE(ActOnText(s, "Office"));
    ASSERT_TRUE(ActOnText(s, "Pocket Word"));
    d = s.Dump();
    int cell[4];
    ASSERT_TRUE(FindText(d, "Report.doc", cell));
    const std::string detailsShot = dir + "/details_" + theme + ".png";
    s.Send("shot " + detailsShot);
    EXPECT_EQ(s.Finish(), 0);

    display::Image img;
    std::string error;
    ASSERT_TRUE(display::ReadPng(helpShot, &img, &error)) << error;
    // The help text under the row's title: its card's colour is the most
    // frequent there, the text the colour that stands out most from it.
    const auto help = Colours(img, row[0] + 12 * S, row[1] + 63 * S, row[2] - 12 * S, row[3] - 10 * S);
    ASSERT_FALSE(help.empty());
    const COLORREF card = help[0].first;
    double best = 1;
    int ink = 0;
    for (const auto& [c, n] : help) {
      best = std::max(best, Contrast(c, card));
      if (Contrast(c, card) >= 2) ink += n;
    }
    EXPECT_GE(best, 4.5) << "help text on its card " << Hex(card) << ", see " << helpShot;
    EXPECT_GT(ink, 150 * S * S) << "the help text is there, see " << helpShot;

    ASSERT_TRUE(display::ReadPng(detailsShot, &img, &error)) << error;
    // The row's number at its right: after the card, the most frequent
    // colour there is the number's.
    const auto mark = Colours(img, cell[2] - 40 * S, cell[1] + 4 * S, cell[2] - 8 * S, cell[3] - 4 * S);
    ASSERT_GE(mark.size(), 2u);
    const COLORREF fill = mark[0].first, number = mark[1].first;
    EXPECT_GE(Contrast(number, fill), 1.08) << "the number " << Hex(number) << " shows on " << Hex(fill) << ", see "
                                            << detailsShot;
    EXPECT_LE(Contrast(number, fill), 2.0) << "the number " << Hex(number) << " stays faint on " << Hex(fill)
                                           << ", see " << detailsShot;
    mivoColorTheme colours;
    ASSERT_TRUE(colours.ReadFrom(ReadHost(entry.path())));
    EXPECT_GE(Contrast(colours.GetColor(2), number), 4.5) << "the row's text over the number, see " << detailsShot;
  }
}
