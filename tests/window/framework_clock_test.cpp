// The framework classes, the clock, and the idle point.
#include <cstdio>
#include <thread>

#include "fixture.h"
#include "platform/window/framework.h"

namespace {

// "yyyy-mm-dd w hh:mm:ss.mmm", w the day of the week (0 for Sunday).
std::string Stamp(const SYSTEMTIME& t) {
  char s[64];
  std::snprintf(s, sizeof s, "%04u-%02u-%02u %u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wDayOfWeek,
                t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  return s;
}

template <class Base>
class Recorder : public Base {
 public:
  explicit Recorder(std::vector<std::string>* trail, std::string name, bool consume = false)
      : m_trail(trail), m_name(std::move(name)), m_consume(consume) {}
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_USER + 9) m_trail->push_back("pre " + m_name);
    return m_consume && msg->message == WM_USER + 9;
  }
  LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
    if (m == WM_USER + 9) m_trail->push_back("got " + m_name);
    return Base::WindowProc(m, w, l);
  }

 private:
  std::vector<std::string>* m_trail;
  std::string m_name;
  bool m_consume;
};
using Frame = Recorder<CFrameWnd>;

class TestApp : public CWinApp {
 public:
  int exits = 0;
  int ExitInstance() override {
    ++exits;
    return CWinApp::ExitInstance();
  }
};

}  // namespace

using Framework = WindowTest;

TEST_F(Framework, PreTranslateMessageGoesFromTheTargetUpToTheFrameAndATrueAnswerConsumes) {
  std::vector<std::string> trail;
  Frame frame(&trail, "frame");
  ASSERT_TRUE(frame.Create(nullptr, u"frame", WS_VISIBLE));
  Recorder<CWnd> page(&trail, "page");
  ASSERT_TRUE(page.Create(nullptr, u"", WS_VISIBLE, R(0, 0, 240, 300), &frame, 1));
  Recorder<CWnd> list(&trail, "list");
  ASSERT_TRUE(list.Create(nullptr, u"", WS_VISIBLE, R(0, 0, 240, 200), &page, 2));
  TestApp app;
  app.m_pMainWnd = &frame;
  window::PumpPending();
  PostMessageW(list, WM_USER + 9, 0, 0);
  ASSERT_TRUE(app.PumpMessage());
  EXPECT_EQ(trail, (std::vector<std::string>{"pre list", "pre page", "pre frame", "got list"}));

  trail.clear();
  Recorder<CWnd> swallower(&trail, "swallower", true);
  ASSERT_TRUE(swallower.Create(nullptr, u"", WS_VISIBLE, R(0, 0, 10, 10), &list, 3));
  PostMessageW(swallower, WM_USER + 9, 0, 0);
  ASSERT_TRUE(app.PumpMessage());
  EXPECT_EQ(trail, (std::vector<std::string>{"pre swallower"}));  // consumed: neither ancestors nor dispatch
  app.m_pMainWnd = nullptr;
}

TEST_F(Framework, ClosingTheMainWindowEndsTheLoopAndExitInstanceRuns) {
  std::vector<std::string> trail;
  TestApp app;
  auto* frame = new Frame(&trail, "main");
  ASSERT_TRUE(frame->Create(nullptr, u"main", WS_VISIBLE));
  app.m_pMainWnd = frame;
  PostMessageW(frame->m_hWnd, WM_CLOSE, 0, 0);
  app.Run();  // returns once WM_CLOSE destroyed the main window
  EXPECT_EQ(app.exits, 1);
  EXPECT_EQ(frame->m_hWnd, nullptr);
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  delete frame;
}

TEST_F(Framework, AnObjectDestroyedBeforeItsWindowTakesTheWindowAlong) {
  HWND h;
  {
    std::vector<std::string> trail;
    Recorder<CWnd> r(&trail, "r");
    ASSERT_TRUE(r.CreateEx(0, u"loose", u"", WS_VISIBLE, R(0, 0, 5, 5), nullptr, 0));
    h = r.m_hWnd;
    EXPECT_EQ(CWnd::FromHandle(h), &r);
    EXPECT_FALSE(r.CreateEx(0, u"loose", u"", 0, R(0, 0, 5, 5), nullptr, 0));  // one window per object
  }
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(CWnd::FromHandle(h), nullptr);
}

TEST_F(Framework, TheIdlePointWakesForAPostFromAnotherThread) {
  HWND w = Make("w", WS_VISIBLE, R(0, 0, 10, 10));
  display::HeadlessScreen screen;
  Open(screen);
  display::ScriptHost host = QuittingHost();
  display::ScriptRunner runner(host, true);  // no lines yet: the loop waits at its idle point
  screen.SetScript(&runner);
  window::SetEventSource(&screen);
  std::thread other([w] { PostMessageW(w, WM_USER + 3, 0, 0); });
  MSG msg;
  ASSERT_GT(GetMessageW(&msg, nullptr, WM_USER + 3, WM_USER + 3), 0);
  EXPECT_EQ(msg.hwnd, w);
  other.join();
  // A script line handed over from another thread wakes it too.
  std::thread reader([&runner] { RunOnUiThread([&runner] { runner.AddLine("exit"); }); });
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  reader.join();
  window::SetEventSource(nullptr);
}

TEST(Clock, VirtualTimeStartsAtTheDocumentedMomentAndMovesOnlyWhenAdvanced) {
  sysclock::SetTimeZone("");
  sysclock::UseVirtualTime();
  EXPECT_EQ(GetTickCount(), 0u);
  SYSTEMTIME st;
  GetLocalTime(&st);
  EXPECT_EQ(Stamp(st), "2010-03-15 1 09:05:00.000");  // a Monday
  sysclock::Advance(61500);
  GetLocalTime(&st);
  EXPECT_EQ(Stamp(st), "2010-03-15 1 09:06:01.500");
  EXPECT_EQ(GetTickCount(), 61500u);
}

TEST(Clock, TheTimeZoneMovesLocalTimeAndNothingElse) {
  sysclock::SetTimeZone("");
  sysclock::UseVirtualTime();
  SYSTEMTIME utc, local;
  GetSystemTime(&utc);
  sysclock::SetTimeZone("CET-1CEST,M3.5.0,M10.5.0/3");
  GetLocalTime(&local);
  EXPECT_EQ(local.wHour, 10);  // March 15: winter time, one hour east
  SYSTEMTIME utcAfter;
  GetSystemTime(&utcAfter);
  EXPECT_EQ(utcAfter.wHour, utc.wHour);
  // Summer time is two hours east; conversions of file times agree.
  SYSTEMTIME july{2010, 7, 0, 1, 12, 0, 0, 0};
  FILETIME ft, lft;
  ASSERT_TRUE(SystemTimeToFileTime(&july, &ft));
  ASSERT_TRUE(FileTimeToLocalFileTime(&ft, &lft));
  SYSTEMTIME back;
  ASSERT_TRUE(FileTimeToSystemTime(&lft, &back));
  EXPECT_EQ(back.wHour, 14);
  FILETIME again;
  ASSERT_TRUE(LocalFileTimeToFileTime(&lft, &again));
  EXPECT_EQ(CompareFileTime(&again, &ft), 0);
  // Setting the local time lands on that local time.
  SYSTEMTIME set{2011, 12, 0, 31, 23, 59, 30, 0};
  ASSERT_TRUE(SetLocalTime(&set));
  GetLocalTime(&local);
  EXPECT_EQ(Stamp(local), "2011-12-31 6 23:59:30.000");
  TIME_ZONE_INFORMATION tz;
  GetTimeZoneInformation(&tz);
  EXPECT_EQ(tz.Bias, -60);
  sysclock::SetTimeZone("");
}

TEST(Clock, ConversionsRefuseImpossibleDatesAndKeepTheCalendarRight) {
  SYSTEMTIME bad{2011, 2, 0, 29, 0, 0, 0, 0};
  FILETIME ft;
  EXPECT_FALSE(SystemTimeToFileTime(&bad, &ft));
  SYSTEMTIME leap{2012, 2, 0, 29, 23, 59, 59, 999};
  ASSERT_TRUE(SystemTimeToFileTime(&leap, &ft));
  SYSTEMTIME back;
  ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
  EXPECT_EQ(Stamp(back), "2012-02-29 3 23:59:59.999");  // a Wednesday
  SYSTEMTIME epoch{1601, 1, 0, 1, 0, 0, 0, 0};
  ASSERT_TRUE(SystemTimeToFileTime(&epoch, &ft));
  EXPECT_EQ(ft.dwLowDateTime, 0u);
  EXPECT_EQ(ft.dwHighDateTime, 0u);
  EXPECT_FALSE(SystemTimeToFileTime(nullptr, &ft));
  EXPECT_FALSE(SetLocalTime(&bad));
  FILETIME huge{0, 0x80000000u};
  EXPECT_FALSE(FileTimeToSystemTime(&huge, &back));
}
