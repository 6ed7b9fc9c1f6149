// The colour chooser and the custom colour page, used as a user would.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_core.h"
#include "look/appearance.h"
#include "platform/win32/rect.h"
#include "tests/lists/list_fixture.h"
#include "ui/color_pages.h"

using liststest::ListHarness;
using testing_support::Json;

namespace {

// A chooser as the desktop's or a gadget's would be: it keeps what was picked.
class RecordingChooser : public CmivoChooseColorPage {
 public:
  using CmivoChooseColorPage::CmivoChooseColorPage;
  void OnItemTap(int index, const mivoListElement& element) override {
    if (element.Id == kColorEntry) {
      picks.push_back({index, static_cast<COLORREF>(element.Data)});
      return;
    }
    CmivoChooseColorPage::OnItemTap(index, element);
  }
  std::vector<std::pair<int, COLORREF>> picks;
};

POINT Centre(const Json& rect) {
  return POINT{static_cast<LONG>((rect[0].AsInt() + rect[2].AsInt()) / 2),
               static_cast<LONG>((rect[1].AsInt() + rect[3].AsInt()) / 2)};
}

// A chooser shown on the page stack.
std::unique_ptr<RecordingChooser> ShowChooser(ListHarness& app) {
  auto chooser = std::make_unique<RecordingChooser>(&app.Core());
  app.Core().ShowPage(chooser.get());
  app.Pump();
  return chooser;
}

// The custom colour page, opened from the chooser's custom entry.
CmivoCustomColorPage* OpenCustom(ListHarness& app, RecordingChooser& chooser) {
  chooser.OnItemTap(0, *chooser.List().GetElement(0));
  app.Pump();
  return chooser.CustomColorPage();
}

std::string Texts(const Json& dump) {
  std::string out;
  for (const Json& t : dump["top"]["texts"].Items()) out += t.AsString() + " ";
  return out;
}

}  // namespace

TEST(ColorChooser, ShowsTheCustomEntryThenTwentyTwoSwatchesInTheirColoursAndHandsATappedColourToTheSubclass) {
  for (const auto& [w, h] : {std::pair{240, 320}, std::pair{480, 640}}) {
    ListHarness app("chooser_" + std::to_string(w), w, h);
    auto chooser = ShowChooser(app);
    app.Shot("choose_color_" + std::to_string(w) + "x" + std::to_string(h));
    const Json dump = app.Dump();
    EXPECT_EQ(dump["top"]["header"].AsString(), "Pick a color");
    const Json& cells = dump["top"]["cells"];
    ASSERT_EQ(cells.size(), 23u);
    EXPECT_EQ(cells[0]["text"].AsString(), "Custom color");
    EXPECT_EQ(cells[1]["text"].AsString(), "#00BF00");
    EXPECT_EQ(cells[4]["text"].AsString(), "#BF0000");
    EXPECT_EQ(cells[19]["text"].AsString(), "#FFFFFF");
    EXPECT_EQ(cells[22]["text"].AsString(), "#000000");
    const POINT p = Centre(cells[4]["rect"]);
    app.Tap(p.x, p.y);
    ASSERT_EQ(chooser->picks.size(), 1u);
    EXPECT_EQ(chooser->picks[0].first, 4);
    EXPECT_EQ(chooser->picks[0].second, RGB(191, 0, 0));
    // A swatch shows its colour, also one scrolled into view.
    EXPECT_EQ(app.Pixel(p.x, p.y - 5 * DisplayScale), RGB(191, 0, 0));
    chooser->List().SetScrollTop(chooser->List().MaxScrollTop());
    const POINT white = Centre(app.Dump()["top"]["cells"][19]["rect"]);
    EXPECT_EQ(app.Pixel(white.x, white.y - 5 * DisplayScale), RGB(255, 255, 255));
  }
}

TEST(ColorChooser, TheCustomEntryOpensTheCustomPageWhoseColourComesBackWhenItIsLeft) {
  ListHarness app("custom_color");
  auto chooser = ShowChooser(app);
  const POINT custom = Centre(app.Dump()["top"]["cells"][0]["rect"]);
  app.Tap(custom.x, custom.y);
  Json dump = app.Dump();
  EXPECT_EQ(dump["top"]["class"].AsString(), "CmivoCustomColorPage");
  EXPECT_EQ(dump["top"]["header"].AsString(), "Custom color");
  EXPECT_EQ(Texts(dump), "#646464 red ");
  ASSERT_EQ(dump["softkeys"].size(), 2u);
  EXPECT_EQ(dump["softkeys"][0].AsString(), "Apply");
  EXPECT_TRUE(chooser->picks.empty());

  // Keys: Down raises the red channel, Right moves to green.
  for (int i = 0; i < 5; ++i) app.Key(VK_DOWN);
  app.Key(VK_RIGHT);
  app.Key(VK_UP);
  EXPECT_EQ(Texts(app.Dump()), "#696364 green ");

  // The left soft key applies: the colour goes back to the chooser, which is on top again.
  app.Key(VK_F1);
  app.Pump();
  ASSERT_EQ(chooser->picks.size(), 1u);
  EXPECT_EQ(chooser->picks[0].first, -1);
  EXPECT_EQ(chooser->picks[0].second, RGB(0x69, 0x63, 0x64));
  EXPECT_EQ(app.Core().TopPage(), chooser.get());
}

TEST(CustomColorPage, EachChannelStaysWithinItsRangeUnderRepeatedKeysAndTheChannelsCycle) {
  ListHarness app("custom_keys");
  auto chooser = ShowChooser(app);
  CmivoCustomColorPage* page = OpenCustom(app, *chooser);
  ASSERT_NE(page, nullptr);
  for (int i = 0; i < 200; ++i) app.Key(VK_DOWN);
  EXPECT_EQ(page->GetColor(), RGB(255, 100, 100));
  for (int i = 0; i < 300; ++i) app.Key(VK_UP);
  EXPECT_EQ(page->GetColor(), RGB(0, 100, 100));
  app.Key(VK_LEFT);
  EXPECT_EQ(page->GetActiveChannel(), 2) << "Left from red wraps to blue";
  app.Key(VK_RIGHT);
  app.Key(VK_RIGHT);
  EXPECT_EQ(page->GetActiveChannel(), 1);
}

TEST(CustomColorPage, ATouchPicksTheChannelByItsThirdAndTheValueByHeightNeverOutOfRange) {
  for (const auto& [w, h] : {std::pair{240, 320}, std::pair{480, 640}}) {
    ListHarness app("custom_touch_" + std::to_string(w), w, h);
    auto chooser = ShowChooser(app);
    CmivoCustomColorPage* page = OpenCustom(app, *chooser);
    ASSERT_NE(page, nullptr);
    RECT bars = page->BarsRect();
    const RECT screen = liststest::ScreenRectOf(page->m_hWnd);
    OffsetRect(&bars, screen.left, screen.top);
    // The last pixel column belongs to the blue bar; the top is 0.
    app.Tap(bars.right - 1, bars.top);
    EXPECT_EQ(page->GetActiveChannel(), 2);
    EXPECT_EQ(page->GetColor(), RGB(100, 100, 0));
    // Half way down the green bar, then a drag on past its bottom: 255.
    const int greenX = (bars.left + bars.right) / 2;
    app.Tap(greenX, (bars.top + bars.bottom) / 2);
    EXPECT_EQ(page->GetActiveChannel(), 1);
    EXPECT_NEAR(GetGValue(page->GetColor()), 127, 2);
    app.Drag(greenX, bars.top + 5, greenX, screen.bottom + 200, 100);
    EXPECT_EQ(GetGValue(page->GetColor()), 255);
    EXPECT_EQ(app.Core().TopPage(), page) << "dragging on the bars never swipes the page away";
    app.Drag(bars.left + 2, bars.bottom - 5, bars.right - 2, bars.bottom - 8, 100);
    EXPECT_EQ(app.Core().TopPage(), page);
    app.Shot("custom_color_" + std::to_string(w) + "x" + std::to_string(h));
  }
}
