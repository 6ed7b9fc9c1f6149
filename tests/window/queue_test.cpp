// The message queue: ordering, filters, re-entrant sends, modal loops, other threads.
#include <atomic>
#include <thread>

#include "fixture.h"
#include "platform/win32/errors.h"

using MessageQueue = WindowTest;

TEST_F(MessageQueue, MessagesPostedFromAnotherThreadArriveInOrder) {
  HWND w = Make("w", WS_VISIBLE, R(0, 0, 10, 10));
  std::thread poster([w] {
    for (int i = 0; i < 500; ++i) PostMessageW(w, WM_USER + 1, static_cast<WPARAM>(i), 0);
    PostMessageW(w, WM_USER + 2, 0, 0);
  });
  std::vector<WPARAM> got;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_USER + 1) got.push_back(msg.wParam);
    if (msg.message == WM_USER + 2) break;
    DispatchMessageW(&msg);
  }
  poster.join();
  ASSERT_EQ(got.size(), 500u);
  for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], i);
}

TEST_F(MessageQueue, RunOnUiThreadAndSendMessageFromAnotherThreadRunOnTheUiThreadInCallOrder) {
  HWND w = CreateWindowExW(0, u"logger", u"twelve chars", WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
  window::PumpPending();
  const std::thread::id ui = std::this_thread::get_id();
  std::thread::id ranOn;
  handlers[""] = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m == WM_GETTEXTLENGTH) ranOn = std::this_thread::get_id();
    return false;
  };
  std::vector<int> ran;
  LRESULT length = -1;
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) RunOnUiThread([&ran, i] { ran.push_back(i); });
    length = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
    RunOnUiThread([] { PostQuitMessage(7); });
  });
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  worker.join();
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(length, 12);
  EXPECT_EQ(ranOn, ui);
}

TEST_F(MessageQueue, AFilteredLoopLeavesOtherWindowsMessagesQueuedAndPassesAQuitOn) {
  HWND box = Make("box", WS_VISIBLE, R(0, 0, 100, 100));
  HWND button = Make("button", WS_CHILD | WS_VISIBLE, R(0, 0, 10, 10), box);
  HWND page = Make("page", WS_VISIBLE, R(0, 0, 240, 320));
  Settle();
  PostMessageW(page, WM_USER + 1, 0, 0);
  PostMessageW(button, WM_USER + 2, 0, 0);  // a child of the box: the box's loop takes it
  PostMessageW(page, WM_USER + 3, 0, 0);
  PostMessageW(box, WM_USER + 4, 0, 0);
  window::ModalLoop(box, [](const MSG& m) { return m.message == WM_USER + 4; });
  EXPECT_EQ(Ids("", {WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_USER + 4}),
            (std::vector<UINT>{WM_USER + 2, WM_USER + 4}));
  log.clear();
  window::PumpPending();
  EXPECT_EQ(Ids("page", {WM_USER + 1, WM_USER + 3}), (std::vector<UINT>{WM_USER + 1, WM_USER + 3}));
  // A quit the modal loop takes is posted again: the outer loop gets the page's message, then the quit.
  PostMessageW(page, WM_USER + 1, 0, 0);
  PostQuitMessage(3);
  EXPECT_FALSE(window::ModalLoop(box, [](const MSG&) { return false; }));
  MSG msg;
  ASSERT_GT(GetMessageW(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, WM_USER + 1u);
  EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageQueue, TypingReachesTheFocusedControlInsideAModalLoop) {
  HWND box = Make("box", WS_VISIBLE, R(0, 0, 200, 100));
  HWND edit = Make("edit", WS_CHILD | WS_VISIBLE, R(10, 10, 190, 30), box);
  SetFocus(edit);
  Settle();
  window::input::Text(u"ok");
  window::input::KeyDown(VK_RETURN);
  int chars = 0;
  window::ModalLoop(box, [&](const MSG& m) { return m.message == WM_CHAR && ++chars == 3; });
  std::vector<WPARAM> typed;
  for (const Logged& l : log)
    if (l.window == "edit" && l.message == WM_CHAR) typed.push_back(l.wParam);
  EXPECT_EQ(typed, (std::vector<WPARAM>{'o', 'k', '\r'}));
}

TEST_F(MessageQueue, SendMessageInsideAHandlerReentersAndReturnsEachResult) {
  HWND a = Make("a", WS_VISIBLE, R(0, 0, 10, 10));
  HWND b = Make("b", WS_VISIBLE, R(0, 0, 10, 10));
  int depth = 0, deepest = 0;
  handlers["a"] = [&](HWND, UINT m, WPARAM w, LPARAM, LRESULT* r) {
    if (m != WM_USER) return false;
    ++depth;
    deepest = std::max(deepest, depth);
    *r = w == 0 ? 100 : static_cast<LRESULT>(w) + SendMessageW(b, WM_USER, w - 1, 0);
    --depth;
    return true;
  };
  handlers["b"] = [&](HWND, UINT m, WPARAM w, LPARAM, LRESULT* r) {
    if (m != WM_USER) return false;
    *r = SendMessageW(a, WM_USER, w, 0);
    return true;
  };
  EXPECT_EQ(SendMessageW(a, WM_USER, 3, 0), 3 + 2 + 1 + 100);
  EXPECT_EQ(deepest, 4);
}

TEST_F(MessageQueue, PeekMessageWithARangeTakesOnlyThatRange) {
  HWND w = Make("w", WS_VISIBLE, R(0, 0, 10, 10));
  window::PumpPending();
  PostMessageW(w, WM_USER + 10, 0, 0);
  PostMessageW(w, WM_KEYDOWN, VK_LEFT, 0);
  PostMessageW(w, WM_USER + 20, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_USER + 15, WM_USER + 25, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 20u);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_USER + 15, WM_USER + 25, PM_REMOVE));
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_USER + 15, WM_USER + 25, PM_REMOVE));
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 10u);
  EXPECT_EQ(window::QueuedCount(), 0u);
}

TEST_F(MessageQueue, TranslateMessageQueuesTheCharacterNextForTypingKeysOnly) {
  HWND w = Make("w", WS_VISIBLE, R(0, 0, 10, 10));
  SetFocus(w);
  Settle();
  window::input::KeyDown(VK_BACK);
  window::input::KeyDown(VK_LEFT);
  window::input::KeyDown('A');
  window::input::KeyDown('B', true);  // the backend types the text itself
  window::PumpPending();
  EXPECT_EQ(Ids("w", {WM_KEYDOWN, WM_CHAR}),
            (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYDOWN}));
}

TEST_F(MessageQueue, StaleAndWrongHandlesFailCleanlyAndTheirQueuedMessagesAreDropped) {
  HWND w = Make("w", WS_VISIBLE, R(0, 0, 10, 10));
  HWND child = Make("child", WS_CHILD | WS_VISIBLE, R(0, 0, 5, 5), w);
  HWND b = Make("b", WS_VISIBLE, R(0, 0, 10, 10));
  window::PumpPending();
  PostMessageW(child, WM_USER, 0, 0);
  PostMessageW(b, WM_USER, 0, 0);
  ASSERT_TRUE(DestroyWindow(w));
  EXPECT_FALSE(IsWindow(child));
  window::PumpPending();
  EXPECT_EQ(Count("child", WM_USER), 0);
  EXPECT_EQ(Count("b", WM_USER), 1);
  SetLastError(0);
  EXPECT_FALSE(DestroyWindow(w));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_FALSE(PostMessageW(w, WM_USER, 0, 0));
  EXPECT_EQ(SendMessageW(child, WM_GETTEXTLENGTH, 0, 0), 0);
  RECT r;
  EXPECT_FALSE(GetClientRect(w, &r));
  EXPECT_FALSE(ShowWindow(w, SW_SHOW));
  EXPECT_FALSE(SetWindowPos(w, HWND_TOP, 0, 0, 1, 1, 0));
  EXPECT_FALSE(InvalidateRect(child, nullptr, TRUE));
  EXPECT_EQ(SetTimer(w, 1, 100, nullptr), 0u);
  EXPECT_EQ(SetFocus(w), nullptr);
  EXPECT_FALSE(SetForegroundWindow(w));
  EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(0x12345678)));
  EXPECT_FALSE(IsWindow(nullptr));
  MSG msg;
  EXPECT_EQ(GetMessageW(&msg, w, 0, 0), -1);
  // Null arguments are refused, not followed.
  EXPECT_FALSE(GetWindowRect(child, nullptr));
  EXPECT_FALSE(PeekMessageW(nullptr, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(CreateWindowExW(0, u"no such class", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(CreateWindowExW(0, u"logger", nullptr, WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
}

TEST_F(MessageQueue, AWindowBeingDestroyedLeavesNoChildOrOwnedWindowPointingAtItBehind) {
  // A child made in the parent's own WM_DESTROY goes with it; one made later
  // (in a child's WM_DESTROY) is refused: it would outlive its parent.
  HWND top = Make("top", WS_VISIBLE, R(0, 0, 100, 100));
  Make("child", WS_CHILD | WS_VISIBLE, R(0, 0, 10, 10), top);
  HWND early = nullptr;
  HWND late = reinterpret_cast<HWND>(1);
  DWORD lateError = 0;
  handlers["top"] = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m == WM_DESTROY) early = Make("early", WS_CHILD | WS_VISIBLE, R(0, 0, 5, 5), top);
    return false;
  };
  handlers["child"] = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m == WM_DESTROY) {
      SetLastError(0);
      late = Make("late", WS_CHILD | WS_VISIBLE, R(0, 0, 5, 5), top);
      lateError = GetLastError();
    }
    return false;
  };
  ASSERT_TRUE(DestroyWindow(top));
  ASSERT_NE(early, nullptr);
  EXPECT_FALSE(IsWindow(early));
  EXPECT_EQ(Count("early", WM_NCDESTROY), 1);
  EXPECT_EQ(late, nullptr);
  EXPECT_EQ(lateError, ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(WindowCount(), 0);

  // An owned pop-up made a child since forgets its owner when the owner goes.
  handlers.clear();
  HWND owner = Make("owner", WS_VISIBLE, R(0, 0, 100, 100));
  HWND host = Make("host", WS_VISIBLE, R(0, 0, 100, 100));
  HWND popup = Make("popup", WS_VISIBLE, R(0, 0, 10, 10), owner);
  ASSERT_EQ(GetWindow(popup, GW_OWNER), owner);
  ASSERT_EQ(SetParent(popup, host), nullptr);
  ASSERT_TRUE(DestroyWindow(owner));
  EXPECT_TRUE(IsWindow(popup));
  EXPECT_EQ(GetWindow(popup, GW_OWNER), nullptr);
}

TEST_F(MessageQueue, ATimerOfTwoSecondsFiresFiveTimesInTenSecondsAndKillTimerStopsIt) {
  HWND w = Make("w", WS_VISIBLE, R(0, 0, 10, 10));
  std::vector<DWORD> at;
  handlers["w"] = [&](HWND h, UINT m, WPARAM id, LPARAM, LRESULT*) {
    if (m == WM_TIMER && id == 7) {
      at.push_back(GetTickCount());
      if (at.size() == 6) KillTimer(h, 7);
    }
    return false;
  };
  SetTimer(w, 7, 2000, nullptr);
  RunScript({"wait 10000"});
  EXPECT_EQ(at, (std::vector<DWORD>{2000, 4000, 6000, 8000, 10000}));
  RunScript({"wait 3000"});  // the sixth kills it
  RunScript({"wait 10000"});
  EXPECT_EQ(at.size(), 6u);
}

TEST_F(MessageQueue, CreationAndDestructionSendTheirMessagesInThePlatformsOrder) {
  HWND top = Make("top", WS_VISIBLE, R(0, 0, 100, 100));
  Make("child", WS_CHILD | WS_VISIBLE, R(0, 0, 10, 10), top);
  std::vector<UINT> created = {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW};
  EXPECT_EQ(Ids("child", created), created);
  created.insert(created.end(), {WM_ACTIVATE, WM_SETFOCUS});
  EXPECT_EQ(Ids("top", created), created);
  log.clear();
  DestroyWindow(top);
  std::vector<std::pair<std::string, UINT>> order;
  for (const Logged& l : log) {
    if (l.message == WM_DESTROY || l.message == WM_NCDESTROY) order.emplace_back(l.window, l.message);
  }
  const std::vector<std::pair<std::string, UINT>> expected = {
      {"top", WM_DESTROY}, {"child", WM_DESTROY}, {"child", WM_NCDESTROY}, {"top", WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
}

TEST_F(MessageQueue, ACreateHandlerThatFailsLeavesNoWindow) {
  handlers["bad"] = [](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m != WM_CREATE) return false;
    *r = -1;
    return true;
  };
  EXPECT_EQ(Make("bad", WS_VISIBLE, R(0, 0, 10, 10)), nullptr);
  EXPECT_EQ(Count("bad", WM_NCDESTROY), 1);
  EXPECT_EQ(WindowCount(), 0);
}

TEST_F(MessageQueue, FocusAndCaptureMessagesNameTheOtherWindow) {
  HWND top = Make("top", WS_VISIBLE, R(0, 0, 100, 100));
  HWND a = Make("a", WS_CHILD | WS_VISIBLE, R(0, 0, 10, 10), top);
  HWND b = Make("b", WS_CHILD | WS_VISIBLE, R(10, 0, 20, 10), top);
  SetFocus(a);
  log.clear();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(Ids(""), (std::vector<UINT>{WM_KILLFOCUS, WM_SETFOCUS}));
  EXPECT_EQ(reinterpret_cast<HWND>(Last("a", WM_KILLFOCUS).wParam), b);
  EXPECT_EQ(reinterpret_cast<HWND>(Last("b", WM_SETFOCUS).wParam), a);
  SetCapture(a);
  log.clear();
  ReleaseCapture();
  EXPECT_EQ(Ids("a"), (std::vector<UINT>{WM_CAPTURECHANGED}));
  // Hiding the focused window moves the focus to its parent.
  ShowWindow(b, SW_HIDE);
  EXPECT_EQ(GetFocus(), top);
}

TEST_F(MessageQueue, SetForegroundWindowAcceptsTheLowBitAndActivatesTheTopLevelWindow) {
  HWND first = Make("first", WS_VISIBLE, R(0, 0, 240, 320));
  HWND second = Make("second", WS_VISIBLE, R(0, 0, 240, 320));
  HWND child = Make("child", WS_CHILD | WS_VISIBLE, R(0, 0, 10, 10), first);
  EXPECT_EQ(GetForegroundWindow(), second);
  log.clear();
  const HWND marked = reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(child) | 1);
  EXPECT_TRUE(SetForegroundWindow(marked));
  EXPECT_EQ(GetForegroundWindow(), first);
  EXPECT_EQ(GetTopWindow(nullptr), first);
  EXPECT_EQ(Ids("second", {WM_ACTIVATE}), (std::vector<UINT>{WM_ACTIVATE}));
  EXPECT_EQ(Ids("first", {WM_ACTIVATE}), (std::vector<UINT>{WM_ACTIVATE}));
  EXPECT_EQ(WindowFromPoint(MakePoint(5, 5)), child);
}
