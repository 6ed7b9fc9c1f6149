// What the overlays leave on the real screen, probed at each screen size.
#include <gtest/gtest.h>

#include "actions/action_kinds.h"
#include "core/messages.h"
#include "look/string_ids.h"
#include "look/language.h"
#include "look/appearance.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/input_panel.h"
#include "platform/win32/rect.h"
#include "platform/window/input.h"
#include "tests/support/json.h"
#include "tests/ui/ui_harness.h"
#include "ui/enter_text.h"
#include "ui/message_box.h"
#include "ui/please_wait.h"

using testing_support::Json;
using uitest::Capture;
using uitest::ColorPage;
using uitest::OpenOverlay;
using uitest::Pixel;
using uitest::TapOverlayButton;
using uitest::UiHarness;

namespace {

struct Size {
  int w, h;
};
const Size kAllSizes[] = {{240, 320}, {320, 240}, {480, 640}, {640, 480}};

std::string Name(const Size& s) { return std::to_string(s.w) + "x" + std::to_string(s.h); }

constexpr COLORREF kPage = RGB(0, 70, 0);

// The height of a line of `font` (the body's SubtitleFont) or, with
// `extent`, of an "X" (the title's height as the box measures it).
int TextHeight(HFONT font, bool extent = false) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  SIZE x{};
  GetTextMetricsW(dc, &tm);
  GetTextExtentPoint32W(dc, u"X", 1, &x);
  SelectObject(dc, old);
  DeleteDC(dc);
  return extent ? x.cy : tm.tmHeight;
}

// Pixels of a row that differ from the card fill: the ink of the text.
int InkInRow(const Capture& c, int y, int left, int right, std::uint32_t fill) {
  int ink = 0;
  for (int x = left; x < right; ++x) ink += c.At(x, y) != fill;
  return ink;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

RECT RectOf(const Json& r) {
  return MakeRect(static_cast<int>(r[0].AsInt()), static_cast<int>(r[1].AsInt()), static_cast<int>(r[2].AsInt()),
                  static_cast<int>(r[3].AsInt()));
}

class EachSize : public ::testing::TestWithParam<Size> {};

}  // namespace

TEST_P(EachSize, AShorterBoxAfterATallerOneLeavesNoGhostOfItBelow) {
  const Size size = GetParam();
  UiHarness h("box_ghost_" + Name(size), size.w, size.h);
  ASSERT_TRUE(h.Start());
  ColorPage page(&h.Core(), kPage);
  h.Core().ShowPage(&page);
  h.Pump();
  int boxes = 0;
  // The help tutorial: "Welcome" gives way to the shorter "Desktop".
  h.AtIdle([&] {
    ++boxes;
    EXPECT_EQ(OpenOverlay().title, u"Welcome");
    TapOverlayButton(0);
  });
  h.AtIdle([&] {
    ++boxes;
    const ui::OverlayDescription d = OpenOverlay();
    EXPECT_EQ(d.title, u"Desktop");
    const std::string shot = UiHarness::Shot("box_ghost_" + Name(size));
    const Capture screen = UiHarness::Screen();
    const RECT frame = h.FrameClientOnScreen();
    // Below the box the page shows again, every pixel of it.
    const int boxBottom = d.buttons[0].bottom + 10 * DisplayScale;
    int ghost = 0;
    for (int y = boxBottom; y < frame.bottom; ++y) {
      for (int x = frame.left; x < frame.right; ++x) ghost += screen.At(x, y) != Pixel(kPage);
    }
    EXPECT_EQ(ghost, 0) << "pixels of the first box left under the second, see " << shot;
    TapOverlayButton(1);
  });
  mivoActionHelpTutorial tutorial(&h.Core());
  tutorial.Execute();
  EXPECT_EQ(boxes, 2);
  h.Core().PopPage();
}

TEST_P(EachSize, AScrolledTextShowsWholeLinesAndAFittingTextNoScrollLine) {
  const Size size = GetParam();
  UiHarness h("box_lines_" + Name(size), size.w, size.h);
  ASSERT_TRUE(h.Start());
  mivoAppearance& look = *h.Core().GetAppearance();
  const int S = DisplayScale;
  const int lh = TextHeight(look.SubtitleFont);
  const std::uint32_t fill = Pixel(look.ColorTheme().GetColor(5));

  // Thirty equal lines: every whole line shows the same ink.
  std::u16string body;
  for (int i = 0; i < 30; ++i) body += u"Typed reply, gjpqy\n";
  int checked = 0, beforeDrag = 0;
  auto checkWholeLines = [&](const char* when) {
    SCOPED_TRACE(when);
    const ui::OverlayDescription d = OpenOverlay();
    auto* box = dynamic_cast<const CmivoMessageBox*>(ui::TopOverlay());
    ASSERT_NE(box, nullptr);
    EXPECT_GT(box->MaxScroll(), 0);
    const RECT frame = h.FrameClientOnScreen();
    EXPECT_LE(d.buttons[0].bottom, frame.bottom) << "the buttons stay on screen";
    const int top = frame.top + 5 * S + TextHeight(look.TitleFont, true);
    // The text's clip ends 10·S above the buttons (5·S above the line over them).
    const int bottom = d.buttons[0].top - 10 * S;
    const Capture screen = UiHarness::Screen();
    const int left = frame.left + 10 * S, right = frame.right - 12 * S;
    std::vector<int> bands;
    for (int y0 = top; y0 < bottom; y0 += lh) {
      int ink = 0;
      for (int y = y0; y < std::min(bottom, y0 + lh); ++y) ink += InkInRow(screen, y, left, right, fill);
      bands.push_back(ink);
    }
    ASSERT_GE(bands.size(), 2u);
    // The last band is a whole line like the second (the first has no
    // shadow of a line above it), not the top of a line cut through.
    EXPECT_NEAR(bands.back(), bands[1], bands[1] / 20) << UiHarness::Shot(std::string("box_lines_") + when);
    ++checked;
  };
  h.AtIdle([&] {
    checkWholeLines("top");
    for (int i = 0; i < 3; ++i) {
      window::input::KeyDown(VK_DOWN);
      window::input::KeyUp(VK_DOWN);
    }
  });
  h.AtIdle([&] {
    checkWholeLines("scrolled");
    beforeDrag = dynamic_cast<const CmivoMessageBox*>(ui::TopOverlay())->ScrollPos();
    // A drag stops on a whole line too: the one nearest to where the finger left it.
    const RECT frame = h.FrameClientOnScreen();
    const int x = (frame.left + frame.right) / 2, y = frame.top + 60 * S;
    window::input::StylusDown(x, y);
    window::input::StylusMove(x, y - 10 * S);
    window::input::StylusMove(x, y - lh * 3 / 2 - 7 * S);
    window::input::StylusUp(x, y - lh * 3 / 2 - 7 * S);
  });
  h.AtIdle([&] {
    auto* box = dynamic_cast<const CmivoMessageBox*>(ui::TopOverlay());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->ScrollPos() % lh, 0);
    EXPECT_LE(std::abs(box->ScrollPos() - beforeDrag - (lh * 3 / 2 + 7 * S)), lh / 2);
    checkWholeLines("dragged");
    // The keys never scroll past the end.
    for (int i = 0; i < 200; ++i) {
      window::input::KeyDown(VK_DOWN);
      window::input::KeyUp(VK_DOWN);
    }
  });
  h.AtIdle([&] {
    auto* box = dynamic_cast<const CmivoMessageBox*>(ui::TopOverlay());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->ScrollPos(), box->MaxScroll());
    TapOverlayButton(0);
  });
  h.Core().ShowMessage(body, u"Report");
  EXPECT_EQ(checked, 3);

  // A text that fits shows whole, with no scroll line beside it: in
  // portrait the tutorial's first box, which fits but for its last shadow.
  const bool portrait = size.h > size.w;
  h.AtIdle([&] {
    auto* box = dynamic_cast<const CmivoMessageBox*>(ui::TopOverlay());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->MaxScroll(), 0);
    const ui::OverlayDescription d = OpenOverlay();
    const RECT frame = h.FrameClientOnScreen();
    const Capture screen = UiHarness::Screen();
    int line = 0;
    for (int y = frame.top + 5 * S + TextHeight(look.TitleFont, true); y < d.buttons[0].top - 10 * S; ++y) {
      for (int x = frame.right - 8 * S; x < frame.right - 6 * S; ++x) line += screen.At(x, y) == Pixel(look.TextColor);
    }
    EXPECT_EQ(line, 0) << "a scroll line beside a text that fits, see " << UiHarness::Shot("box_fits_" + Name(size));
    TapOverlayButton(0);
  });
  h.Core().ShowMessage(portrait ? GetString(IDS_TUTORIAL_WELCOME_TEXT) : u"One short line.\nAnd another.", u"Note");
}

TEST_P(EachSize, TheTextEntryKeepsPromptFieldAndButtonsAboveTheInputPanel) {
  const Size size = GetParam();
  UiHarness h("entry_layout_" + Name(size), size.w, size.h);
  ASSERT_TRUE(h.Start());
  const int S = DisplayScale;
  for (bool multiLine : {false, true}) {
    SCOPED_TRACE(multiLine ? "multi-line" : "one line");
    h.AtIdle([&] {
      const Json dump = Json::Parse(UiHarness::Dump());
      const Json& o = dump["overlay"];
      ASSERT_EQ(o["kind"].AsString(), "text");
      RECT panel{};
      ASSERT_TRUE(shell::InputPanelRect(&panel));
      const RECT frame = h.FrameClientOnScreen();
      const RECT above = MakeRect(frame.left, frame.top, frame.right, panel.top);
      const RECT field = RectOf(o["field"]), prompt = RectOf(o["prompt"]);
      const RECT ok = RectOf(o["buttons"][0]), cancel = RectOf(o["buttons"][1]);
      const std::string shot = UiHarness::Shot(std::string("entry_layout_") + Name(size) + (multiLine ? "_multi" : ""));
      // All of it in the room the input panel leaves, nothing over another.
      for (const RECT& r : {field, prompt, ok, cancel}) {
        EXPECT_TRUE(Inside(r, above)) << "[" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "] "
                                      << shot;
      }
      RECT overlap{};
      for (const RECT& b : {ok, cancel}) {
        EXPECT_FALSE(IntersectRect(&overlap, &b, &field)) << shot;
        EXPECT_FALSE(IntersectRect(&overlap, &b, &prompt)) << shot;
        // Big enough for a finger.
        EXPECT_GE(RectHeight(b), 30 * S) << shot;
        EXPECT_GE(RectWidth(b), 40 * S) << shot;
      }
      EXPECT_FALSE(IntersectRect(&overlap, &field, &prompt)) << shot;
      // The prompt shows at least a line of its text.
      EXPECT_GE(RectHeight(prompt), 12 * S) << shot;
      const Capture screen = UiHarness::Screen();
      const std::uint32_t fill = Pixel(h.Core().GetAppearance()->ColorTheme().GetColor(5));
      int ink = 0;
      for (int y = prompt.top; y < prompt.bottom; ++y) ink += InkInRow(screen, y, prompt.left, prompt.right, fill);
      EXPECT_GT(ink, 20 * S) << shot;
      EXPECT_GE(RectHeight(field), 20 * S) << shot;
      // The OK button answers (where it is under the keys, the box is
      // closed another way, so the test ends).
      const POINT c = uitest::Centre(ok);
      if (PtInRect(&above, c)) {
        UiHarness::TapNoPump(c.x, c.y);
      } else if (auto* entry = dynamic_cast<const CmivoEnterTextWnd*>(ui::TopOverlay())) {
        PostMessageW(entry->m_hWnd, WM_MIVO_OVERLAY_FIRST, 0, 0);
      }
    });
    std::u16string text = u"Report.doc";
    EXPECT_TRUE(h.Core().EnterText(u"Rename file", u"Please enter new name of the file.", &text, multiLine));
  }
}

TEST_P(EachSize, AnErrorBoxEndsThePleaseWaitItInterrupts) {
  const Size size = GetParam();
  UiHarness h("wait_error_" + Name(size), size.w, size.h);
  ASSERT_TRUE(h.Start());
  mivoAppCore& core = h.Core();
  ColorPage page(&core, kPage);
  core.ShowPage(&page);
  h.Pump();
  core.ShowPleaseWait(u"Reading file list...");
  CmivoPleaseWaitWnd* bar = core.GetPleaseWaitWnd();
  ASSERT_NE(bar, nullptr);
  RECT r{};
  bar->GetWindowRect(&r);
  bool seen = false;
  h.AtIdle([&] {
    seen = true;
    const Json dump = Json::Parse(UiHarness::Dump());
    EXPECT_EQ(dump["overlay"]["kind"].AsString(), "message");
    EXPECT_FALSE(bar->IsWindowVisible());
    // Where the bar was, the page shows.
    const Capture screen = UiHarness::Screen();
    int left = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) left += screen.At(x, y) != Pixel(kPage);
    }
    EXPECT_EQ(left, 0) << "the bar is still on screen, see " << UiHarness::Shot("wait_error_" + Name(size));
    TapOverlayButton(0);
  });
  core.ShowError(u"The file cannot be read.");
  EXPECT_TRUE(seen);
  EXPECT_EQ(core.PleaseWaitDepth(), 0);
  core.PopPage();
}

INSTANTIATE_TEST_SUITE_P(Screens, EachSize, ::testing::ValuesIn(kAllSizes),
                         [](const ::testing::TestParamInfo<Size>& i) { return Name(i.param); });
