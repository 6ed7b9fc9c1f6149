// The overlays (message box, text entry, please-wait bar), each answered from
// inside its own loop as a user would; screenshots at both sizes.
#include <gtest/gtest.h>

#include "look/appearance.h"
#include "platform/shell/input_panel.h"
#include "platform/win32/errors.h"
#include "platform/window/input.h"
#include "tests/support/json.h"
#include "tests/ui/ui_harness.h"
#include "ui/overlay.h"
#include "ui/please_wait.h"

using testing_support::Json;
using uitest::ColorPage;
using uitest::Pixel;
using uitest::OpenOverlay;
using uitest::TapOverlayButton;
using uitest::UiHarness;

// At both sizes: an OK box's one button spans the body and answers 1 at
// either end; a question answers yes or no by tap and Enter as its first button.
TEST(MessageBox, AnOkBoxAnswersOneAcrossItsBodyAndAQuestionYesOrNoByTapAndEnterAsTheFirstButton) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(w);
    UiHarness h("box_ok_" + std::to_string(w), w, hgt);
    ASSERT_TRUE(h.Start());
    const int S = DisplayScale;
    for (int end = 0; end < 2; ++end) {
      h.AtIdle([&, end] {
        const ui::OverlayDescription d = OpenOverlay();
        EXPECT_STREQ(d.kind, "message");
        EXPECT_EQ(d.title, u"Note");
        ASSERT_EQ(d.buttons.size(), 1u);
        const RECT b = d.buttons[0];
        const RECT frame = h.FrameClientOnScreen();
        // The body's width: 10·S in from each side.
        EXPECT_EQ(b.left, frame.left + 10 * S);
        EXPECT_EQ(b.right, frame.right - 10 * S);
        EXPECT_EQ(RectHeight(b), 70 * S);
        if (end == 0) UiHarness::Shot("message_box_" + std::to_string(w));
        const int x = end == 0 ? b.left + 2 : b.right - 3;
        UiHarness::TapNoPump(x, (b.top + b.bottom) / 2);
      });
      EXPECT_EQ(h.Core().RunMessageBox(u"Note", u"The file has been copied.", true), 1);
    }
    EXPECT_EQ(ui::TopOverlay(), nullptr);

    h.AtIdle([&] {
      const ui::OverlayDescription d = OpenOverlay();
      EXPECT_STREQ(d.kind, "question");
      ASSERT_EQ(d.buttons.size(), 2u);
      // Yes on the left half, no on the right half.
      EXPECT_EQ(d.buttons[0].right, d.buttons[1].left);
      EXPECT_LT(d.buttons[0].left, d.buttons[1].left);
      // The dump says the same.
      const Json dump = Json::Parse(UiHarness::Dump());
      EXPECT_EQ(dump["overlay"]["kind"].AsString(), "question");
      EXPECT_EQ(dump["overlay"]["title"].AsString(), "Delete file");
      EXPECT_EQ(dump["overlay"]["buttons"].size(), 2u);
      UiHarness::Shot("question_" + std::to_string(w));
      TapOverlayButton(1);
    });
    EXPECT_FALSE(h.Core().AskYesNo(u"Would you like to delete file notes.txt?", u"Delete file"));
    h.AtIdle([] { TapOverlayButton(0); });
    EXPECT_TRUE(h.Core().AskYesNo(u"Again?", u"Delete file"));
    h.AtIdle([] {
      window::input::KeyDown(VK_RETURN);
      window::input::KeyUp(VK_RETURN);
    });
    EXPECT_EQ(h.Core().RunMessageBox(u"Exit", u"Would you like to exit mivo?", false), 1);
  }
}

TEST(MessageBox, ALongBodyWrapsAndTheBoxGrowsToFitIt) {
  UiHarness h("box_grow");
  ASSERT_TRUE(h.Start());
  int shortHeight = 0, longHeight = 0;
  h.AtIdle([&] {
    shortHeight = OpenOverlay().buttons[0].bottom;
    TapOverlayButton(0);
  });
  h.Core().ShowMessage(u"Short.", u"A title that is far too long to fit on the top edge of the box");
  h.AtIdle([&] {
    longHeight = OpenOverlay().buttons[0].bottom;
    UiHarness::Shot("message_box_long");
    TapOverlayButton(0);
  });
  h.Core().ShowMessage(u"A body text long enough to wrap over several lines of the box, so that the box has to "
                       u"grow to show all of it above its button.",
                       u"Note");
  EXPECT_GT(longHeight, shortHeight + 30);
}

TEST(MessageBox, TheProgramEndingWhileABoxIsOpenAnswersNoneAndStillEnds) {
  UiHarness h("box_quit");
  ASSERT_TRUE(h.Start());
  h.AtIdle([] { PostQuitMessage(3); });
  EXPECT_EQ(h.Core().RunMessageBox(u"Note", u"Text", false), 0);
  EXPECT_TRUE(window::QuitPending());
  h.AtIdle([] { PostQuitMessage(3); });
  std::u16string text = u"kept";
  EXPECT_FALSE(h.Core().EnterText(u"Name", u"Enter a name", &text, false));
  EXPECT_EQ(text, u"kept");
}

TEST(MessageBox, TheLastErrorFollowsThePrefixOnANewLineAndAnUnknownErrorLeavesThePrefixAndTheBreak) {
  UiHarness h("box_last_error");
  ASSERT_TRUE(h.Start());
  std::u16string shown;
  h.AtIdle([&] {
    EXPECT_EQ(OpenOverlay().title, u"Error");
    shown = OpenOverlay().text;
    TapOverlayButton(0);
  });
  SetLastError(ERROR_FILE_NOT_FOUND);
  h.Core().ShowLastError(u"Cannot open file.");
  EXPECT_EQ(shown.rfind(u"Cannot open file.\n", 0), 0u);
  EXPECT_GT(shown.size(), std::u16string(u"Cannot open file.\n").size());

  h.AtIdle([&] {
    shown = OpenOverlay().text;
    TapOverlayButton(0);
  });
  SetLastError(0x7ABCDEF);
  h.Core().ShowLastError(u"Cannot open file.");
  EXPECT_EQ(shown, u"Cannot open file.\n");
}

// Where the entry's parts lie at each size is overlay_layout_test's.
TEST(EnterText, OkReturnsTheTypedTextCancelKeepsItAndEnterDoesNotConfirm) {
  UiHarness h("enter_text");
  ASSERT_TRUE(h.Start());
  std::u16string text = u"notes";
  h.AtIdle([&] {
    const ui::OverlayDescription d = OpenOverlay();
    EXPECT_STREQ(d.kind, "text");
    EXPECT_EQ(d.value, u"notes");
    EXPECT_TRUE(shell::IsInputPanelShown());
    window::input::Text(u".txt");
    window::input::KeyDown(VK_RETURN);
    window::input::KeyUp(VK_RETURN);
  });
  h.AtIdle([&] {
    EXPECT_NE(ui::TopOverlay(), nullptr);
    EXPECT_EQ(OpenOverlay().value, u"notes.txt");
    TapOverlayButton(0);
  });
  EXPECT_TRUE(h.Core().EnterText(u"Rename file", u"Please enter new name of the file.", &text, false));
  EXPECT_EQ(text, u"notes.txt");
  EXPECT_FALSE(shell::IsInputPanelShown());

  h.AtIdle([&] {
    window::input::Text(u"zzz");
    TapOverlayButton(1);
  });
  EXPECT_FALSE(h.Core().EnterText(u"Rename file", u"Please enter new name of the file.", &text, false));
  EXPECT_EQ(text, u"notes.txt");
  EXPECT_EQ(ui::TopOverlay(), nullptr);
}

TEST(EnterText, AMultiLineEntryShowsFourLinesAndKeepsItsLineBreaks) {
  UiHarness h("enter_multi");
  ASSERT_TRUE(h.Start());
  std::u16string text = u"first";
  int single = 0, multi = 0;
  h.AtIdle([&] {
    single = OpenOverlay().buttons[0].top;
    TapOverlayButton(1);
  });
  h.Core().EnterText(u"Date format", u"Enter format", &text, false);
  h.AtIdle([&] {
    multi = OpenOverlay().buttons[0].top;
    window::input::KeyDown(VK_RETURN);
    window::input::KeyUp(VK_RETURN);
    window::input::Text(u"second");
  });
  h.AtIdle([&] {
    UiHarness::Shot("enter_text_multiline");
    TapOverlayButton(0);
  });
  EXPECT_TRUE(h.Core().EnterText(u"Note", u"", &text, true));
  EXPECT_EQ(text, u"first\r\nsecond");
  EXPECT_GT(multi, single);
}

TEST(PleaseWait, NestedCallsKeepOneBarWhoseTextChangesAtOnceAndTheLastHideRemovesIt) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(w);
    UiHarness h("please_wait_" + std::to_string(w), w, hgt);
    ASSERT_TRUE(h.Start());
    mivoAppCore& core = h.Core();
    const int S = DisplayScale;
    core.ShowPleaseWait(u"Reading file list...");
    CmivoPleaseWaitWnd* bar = core.GetPleaseWaitWnd();
    ASSERT_NE(bar, nullptr);
    RECT r{};
    bar->GetWindowRect(&r);
    const RECT frame = h.FrameClientOnScreen();
    EXPECT_EQ(r.bottom, frame.bottom);
    EXPECT_EQ(RectHeight(r), 20 * S);
    EXPECT_EQ(RectWidth(r), RectWidth(frame));
    UiHarness::Shot("please_wait_" + std::to_string(w));
    const uitest::Capture first = UiHarness::Screen();

    // Nested: the same bar, new text painted without waiting for a pump.
    core.ShowPleaseWait(u"Initializing contacts...");
    EXPECT_EQ(core.GetPleaseWaitWnd(), bar);
    EXPECT_EQ(core.PleaseWaitDepth(), 2);
    EXPECT_EQ(bar->Text(), u"Initializing contacts...");
    const uitest::Capture second = UiHarness::Screen();
    bool changed = false;
    for (int x = r.left; x < r.right && !changed; ++x) {
      for (int y = r.top; y < r.bottom && !changed; ++y) changed = first.At(x, y) != second.At(x, y);
    }
    EXPECT_TRUE(changed);
    const Json dump = Json::Parse(UiHarness::Dump());
    EXPECT_EQ(dump["overlay"]["kind"].AsString(), "wait");
    EXPECT_EQ(dump["overlay"]["text"].AsString(), "Initializing contacts...");

    core.HidePleaseWait();
    EXPECT_TRUE(bar->IsWindowVisible());
    core.HidePleaseWait();
    EXPECT_FALSE(bar->IsWindowVisible());
    EXPECT_EQ(ui::TopOverlay(), nullptr);

    // More hides than shows never take the count below zero.
    core.HidePleaseWait();
    EXPECT_EQ(core.PleaseWaitDepth(), 0);
    core.ShowPleaseWait(u"Sending SMS...");
    EXPECT_TRUE(bar->IsWindowVisible());
    // A page shown meanwhile stays under the bar.
    ColorPage page(&core, RGB(0, 0, 90));
    core.ShowPage(&page);
    h.Pump();
    const uitest::Capture withPage = UiHarness::Screen();
    EXPECT_NE(withPage.At(r.left + 1, r.bottom - 2), Pixel(RGB(0, 0, 90)));
    core.HidePleaseWait();
    h.Pump();
    EXPECT_EQ(UiHarness::Screen().At(r.left + 1, r.bottom - 2), Pixel(RGB(0, 0, 90)));
    core.PopPage();
  }
}
