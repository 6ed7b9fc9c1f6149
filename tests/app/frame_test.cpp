// The main frame and the core in this process.
#include <gtest/gtest.h>

#include "core/messages.h"
#include "core/settings.h"
#include "platform/registry/change_watcher.h"
#include "platform/registry/registry.h"
#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "tests/app/app_harness.h"

using apptest::AppHarness;
using apptest::HeaderPage;

namespace {

constexpr char16_t kBattery[] = u"System\\State\\Battery";
constexpr char16_t kPhone[] = u"System\\State\\Phone";

void SetBattery(DWORD value) { ASSERT_TRUE(reg::SetDword(HKEY_LOCAL_MACHINE, kBattery, u"Main", value)); }
void SetSignal(DWORD value) {
  ASSERT_TRUE(reg::SetDword(HKEY_LOCAL_MACHINE, kPhone, u"Signal Strength Raw", value));
}

// Lets the registry's notifications of earlier changes arrive and be handled.
void Settle(AppHarness& h) {
  devdb::SyncChangeWatcher();
  h.Pump();
}

// The page's pending update area, empty when it has none.
RECT UpdateArea(HWND hwnd) {
  RECT r{};
  if (!GetUpdateRect(hwnd, &r, FALSE)) return RECT{};
  return r;
}

}  // namespace

TEST(StateMonitor, TheBatteryValueGivesFlagsFromItsLowWordAndTheLevelFromItsHighWordPlus19) {
  AppHarness h("state_battery");
  ASSERT_TRUE(h.Start());
  // Changes of the device reach the frame as notifications.
  SetSignal(33);
  SetBattery((60u << 16) | 9u);
  Settle(h);
  EXPECT_EQ(h.Core().GetSignalStrength(), 33u);
  EXPECT_EQ(h.Core().GetBatteryFlags(), 9u);
  EXPECT_EQ(h.Core().GetBatteryLevel(), 79u);

  SetBattery((80u << 16) | 8u);
  h.Frame().SendMessage(WM_MIVO_BATTERY_FLAGS);
  h.Frame().SendMessage(WM_MIVO_BATTERY_LEVEL);
  EXPECT_EQ(h.Core().GetBatteryFlags(), 8u);
  EXPECT_EQ(h.Core().GetBatteryLevel(), 99u);

  // Not limited: a full battery reads past 100.
  SetBattery(100u << 16);
  EXPECT_EQ(h.Frame().SendMessage(WM_MIVO_BATTERY_LEVEL), 1);
  EXPECT_EQ(h.Core().GetBatteryLevel(), 119u);
  // The handlers read the registry again; the message's parameters do not count.
  h.Frame().SendMessage(WM_MIVO_BATTERY_FLAGS, 0xFFFF, 0xFFFF);
  EXPECT_EQ(h.Core().GetBatteryFlags(), 0u);

  // A value that cannot be read stores 0, so the level shows 19.
  ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, kBattery, u"Main", u"full"));
  h.Frame().SendMessage(WM_MIVO_BATTERY_LEVEL);
  EXPECT_EQ(h.Core().GetBatteryLevel(), 19u);

  SetSignal(55);
  EXPECT_EQ(h.Frame().SendMessage(WM_MIVO_SIGNAL_CHANGED), 1);
  EXPECT_EQ(h.Core().GetSignalStrength(), 55u);
}

TEST(StateMonitor, EachChangeRepaintsOnlyItsOwnRectangleOfTheVisiblePage) {
  AppHarness h("state_rects");
  ASSERT_TRUE(h.Start());
  HeaderPage page(&h.Core());
  h.Core().ShowPage(&page);
  h.Pump();
  ASSERT_TRUE(page.m_hWnd);
  RECT r = UpdateArea(page.m_hWnd);
  ASSERT_TRUE(IsRectEmpty(&r));

  SetSignal(60);
  Settle(h);
  h.Frame().SendMessage(WM_MIVO_SIGNAL_CHANGED);
  r = UpdateArea(page.m_hWnd);
  EXPECT_TRUE(EqualRect(&r, &page.SignalRect())) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  // Nothing else of the screen waits for paint.
  RECT frameArea = UpdateArea(h.Frame().m_hWnd);
  EXPECT_TRUE(IsRectEmpty(&frameArea));
  h.Pump();

  SetBattery((50u << 16) | 1u);
  Settle(h);
  h.Frame().SendMessage(WM_MIVO_BATTERY_LEVEL);
  r = UpdateArea(page.m_hWnd);
  EXPECT_TRUE(EqualRect(&r, &page.BatteryRect()));
  h.Pump();

  h.Frame().SendMessage(WM_MIVO_TIME_CHANGED);
  r = UpdateArea(page.m_hWnd);
  EXPECT_TRUE(EqualRect(&r, &page.ClockRect()));
  h.Pump();

  // The root page below, hidden now, is not touched.
  CmivoPageWnd* root = h.Core().GetDesktopPage();
  ASSERT_NE(root, nullptr);
  r = UpdateArea(root->m_hWnd);
  EXPECT_TRUE(IsRectEmpty(&r));
  h.Core().PopPage();
  h.Core().ForgetPage(&page);
}

TEST(StateMonitor, BeforeTheFirstActivationTheHandlersOnlyStore) {
  AppHarness h("state_before");
  SetBattery((70u << 16) | 2u);
  SetSignal(40);
  // The frame's window is created, but the activation it asked for has not come yet.
  CmivoApp& app = h.App();
  ASSERT_TRUE(app.Watcher().CreateEvent());
  auto* frame = new CMainFrame;
  app.m_pMainWnd = frame;
  ASSERT_TRUE(frame->LoadFrame(IDR_MIVO_MAINFRAME));
  ASSERT_NE(app.m_pCore, nullptr);
  mivoAppCore& core = *app.m_pCore;
  // The readings taken at creation.
  EXPECT_EQ(core.GetBatteryFlags(), 2u);
  EXPECT_EQ(core.GetBatteryLevel(), 89u);
  EXPECT_EQ(core.GetSignalStrength(), 40u);
  EXPECT_EQ(core.TopPage(), nullptr);

  SetSignal(100);
  EXPECT_EQ(frame->SendMessage(WM_MIVO_SIGNAL_CHANGED), 1);
  EXPECT_EQ(frame->SendMessage(WM_MIVO_TIME_CHANGED), 1);
  EXPECT_EQ(core.GetSignalStrength(), 100u);
  EXPECT_EQ(core.TopPage(), nullptr);
  EXPECT_EQ(frame->RootPage(), nullptr);

  // The activation then shows the root page.
  h.Pump();
  ASSERT_NE(frame->RootPage(), nullptr);
  EXPECT_EQ(core.TopPage(), frame->RootPage());
  frame->DestroyWindow();
  delete app.m_pCore;
  app.m_pCore = nullptr;
  delete frame;
  app.m_pMainWnd = nullptr;
}

TEST(MainFrame, SoftKeyLabelsReplaceOnlyTheButtonsTheyName) {
  AppHarness h("frame_softkeys");
  ASSERT_TRUE(h.Start());
  CCommandBar& bar = h.Frame().MenuBar();
  // The root page has shown: "Back" and "Hide" replaced "One" and "Two".
  EXPECT_EQ(bar.GetButtonText(ID_MIVO_SOFTKEY_LEFT), u"Back");
  EXPECT_EQ(bar.GetButtonText(ID_MIVO_SOFTKEY_RIGHT), u"Hide");

  static const char16_t kCancel[] = u"Cancel";
  h.Core().PostSoftKeys(nullptr, kCancel);
  h.Pump();
  EXPECT_EQ(bar.GetButtonText(ID_MIVO_SOFTKEY_LEFT), u"Back");
  EXPECT_EQ(bar.GetButtonText(ID_MIVO_SOFTKEY_RIGHT), u"Cancel");
  h.Core().PostSoftKeys(nullptr, nullptr);
  h.Pump();
  EXPECT_EQ(bar.GetButtonText(ID_MIVO_SOFTKEY_RIGHT), u"Cancel");
}

TEST(MainFrame, PumpingOneMessageLeavesPrivateMessagesQueuedAndKeepsAQuit) {
  AppHarness h("frame_pump");
  ASSERT_TRUE(h.Start());
  const std::size_t before = window::QueuedCount();
  h.Frame().PostMessage(WM_MIVO_BACK_REQUEST);
  h.Frame().PostMessage(WM_NULL);
  mivoCore::PumpOneMessage();  // takes WM_NULL, not the private message before it
  EXPECT_EQ(window::QueuedCount(), before + 1);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_MIVO_BACK_REQUEST);
  mivoCore::PumpOneMessage();  // nothing at or below 0x400 is left
  EXPECT_EQ(window::QueuedCount(), before + 1);
  h.Pump();

  // A quit taken by a pump between two steps still ends the program.
  PostQuitMessage(3);
  mivoCore::PumpOneMessage();
  EXPECT_TRUE(window::QuitPending());
}
