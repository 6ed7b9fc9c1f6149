// The standard controls and the shell, driven through their messages.
#include "fixture.h"
#include "tests/support/json.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/clipboard.h"
#include "platform/shell/fullscreen.h"
#include "platform/shell/input_panel.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/file_defs.h"
#include "platform/window/command_bar.h"
#include "platform/window/edit.h"
#include "platform/window/framework.h"
#include "platform/window/message_box.h"
#include "platform/window/metrics.h"

namespace {

class Owner : public CFrameWnd {
 public:
  std::vector<WPARAM> commands;
  LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
    if (m == WM_COMMAND) commands.push_back(w);
    return CFrameWnd::WindowProc(m, w, l);
  }
};

void Type(HWND h, const std::u16string& s) {
  for (char16_t c : s) SendMessageW(h, WM_CHAR, c, 0);
}
void Key(HWND h, UINT vk) { SendMessageW(h, WM_KEYDOWN, vk, 0); }

// Every control test has a frame to own its controls.
class Controls : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(frame.Create(nullptr, u"f", WS_VISIBLE));
  }
  void TearDown() override {
    frame.DestroyWindow();
    WindowTest::TearDown();
  }
  Owner frame;
};

}  // namespace

TEST_F(Controls, AnEditTakesAccentedTypingBackspaceAndCursorKeys) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, R(10, 10, 200, 34), &frame, 5));
  Type(edit, u"Žluťoučký kůň");
  for (int i = 0; i < 3; ++i) Type(edit, u"\b");
  EXPECT_EQ(edit.GetWindowText(), u"Žluťoučký ");
  Key(edit, VK_HOME);
  Type(edit, u"«");
  Key(edit, VK_END);
  Type(edit, u"»");
  Key(edit, VK_LEFT);
  Key(edit, VK_LEFT);
  Key(edit, VK_DELETE);  // the space before »
  EXPECT_EQ(edit.GetWindowText(), u"«Žluťoučký»");
  // A surrogate pair is one character for the caret and Backspace.
  Key(edit, VK_END);
  Type(edit, u"\U0001F600");
  Key(edit, VK_LEFT);
  Key(edit, VK_RIGHT);
  Type(edit, u"\b");
  EXPECT_EQ(edit.GetWindowText(), u"«Žluťoučký»");
  // A single line has no second line: Enter types nothing.
  Type(edit, u"\r");
  EXPECT_EQ(edit.GetWindowTextLength(), 11);
  // The parent heard of each change.
  int changes = 0;
  for (WPARAM w : frame.commands) changes += HIWORD(w) == EN_CHANGE && LOWORD(w) == 5;
  EXPECT_GE(changes, 10);
}

TEST_F(Controls, AnEditAnswersTheTextMessagesWithPlatformLineBreaks) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_MULTILINE, R(0, 0, 200, 100), &frame, 1));
  SetWindowTextW(edit, u"one\r\ntwo\nthree");
  EXPECT_EQ(GetWindowTextLengthW(edit), 15);  // every break reads as "\r\n"
  char16_t buf[8];
  EXPECT_EQ(GetWindowTextW(edit, buf, 8), 7);  // cut to fit, terminated
  EXPECT_EQ(std::u16string(buf), u"one\r\ntw");
  EXPECT_EQ(edit.GetLineCount(), 3);
  edit.SetSel(0, 3);
  edit.ReplaceSel(u"1");
  EXPECT_EQ(edit.GetWindowText(), u"1\r\ntwo\r\nthree");
  edit.SetLimitText(12);
  Type(edit, u"xyz");
  EXPECT_EQ(edit.GetWindowText().size(), 12u + 2);  // 12 characters, two breaks read as pairs
  edit.DestroyWindow();
  // The registered class works without the framework object too.
  HWND raw = CreateWindowExW(0, u"EDIT", u"start", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, frame, nullptr, nullptr,
                             nullptr);
  ASSERT_NE(raw, nullptr);
  Type(raw, u"ed");
  EXPECT_EQ(GetWindowTextLengthW(raw), 7);
  DestroyWindow(raw);
}

TEST_F(Controls, AMultiLineEditWrapsWordsAndScrollsToKeepTheCaretVisible) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, R(0, 0, 120, 40), &frame, 1));
  Type(edit, u"alpha beta gamma delta epsilon zeta eta theta");
  EXPECT_GT(edit.GetLineCount(), 2);  // wrapped at word boundaries
  EXPECT_GT(edit.GetFirstVisibleLine(), 0);  // the caret's line is in view
  const int lastLine = static_cast<int>(SendMessageW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0));
  EXPECT_EQ(lastLine, edit.GetLineCount() - 1);
  // Going to the top scrolls back up.
  for (int i = 0; i < 20; ++i) Key(edit, VK_UP);
  EXPECT_EQ(edit.GetFirstVisibleLine(), 0);
  Type(edit, u"!");
  EXPECT_EQ(edit.GetWindowText().substr(0, 1), u"!");
  // SetSel scrolls to the new caret unless told not to.
  const int end = edit.GetWindowTextLength();
  edit.SetSel(end, end, TRUE);
  EXPECT_EQ(edit.GetFirstVisibleLine(), 0);
  edit.SetSel(end, end);
  EXPECT_GT(edit.GetFirstVisibleLine(), 0);
  // No line of the wrapped text is wider than the control.
  for (int i = 0; i < edit.GetLineCount(); ++i) {
    EXPECT_LT(SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(SendMessageW(edit, EM_LINEINDEX, i, 0)), 0), 20);
  }
}

TEST_F(Controls, ATapPlacesTheCaretAndGivesTheEditTheFocus) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, R(0, 0, 200, 24), &frame, 1));
  SetWindowTextW(edit, u"abcdef");
  window::PumpPending();
  RunScript({"tap 3 12"});  // before the first letter
  EXPECT_EQ(GetFocus(), edit.m_hWnd);
  Type(edit, u"X");
  EXPECT_EQ(edit.GetWindowText(), u"Xabcdef");
  RunScript({"tap 199 12"});  // after the last
  Type(edit, u"Y");
  EXPECT_EQ(edit.GetWindowText(), u"XabcdefY");
}

TEST_F(Controls, TheMenuBarTakesTextsThroughSetButtonInfoAndSendsItsCommands) {
  CCommandBar bar;
  ASSERT_TRUE(bar.Create(&frame));
  ASSERT_TRUE(bar.InsertMenuBar(169));
  EXPECT_EQ(bar.GetButtonText(ID_SOFTKEY_LEFT), u"One");
  EXPECT_EQ(bar.GetButtonText(ID_SOFTKEY_RIGHT), u"Two");
  TBBUTTONINFOW info;
  info.cbSize = 32;
  info.dwMask = TBIF_TEXT;
  info.pszText = const_cast<LPWSTR>(u"Back");
  EXPECT_TRUE(bar.SendMessage(TB_SETBUTTONINFO, ID_SOFTKEY_LEFT, reinterpret_cast<LPARAM>(&info)));
  info.pszText = const_cast<LPWSTR>(u"Hide");
  EXPECT_TRUE(bar.SendMessage(TB_SETBUTTONINFO, ID_SOFTKEY_RIGHT, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(CCommandBar::VisibleSoftKeys(), (std::vector<std::u16string>{u"Back", u"Hide"}));
  // A wrong structure size or an unknown command changes nothing.
  info.cbSize = 16;
  info.pszText = const_cast<LPWSTR>(u"Bad");
  EXPECT_FALSE(bar.SendMessage(TB_SETBUTTONINFO, ID_SOFTKEY_LEFT, reinterpret_cast<LPARAM>(&info)));
  info.cbSize = 32;
  EXPECT_FALSE(bar.SendMessage(TB_SETBUTTONINFO, 12345, reinterpret_cast<LPARAM>(&info)));
  EXPECT_FALSE(bar.SendMessage(TB_SETBUTTONINFO, ID_SOFTKEY_LEFT, 0));
  EXPECT_EQ(bar.GetButtonText(ID_SOFTKEY_LEFT), u"Back");
  // It sits across the bottom of the screen, outside its owner.
  RECT r;
  bar.GetWindowRect(&r);
  EXPECT_EQ(r, R(0, 320 - 26, 240, 320));
  // A tap on the left button and the right soft key F2 send the commands.
  RunScript({"tap 20 310", "key F2"});
  ASSERT_EQ(frame.commands.size(), 2u);
  EXPECT_EQ(LOWORD(frame.commands[0]), ID_SOFTKEY_LEFT);
  EXPECT_EQ(LOWORD(frame.commands[1]), ID_SOFTKEY_RIGHT);
  // A hold on a soft key is no tap.
  RunScript({"hold 20 310"});
  EXPECT_EQ(frame.commands.size(), 2u);
}

TEST_F(Controls, AMessageBoxAnswersEnterWithItsFirstButtonAndTapsWithTheirOwn) {
  HWND owner = Make("owner", WS_VISIBLE, R(0, 0, 240, 320));
  window::PumpPending();
  // The script runs at the box's idle point, as a user would answer it.
  display::HeadlessScreen screen;
  Open(screen);
  display::ScriptHost host = QuittingHost();
  // Each dump finds the No button in the overlay and taps its middle.
  std::string overlayKind;
  display::ScriptRunner* answering = nullptr;
  host.print = [&](const std::string& line) {
    const testing_support::Json d = testing_support::Json::Parse(line);
    overlayKind = d["overlay"]["kind"].AsString();
    const testing_support::Json& no = d["overlay"]["buttons"][1];
    answering->AddLine("tap " + std::to_string((no[0].AsInt() + no[2].AsInt()) / 2) + " " +
                       std::to_string((no[1].AsInt() + no[3].AsInt()) / 2));
  };
  display::ScriptRunner runner(host, true);
  answering = &runner;
  screen.SetScript(&runner);
  window::SetEventSource(&screen);

  runner.AddLine("key RETURN");
  EXPECT_EQ(MessageBoxW(owner, u"Saved.", u"Note", MB_OK), IDOK);
  runner.AddLine("key RETURN");
  EXPECT_EQ(MessageBoxW(owner, u"Delete it?", u"Question", MB_YESNO), IDYES);
  runner.AddLine("key ESCAPE");
  EXPECT_EQ(MessageBoxW(owner, u"Delete it?", u"Question", MB_YESNO), IDNO);

  log.clear();
  runner.AddLine("tap 3 3");  // on the owner, which takes no input meanwhile
  runner.AddLine("dump");     // answers with a tap on No
  EXPECT_EQ(MessageBoxW(owner, u"Keep it?", u"Question", MB_YESNO), IDNO);
  EXPECT_EQ(overlayKind, "question");
  window::PumpPending();
  EXPECT_EQ(Count("owner", WM_LBUTTONDOWN), 0);  // dropped, not delivered late
  EXPECT_TRUE(IsWindowEnabled(owner));

  // The program ending while a box is open: the box gives 0 and the quit goes on.
  RunOnUiThread([] { PostQuitMessage(4); });
  EXPECT_EQ(MessageBoxW(owner, u"Still here?", u"Question", MB_YESNO), 0);
  EXPECT_TRUE(window::QuitPending());
  window::SetEventSource(nullptr);
}

TEST_F(Controls, FullScreenHidesTheTaskBarAndTheWorkAreaFollows) {
  shell::StartPhoneShell();
  const auto workArea = [] {
    RECT work{};
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    return work;
  };
  EXPECT_EQ(workArea(), R(0, 26, 240, 320));
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 26);
  EXPECT_TRUE(SHFullScreen(frame, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON));
  EXPECT_EQ(workArea(), R(0, 0, 240, 320));
  EXPECT_FALSE(shell::IsTaskBarVisible());
  EXPECT_TRUE(SHFullScreen(frame, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON | SHFS_SHOWSTARTICON));
  EXPECT_EQ(workArea(), R(0, 26, 240, 320));
  // The input panel takes the bottom of the work area while it shows.
  SipShowIM(SIPF_ON);
  RECT panel;
  ASSERT_TRUE(shell::InputPanelRect(&panel));
  EXPECT_EQ(workArea().bottom, panel.top);
  SipShowIM(SIPF_OFF);
  EXPECT_EQ(workArea().bottom, 320);
  // Bad calls change nothing.
  HWND gone = Make("gone", 0, R(0, 0, 1, 1));
  DestroyWindow(gone);
  EXPECT_FALSE(SHFullScreen(gone, SHFS_HIDETASKBAR));
  EXPECT_FALSE(SHFullScreen(frame, SHFS_HIDETASKBAR | SHFS_SHOWTASKBAR));
  EXPECT_TRUE(shell::IsTaskBarVisible());
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETWORKAREA, 0, nullptr, 0));
  // On a VGA screen the bars are twice as high.
  window::ChangeScreenSize(480, 640);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 52);
  EXPECT_EQ(workArea(), R(0, 52, 480, 640));
  shell::StopPhoneShell();
}

TEST_F(Controls, APasswordFieldShowsStarsAndANumberFieldTakesDigitsOnly) {
  CEdit secret, stars, number;
  ASSERT_TRUE(secret.Create(WS_VISIBLE | ES_PASSWORD, R(10, 10, 110, 34), &frame, 1));
  ASSERT_TRUE(stars.Create(WS_VISIBLE, R(10, 50, 110, 74), &frame, 2));
  ASSERT_TRUE(number.Create(WS_VISIBLE | ES_NUMBER, R(10, 90, 110, 114), &frame, 3));
  Type(secret, u"abc");
  Type(stars, u"***");
  Type(number, u"1a2-3");
  EXPECT_EQ(secret.GetWindowText(), u"abc");  // the program reads the real text
  EXPECT_EQ(number.GetWindowText(), u"123");
  window::PumpPending();
  // Drawn exactly like a field holding three stars.
  const window::FrameView f = window::GetFramebuffer();
  int differences = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 100; ++x) {
      differences += f.pixels[(10 + y) * f.stride + 10 + x] != f.pixels[(50 + y) * f.stride + 10 + x];
    }
  }
  EXPECT_EQ(differences, 0);
}

TEST_F(Controls, ABorderlessEditSizedToFourLinesShowsFourLines) {
  // As the system's text entry box sizes its field: lines times the font's height, plus three pixels.
  HFONT font = CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, u"Arial");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT x = R(0, 0, 0, 0);
  DrawTextW(dc, u"X", -1, &x, DT_CALCRECT);
  SelectObject(dc, old);
  DeleteDC(dc);
  const int h = RectHeight(x);
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, R(0, 0, 200, 4 * h + 3), &frame, 1));
  edit.SetFont(font);
  Type(edit, u"1\r2\r3\r4");
  EXPECT_EQ(edit.GetFirstVisibleLine(), 0);  // all four in view
  Type(edit, u"\r5");
  EXPECT_EQ(edit.GetFirstVisibleLine(), 1);
  edit.DestroyWindow();
  DeleteObject(font);
}

TEST_F(Controls, CutCopyAndPasteGoThroughTheClipboardAndAPasswordGivesNothingAway) {
  shell::InstallEditClipboard();
  CEdit lines, line, secret, number;
  ASSERT_TRUE(lines.Create(WS_VISIBLE | ES_MULTILINE, R(10, 10, 200, 90), &frame, 1));
  ASSERT_TRUE(line.Create(WS_VISIBLE | ES_AUTOHSCROLL, R(10, 100, 200, 124), &frame, 2));
  ASSERT_TRUE(secret.Create(WS_VISIBLE | ES_PASSWORD, R(10, 130, 200, 154), &frame, 3));
  ASSERT_TRUE(number.Create(WS_VISIBLE | ES_NUMBER, R(10, 160, 200, 184), &frame, 4));
  const auto clipboard = [] {
    std::u16string text;
    if (OpenClipboard(nullptr)) {
      if (const auto* data = static_cast<const char16_t*>(GetClipboardData(CF_UNICODETEXT))) text = data;
      CloseClipboard();
    }
    return text;
  };

  // Ctrl+A, Ctrl+C as the keyboard types them; the platform's line breaks travel.
  Type(lines, u"one\rtwo\x01\x03");
  EXPECT_EQ(clipboard(), u"one\r\ntwo");
  // On a single line the pasted lines run on with a space.
  Type(line, u"\x16");
  EXPECT_EQ(line.GetWindowText(), u"one two");
  line.SetSel(0, 3);
  SendMessageW(line, WM_CUT, 0, 0);
  EXPECT_EQ(line.GetWindowText(), u" two");
  EXPECT_EQ(clipboard(), u"one");

  // A password is never copied or cut.
  Type(secret, u"pin\x01\x03\x18");
  SendMessageW(secret, WM_COPY, 0, 0);
  EXPECT_EQ(secret.GetWindowText(), u"pin");
  EXPECT_EQ(clipboard(), u"one");

  // A number field takes a paste of digits only.
  Type(number, u"\x16");
  EXPECT_EQ(number.GetWindowText(), u"");
  Type(line, u"\x01" u"0601234\x01\x03");
  SendMessageW(number, WM_PASTE, 0, 0);
  EXPECT_EQ(number.GetWindowText(), u"0601234");
}
