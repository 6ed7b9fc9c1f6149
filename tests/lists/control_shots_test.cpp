// Screenshots of the two lists at both scales (under the build folder's
// tests/lists/shots), with probes of what the eye should find there.
#include <gtest/gtest.h>

#include "app/app_core.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/win32/rect.h"
#include "tests/lists/list_fixture.h"
#include "ui/adv_list_box.h"
#include "ui/adv_list_box_items.h"
#include "ui/list_ctrl.h"

using liststest::ListHarness;

namespace {

class TitledGrid : public CmivoListCtrl {
 public:
  using CmivoListCtrl::CmivoListCtrl;
  void DrawItem(int, const mivoListElement& e, HDC dc, const RECT& rect) override {
    mivoAppearance* look = Look();
    if (!look) return;
    if (IsDetailsView()) {
      DrawRowTitleSubtitle(*look, dc, e.Text, e.SubText, rect);
    } else {
      DrawGridCellImage(*look, dc, nullptr, e.Text, rect, kSkinDrawOverColor5);
    }
  }
};

}  // namespace

TEST(ListShots, ListCardsWithSummaryHelpAndNameValueRowsAtBothScales) {
  for (const SIZE size : {SIZE{240, 320}, SIZE{480, 640}}) {
    ListHarness h("shot_list_" + std::to_string(size.cx), size.cx, size.cy);
    mivoAppCore& core = h.Core();
    auto* box = new CmivoAdvListBox(&core);
    box->CreateListBox(&h.Frame(), h.FrameClient());
    box->SetOwnerPage(core.TopPage());
    box->AddItem(new CmivoAdvListBoxSimpleTextItem(&core, u"Total skins: 4"));
    auto* help = new CmivoAdvListBoxTextWithHelp(
        &core, u"Vibrate on tap", u"The device vibrates shortly each time a tile or a row is tapped.");
    box->AddItem(help);
    box->AddItem(new CmivoAdvListBoxTextWithHelp(&core, u"Animations"));
    box->AddItem(new CmivoAdvListBoxTextWithHelp(
        &core, u"A title that is too long for one line wraps and the row grows with it", u"Help"));
    auto* info = new CmivoAdvListBoxNameValueListItem(&core, u"Battery");
    info->AddPair(u"Level", u"87%");
    info->AddPair(u"Power", u"AC adapter connected and charging");
    box->AddItem(info);
    for (int i = 0; i < 6; ++i) box->AddItem(new CmivoAdvListBoxTextWithHelp(&core, u"Row"));
    box->SetFocus();
    h.Pump();
    help->SetExpanded(true);
    h.Key(VK_DOWN);  // selects the help row
    h.Pump();
    h.Shot("list_cards_" + std::to_string(size.cx) + "x" + std::to_string(size.cy));

    const int s = DisplayScale;
    const RECT r = liststest::ScreenRectOf(box->m_hWnd);
    mivoColorTheme& theme = core.GetAppearance()->ColorTheme();
    const RECT helpRect = box->GetItemRect(help);
    // The selected card is drawn in colours 6 and 7.
    EXPECT_EQ(h.Pixel(r.left + 5 * s, r.top + helpRect.top + 30 * s), theme.GetColor(6));
    EXPECT_EQ(h.Pixel(r.left + 20 * s, r.top + helpRect.top + 8 * s), theme.GetColor(7));
    EXPECT_GT(help->GetHeight(), 63 * s + 20 * s);
    // The row with a long title grew; the name-value card measured itself.
    EXPECT_GT(box->GetItem(3)->GetHeight(), 63 * s);
    EXPECT_GT(info->GetHeight(), 63 * s);
    delete box;
  }
}

TEST(ListShots, GridInBothViewsAtBothScales) {
  for (const SIZE size : {SIZE{240, 320}, SIZE{480, 640}}) {
    for (bool details : {false, true}) {
      ListHarness h("shot_grid_" + std::to_string(size.cx) + (details ? "_d" : "_g"), size.cx, size.cy);
      mivoAppCore& core = h.Core();
      auto* grid = new TitledGrid(&core);
      grid->CreateListCtrl(&h.Frame(), h.FrameClient());
      mivoAppearance* look = core.GetAppearance();
      if (details) {
        grid->SetView(1, 48 * DisplayScale, true);
      } else {
        grid->SetView(look->GridColumns, look->GridCellHeight, false);
      }
      const char16_t* names[] = {u"Contacts", u"SMS", u"Call log", u"Programs", u"Explore root",
                                 u"Settings", u"System info", u"Office", u"Help", u"Exit"};
      for (const char16_t* n : names) {
        mivoListElement e;
        e.Text = n;
        e.SubText = u"subtitle";
        grid->AddItem(e);
      }
      grid->SetFocus();
      h.Key(VK_DOWN);  // the cursor on the first element
      h.Pump();
      h.Shot(std::string("grid_") + (details ? "details_" : "3x3_") + std::to_string(size.cx) + "x" +
             std::to_string(size.cy));
      const RECT r = liststest::ScreenRectOf(grid->m_hWnd);
      const int s = DisplayScale;
      // The cursor cell in colour 7.
      const RECT c1 = grid->GetCellRect(0);
      EXPECT_EQ(h.Pixel(r.left + c1.left + 6 * s, r.top + c1.top + 6), look->ColorTheme().GetColor(7));
      // The track line of the strip when the content scrolls.
      if (grid->ContentHeight() > RectHeight(r)) {
        EXPECT_EQ(h.Pixel(r.right - 9 * s, r.top + RectHeight(r) / 2), look->ColorTheme().GetColor(8));
      }
      delete grid;
    }
  }
}
