// The status gadgets in the whole program: what each shows of the device's
// values as they change, what their taps open, the radio switch and its
// polling, the volume window, and the desktop's timers that stop while
// nobody sees the desktop.
#include "desktop/status_gadgets.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/core.h"
#include "desktop/alarm_gadget.h"
#include "desktop/connection_manager_gadget.h"
#include "desktop/memory_gadget.h"
#include "desktop/volume_gadget.h"
#include "desktop/volume_window.h"
#include "look/appearance.h"
#include "pim/call_log_page.h"
#include "pim/read_sms_page.h"
#include "pim/sms_folder.h"
#include "pim/sms_items_page.h"
#include "pim/sms_message.h"
#include "pim/sms_store.h"
#include "platform/device/device_state.h"
#include "platform/device/mapi_defs.h"
#include "platform/device/power.h"
#include "platform/device/radios.h"
#include "platform/device/sms_network.h"
#include "platform/device/system.h"
#include "platform/registry/registry.h"
#include "platform/win32/clock.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "tests/desktop/status_harness.h"
#include "tests/fs/temp_dir.h"

namespace {

using desktoptest::StatusHarness;

constexpr char16_t kBatteryKey[] = u"System\\State\\Battery";
constexpr char16_t kUnreadKey[] = u"System\\State\\Messages\\SMS\\Unread";
constexpr char16_t kPhoneKey[] = u"System\\State\\Phone";

std::string Text(CmivoGadget* g) { return text::ToUtf8(g->GetDumpText()); }
std::string Image(CmivoGadget* g) { return text::ToUtf8(g->GetDumpImage()); }

// "Main" for a level the system reads as `percent` with the flags.
DWORD BatteryMain(int percent, DWORD flags) { return (static_cast<DWORD>(percent - 19) << 16) | flags; }

TEST(BatteryGadget, ShowsTheUnknownLevelAndTheChargingPictureAtOnceWhileThePercentageWaitsForItsMinute) {
  StatusHarness h("battery");
  testing_support::TempDir none;
  device::SetPowerSupplyFolder(none / "no-supplies");
  ASSERT_TRUE(device::SetBatterySource("host"));  // and the host has none: undetermined
  CmivoBatteryInfo* g = h.Add<CmivoBatteryInfo>(RECT{10, 10, 120, 60});
  h.Settle();
  EXPECT_EQ(Text(g), "??%");

  ASSERT_TRUE(device::SetSimulatedBattery(50, false));
  h.Settle();
  EXPECT_EQ(Text(g), "50%");
  EXPECT_EQ(Image(g), "gadget_battery");
  // Charging at the same level: the picture follows the notification.
  ASSERT_TRUE(reg::SetDword(HKEY_LOCAL_MACHINE, kBatteryKey, u"Main", BatteryMain(50, 2)));
  h.Settle();
  EXPECT_EQ(Image(g), "gadget_battery_ac");
  EXPECT_EQ(Text(g), "50%");
  // A level nobody announced shows at the next minute's reading.
  ASSERT_TRUE(device::SetStateText("battery_level", "40"));
  h.Wait(30000);
  EXPECT_EQ(Text(g), "50%");
  h.Wait(31000);
  EXPECT_EQ(Text(g), "40%");
  device::SetPowerSupplyFolder("/sys/class/power_supply");
}

TEST(StatusGadgets, EachCounterFollowsItsValueAndRepaintsOnlyItsOwnRectangle) {
  StatusHarness h("counters");
  CmivoGSMNetwork* op = h.Add<CmivoGSMNetwork>(RECT{0, 0, 240, 30});
  CmivoSignalStrengthGadget* signal = h.Add<CmivoSignalStrengthGadget>(RECT{0, 40, 110, 80});
  CmivoUnreadMMSEvent* mms = h.Add<CmivoUnreadMMSEvent>(RECT{120, 40, 240, 140});
  CmivoBluetoothGadget* bt = h.Add<CmivoBluetoothGadget>(RECT{0, 150, 110, 190});
  h.Settle();
  EXPECT_EQ(Text(op), "(no operator)") << "a missing name";
  EXPECT_EQ(op->GetStyle().textColor, h.Core().GetAppearance()->SubTextColor) << "the theme's, apart from the others";
  EXPECT_EQ(Text(signal), "0%") << "a missing value reads as 0";
  EXPECT_EQ(Image(signal), "gadget_signal_strength");

  const struct {
    CmivoGadget* gadget;
    HKEY root;
    const char16_t* key;
    const char16_t* name;
    DWORD value;
    const char* text;
  } cases[] = {
      {signal, HKEY_LOCAL_MACHINE, kPhoneKey, u"Signal Strength Raw", 73, "73%"},
      {mms, HKEY_CURRENT_USER, u"System\\State\\Messages\\MMS\\Unread", u"Count", 4, "4"},
      {bt, HKEY_LOCAL_MACHINE, u"System\\State\\Connections\\Bluetooth", u"Count", 2, "2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    h.Pump();
    ASSERT_TRUE(reg::SetDword(c.root, c.key, c.name, c.value));
    ASSERT_TRUE(devdb::SyncChangeWatcher());
    // The notification alone, before anything paints: only the gadget is dirty.
    MSG msg;
    ASSERT_TRUE(
        PeekMessageW(&msg, h.Page().m_hWnd, kGadgetNotificationFirst, kGadgetNotificationFirst + 64, PM_REMOVE));
    DispatchMessageW(&msg);
    EXPECT_EQ(Text(c.gadget), c.text);
    RECT dirty{};
    ASSERT_TRUE(GetUpdateRect(h.Page().m_hWnd, &dirty, FALSE));
    EXPECT_EQ(dirty, c.gadget->GetRect());
  }
  // (A new operator's name: the status scenario sets it in the real program.)
}

class UnreadSMS : public ::testing::Test {
 protected:
  void SetUp() override {
    gadget = h.Add<CmivoUnreadSMSEvent>(RECT{60, 20, 180, 160});
    h.Settle();
  }
  // Delivers an unread SMS as the network does; the count follows.
  void Deliver(const char16_t* text) {
    std::string error;
    ASSERT_NE(device::DeliverSMS(u"Eva <+420 601 000 001>", text, sysclock::UnixMs(), &error), 0) << error;
    h.Settle();
    if (mivoSMSStore* store = h.Core().GetSMSStore()) store->DeliverPendingNotifications();
    h.Settle();
  }
  void SetCount(DWORD n) {
    ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, kUnreadKey, u"Count", n));
    h.Settle();
  }
  void TapText() { h.TapIn(gadget->TextTapRect()); }
  void BackToDesktop() {
    h.Page().ReturnToDesktop();
    h.Pump();
  }
  StatusHarness h{"unread"};
  CmivoUnreadSMSEvent* gadget = nullptr;
};

TEST_F(UnreadSMS, OneUnreadMessageOpensItAndAnyOtherCountTheInbox) {
  Deliver(u"Jsem tu");
  ASSERT_EQ(Text(gadget), "1");
  TapText();
  auto* reader = dynamic_cast<CmivoReadSMSPage*>(h.Core().TopPage());
  ASSERT_NE(reader, nullptr);
  ASSERT_NE(reader->Message(), nullptr);
  EXPECT_EQ(reader->Message()->GetBody(), u"Jsem tu");
  BackToDesktop();

  // A count of none (more than one: the status scenario and the user's day tap it in the real program).
  SetCount(0);
  TapText();
  auto* list = dynamic_cast<CmivoSMSItemsPage*>(h.Core().TopPage());
  ASSERT_NE(list, nullptr);
  ASSERT_NE(list->Folder(), nullptr);
  EXPECT_EQ(list->Folder()->Tag(), PR_CE_IPM_INBOX_ENTRYID);
}

TEST_F(UnreadSMS, ACountOfOneTheInboxDoesNotBearOutEndsInTheInbox) {
  Deliver(u"Přečteno");
  mivoSMSFolder* inbox = h.Core().GetSMSStore()->GetFolder(PR_CE_IPM_INBOX_ENTRYID);
  ASSERT_EQ(inbox->GetCount(), 1u);
  inbox->GetAt(0)->MarkRead();
  SetCount(1);  // a count that lags behind
  ASSERT_EQ(Text(gadget), "1");
  TapText();
  auto* list = dynamic_cast<CmivoSMSItemsPage*>(h.Core().TopPage());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Folder(), inbox);
}

TEST(MissedCallsGadget, TheTextOpensTheCallLogFilteredByTheCountAndThePictureThePhone) {
  StatusHarness h("missed");
  CmivoMissedCallsEvent* g = h.Add<CmivoMissedCallsEvent>(RECT{60, 20, 180, 160});
  h.Settle();
  for (const auto& [count, filter] : {std::pair{0u, 0}, std::pair{3u, 3}, std::pair{1u, 3}}) {
    ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, kPhoneKey, u"Missed Call Count", count));
    h.Settle();
    h.TapIn(g->TextTapRect());
    auto* log = dynamic_cast<CmivoAdvCallLogPage*>(h.Core().TopPage());
    ASSERT_NE(log, nullptr) << count;
    EXPECT_EQ(log->Filter(), filter) << count;
    h.Page().ReturnToDesktop();
    h.Pump();
  }
  h.TapIn(g->IconTapRect());
  EXPECT_EQ(h.Core().TopPage(), h.Core().GetPage(19));
}

TEST(AlarmGadget, ItsFourPicturesFollowTheAlarmAndTheIconSizeApart) {
  StatusHarness h("alarm");
  CmivoAlarmGadget* g = h.Add<CmivoAlarmGadget>(RECT{60, 20, 180, 160});
  const char16_t* key = u"System\\State\\Shell\\Alarms";
  // 2010-03-16 06:30 local time as the value holds it.
  SYSTEMTIME when{2010, 3, 2, 16, 6, 30, 0, 0};
  FILETIME ft{};
  ASSERT_TRUE(SystemTimeToFileTime(&when, &ft));
  std::string bytes(8, '\0');
  const std::uint64_t ticks = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  for (int i = 0; i < 8; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((ticks >> (8 * i)) & 0xFF);

  const struct {
    std::string value;  // "Next"; empty: none
    bool small;
    const char* text;
    const char* image;
  } cases[] = {
      {bytes, false, "06:30", "gadget_alarm_big"},
      {bytes, true, "06:30", "gadget_alarm"},
      {"", true, "", "gadget_alarm_disabled"},
      {"", false, "", "gadget_alarm_big_disabled"},
      {bytes.substr(0, 7), false, "", "gadget_alarm_big_disabled"},  // short: no alarm
      {bytes + "x", false, "", "gadget_alarm_big_disabled"},         // long: no alarm
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.image);
    if (c.value.empty()) {
      reg::Delete(HKEY_CURRENT_USER, key, u"Next");
    } else {
      ASSERT_TRUE(reg::Set(HKEY_CURRENT_USER, key, u"Next", reg::BinaryValue(c.value)));
    }
    mivoContextMenuEntry entry;
    entry.CommandId = c.small ? 2064 : 2065;
    g->OnContextMenuCommand(entry);
    h.Settle();
    EXPECT_EQ(g->SmallIcon(), c.small);
    EXPECT_EQ(Text(g), c.text);
    EXPECT_EQ(Image(g), c.image);
  }
}

TEST(ConnectionManagerGadget, BluetoothCyclesOffOnDiscoverableOffTapByTap) {
  StatusHarness h("bluetooth");
  CmivoConnectionManagerGadget* g = h.Add<CmivoConnectionManagerGadget>(RECT{40, 40, 200, 100});
  EXPECT_EQ(Text(g), "On") << "the phone, read at once";
  EXPECT_EQ(Image(g), "gadget_phone_on");
  mivoContextMenuEntry choose;
  choose.CommandId = 2066;  // Bluetooth
  g->OnContextMenuCommand(choose);
  EXPECT_EQ(g->DeviceKind(), CmivoConnectionManagerGadget::kBluetooth);
  // Before the next reading a tap acts on the state read for the phone: on,
  // which for Bluetooth leads to discoverable.
  h.TapIn(g->GetRect());
  DWORD state = 9;
  ASSERT_TRUE(device::GetRadioState(RADIODEVICES_BLUETOOTH, &state));
  EXPECT_EQ(state, RADIODEVICES_DISCOVERABLE);
  std::string error;
  ASSERT_TRUE(device::SetRadioState(RADIODEVICES_BLUETOOTH, RADIODEVICES_OFF, &error));
  h.Wait(2000);
  const struct {
    const char* text;
    const char* image;
    DWORD state;
  } steps[] = {{"On", "gadget_bluetooth_on", 1},
               {"Dis", "gadget_bluetooth_discoverable", 2},
               {"Off", "gadget_bluetooth_off", 0},
               {"On", "gadget_bluetooth_on", 1}};
  EXPECT_EQ(Text(g), "Off");
  for (const auto& step : steps) {
    SCOPED_TRACE(step.text);
    h.TapIn(g->GetRect());
    ASSERT_TRUE(device::GetRadioState(RADIODEVICES_BLUETOOTH, &state));
    EXPECT_EQ(state, step.state);
    h.Wait(2000);  // the display follows at the next reading
    EXPECT_EQ(Text(g), step.text);
    EXPECT_EQ(Image(g), step.image);
  }
  EXPECT_EQ(h.Core().TopPage(), &h.Page()) << "a tap on the switch is no tap on the desktop";
}

TEST(ConnectionManagerGadget, DoesNotPollWhileAPageCoversTheDesktopOrTheProgramIsHidden) {
  StatusHarness h("covered");
  CmivoConnectionManagerGadget* g = h.Add<CmivoConnectionManagerGadget>(RECT{40, 40, 200, 100});
  CmivoMemoryGadget* memory = h.Add<CmivoMemoryGadget>(RECT{40, 120, 200, 170});
  ASSERT_EQ(Text(g), "On");
  EXPECT_TRUE(h.Page().GadgetTimersRunning());

  h.Key(VK_RETURN);  // the main menu over the desktop
  ASSERT_NE(h.Core().TopPage(), &h.Page());
  EXPECT_FALSE(h.Page().GadgetTimersRunning());
  std::string error;
  ASSERT_TRUE(device::SetRadioState(RADIODEVICES_PHONE, RADIODEVICES_OFF, &error));
  testing_support::TempDir mem;
  testing_support::WriteText(mem / "meminfo", "MemTotal: 1000 kB\nMemAvailable: 250 kB\n");
  device::SetMemInfoFile(mem / "meminfo");
  h.Wait(10000);
  EXPECT_EQ(Text(g), "On") << "nothing was read while covered";
  EXPECT_EQ(g->LastState(), 1);

  // Back: every timer gadget catches up at once, then the timers run on.
  h.Page().ReturnToDesktop();
  h.Pump();
  EXPECT_TRUE(h.Page().GadgetTimersRunning());
  EXPECT_EQ(Text(g), "Off");
  EXPECT_EQ(Text(memory), "75%");

  // Hidden ("Hide"), the same; shown again, the same catching up.
  h.Core().MinimizeApplication();
  h.Pump();
  EXPECT_FALSE(h.Page().GadgetTimersRunning());
  ASSERT_TRUE(device::SetRadioState(RADIODEVICES_PHONE, RADIODEVICES_ON, &error));
  h.Wait(10000);
  EXPECT_EQ(Text(g), "Off");
  h.Frame().ShowWindow(SW_SHOW);
  h.Pump();
  EXPECT_TRUE(h.Page().GadgetTimersRunning());
  EXPECT_EQ(Text(g), "On");
  device::SetMemInfoFile("/proc/meminfo");
}

// The window's buttons in the dump's order.
constexpr int kClose = 0, kMute = 1, kVibrate = 2, kSystemIcon = 3, kSystemBar0 = 5, kRingBar0 = 11;

class VolumeWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    gadget = h.Add<CmivoVolumeGadget>(RECT{80, 80, 160, 160});
    ASSERT_EQ(waveOutSetVolume(nullptr, 0xFFFF), MMSYSERR_NOERROR);
    ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, u"ControlPanel\\SoundCategories\\Ring", u"InitVol", 2));
  }
  // Opens the window with a tap on the picture; each step runs in the
  // window's own loop once it has handled what the step before did, as a
  // user acts; then the close button ends it.
  void WithWindow(const std::vector<std::function<void()>>& steps) {
    for (const auto& step : steps) h.AtIdle(step);
    h.AtIdle([] { uitest::TapOverlayButton(kClose); });
    h.TapIn(gadget->IconTapRect());
    EXPECT_EQ(ui::TopOverlay(), nullptr) << "closed";
  }
  static std::function<void()> TapButton(int index) {
    return [index] { uitest::TapOverlayButton(index); };
  }
  StatusHarness h{"volume"};
  CmivoVolumeGadget* gadget = nullptr;
};

TEST_F(VolumeWindow, ABarSetsItsStepAndTheSoundOnAndAFullVolumeLightsAllSixBars) {
  std::string shown;
  std::vector<bool> lit;  // the six system bars, then the six ring bars
  WithWindow({[&] {
                const ui::OverlayDescription d = uitest::OpenOverlay();
                shown = text::ToUtf8(d.text);
                const uitest::Capture screen = uitest::UiHarness::Screen();
                const std::uint32_t fill = uitest::Pixel(h.Core().GetAppearance()->ColorTheme().GetColor(6));
                for (int i = 0; i < 12; ++i) {
                  const POINT c = uitest::Centre(d.buttons[static_cast<std::size_t>(kSystemBar0 + i)]);
                  lit.push_back(screen.At(c.x, c.y) == fill);
                }
                uitest::TapOverlayButton(kSystemBar0 + 2);
              },
              TapButton(kRingBar0 + 4)});
  EXPECT_EQ(shown, "system 6, ring 2, on") << "65535 / 10922 = 6";
  EXPECT_EQ(lit, (std::vector<bool>{true, true, true, true, true, true, true, true, false, false, false, false}));
  DWORD volume = 0;
  waveOutGetVolume(nullptr, &volume);
  EXPECT_EQ(volume, 32766u);
  EXPECT_EQ(CmivoVolumeWnd::RingLevel(), 5);
  EXPECT_EQ(CmivoVolumeWnd::SoundType(), SND_SOUNDTYPE_ON);
  WithWindow({TapButton(kSystemIcon)});
  waveOutGetVolume(nullptr, &volume);
  EXPECT_EQ(volume, 0u);
  EXPECT_EQ(h.Core().TopPage(), &h.Page());
}

TEST_F(VolumeWindow, MuteTogglesAndVibrateWhileMutedTurnsTheSoundOn) {
  std::vector<SND_SOUNDTYPE> seen;
  std::vector<std::function<void()>> steps;
  bool first = true;
  for (int button : {kMute, kMute, kMute, kVibrate, kVibrate, kVibrate}) {
    steps.push_back([&seen, &first, button] {
      if (!first) seen.push_back(CmivoVolumeWnd::SoundType());
      first = false;
      uitest::TapOverlayButton(button);
    });
  }
  steps.push_back([&seen] { seen.push_back(CmivoVolumeWnd::SoundType()); });
  WithWindow(steps);
  EXPECT_EQ(seen, (std::vector<SND_SOUNDTYPE>{SND_SOUNDTYPE_NONE, SND_SOUNDTYPE_ON, SND_SOUNDTYPE_NONE,
                                              SND_SOUNDTYPE_ON, SND_SOUNDTYPE_VIBRATE, SND_SOUNDTYPE_ON}));
}

TEST_F(VolumeWindow, ATapBesideItDoesNothingAndTheProgramsEndClosesIt) {
  WithWindow({[] {
    // Under the window, on the desktop, where a tap opens the main menu.
    const RECT r = uitest::OpenOverlay().buttons[kClose];
    uitest::UiHarness::TapNoPump(120, r.bottom + 40);
  }});
  EXPECT_EQ(h.Core().TopPage(), &h.Page()) << "the tap beside the window did nothing";
  // The program ends while the window is open: it goes, and the quit is passed on.
  h.AtIdle([] { PostQuitMessage(0); });
  h.TapIn(gadget->IconTapRect());
  EXPECT_EQ(ui::TopOverlay(), nullptr);
  EXPECT_TRUE(window::QuitPending());
}

}  // namespace
