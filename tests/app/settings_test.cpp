// The settings accessor against a real registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/text.h"
#include "tests/app/test_device.h"

using apptest::TestDevice;

namespace {

constexpr char16_t kMain[] = u"Software\\mivo\\mivo";

// Records each wake-up registration call together with what the AutoShow
// value read at that moment.
struct RunAtEventCall {
  std::u16string application;
  LONG event;
  bool autoShowStored;  // the value existed and was non-zero when the call came
};
std::vector<RunAtEventCall> g_calls;

BOOL RecordRunAtEvent(LPCWSTR application, LONG event) {
  DWORD v = 0;
  const bool stored = reg::GetDword(HKEY_CURRENT_USER, kRegistrationKey, u"AutoShow", &v) && v != 0;
  g_calls.push_back({application, event, stored});
  return TRUE;
}

}  // namespace

// The defaults the settings page shows are read through the real program in
// SettingsScenario.EveryRowChangesItsSettingAndANewStartShowsTheStoredValues.
TEST(Settings, ADeviceWithNoKeyAtAllReadsEveryDefault) {
  TestDevice dev("settings_defaults");
  mivoSettingsStore s;
  EXPECT_TRUE(s.GetFinishInstallation());
  EXPECT_EQ(s.GetThemeName(), u"Black");
  EXPECT_EQ(s.GetSkinName(), u"");
  EXPECT_EQ(s.GetWallpaperTheme(), u"Default");
  EXPECT_EQ(s.GetLanguage(), u"English");
  EXPECT_FALSE(s.GetUserDesktopWallpaper(1, false));
  EXPECT_FALSE(s.GetUserDesktopWallpaper(32, true));
  EXPECT_EQ(s.GetDesktopIcon(1, false), u"");
  // Reading writes nothing back.
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kMain, 0, KEY_READ, &key), ERROR_SUCCESS);
}

// The numbers and on/off values the settings page writes, and reads at the
// next start, are in SettingsScenario.EveryRowChangesItsSettingAndANewStartShowsTheStoredValues.
TEST(Settings, NumbersAndTextsComeBackExactlyAsStored) {
  TestDevice dev("settings_exact");
  mivoSettingsStore s;
  EXPECT_EQ(s.SetDesktopsCount(0), S_OK);
  EXPECT_EQ(s.GetDesktopsCount(), 0u);  // no clamping in the store
  ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, kMain, u"DesktopsCount", 77));
  EXPECT_EQ(s.GetDesktopsCount(), 77u);
  // Any non-zero DWORD reads as on.
  ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, kMain, u"AskBeforeExit", 0x100));
  EXPECT_TRUE(s.GetAskBeforeExit());

  // Texts go in unchanged, even longer than a reader's buffer.
  const std::u16string longName(80, u'x');
  EXPECT_EQ(s.SetThemeName(longName), S_OK);
  std::u16string stored;
  ASSERT_TRUE(reg::GetString(HKEY_CURRENT_USER, kMain, u"ThemeName", &stored));
  EXPECT_EQ(stored, longName);
  // ... and a text that does not fit the 50-character buffer reads as missing.
  EXPECT_EQ(s.GetThemeName(), u"Black");
  const std::u16string fortyNine(49, u'n');
  s.SetLanguage(fortyNine);
  EXPECT_EQ(s.GetLanguage(), fortyNine);
}

// The full screen and the language of the wrong type are in StartUp.WrongTypesInTheRegistryGiveTheDefaultsWithoutAWord.
TEST(Settings, ValuesOfTheWrongTypeReadAsTheirDefaults) {
  TestDevice dev("settings_types");
  ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, kMain, u"AnimationsEnabled", u"0"));
  ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, kMain, u"DesktopsCount", u"9"));
  ASSERT_TRUE(reg::Set(HKEY_CURRENT_USER, kMain, u"TapOnContact", reg::BinaryValue(std::string("\x02\x00", 2))));
  ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, kRegistrationKey, u"AutoShow", u"yes"));
  mivoSettingsStore s;
  EXPECT_TRUE(s.GetAnimationsEnabled());
  EXPECT_EQ(s.GetDesktopsCount(), 4u);
  EXPECT_EQ(s.GetTapOnContact(), 1u);
  EXPECT_FALSE(s.GetAutoShow());
}

TEST(Settings, TheLooksNamesThatWouldLeaveTheirFolderReadAsMissing) {
  TestDevice dev("settings_look_names");
  mivoSettingsStore s;
  for (const char16_t* bad : {u"..\\X", u"../X", u"Skins\\X", u"C:X", u"..", u"a..b", u"X\n"}) {
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, kMain, u"SkinName", bad));
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, kMain, u"ThemeName", bad));
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, kMain, u"WallpaperTheme", bad));
    ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, kMain, u"Language", bad));
    EXPECT_EQ(s.GetSkinName(), u"");
    EXPECT_EQ(s.GetThemeName(), u"Black");
    EXPECT_EQ(s.GetWallpaperTheme(), u"Default");
    EXPECT_EQ(s.GetLanguage(), u"English");
  }
  ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, kMain, u"SkinName", u"Clear Horizon VGA"));
  EXPECT_EQ(s.GetSkinName(), u"Clear Horizon VGA");
}

TEST(Settings, EachDesktopHasItsOwnValuesPerOrientation) {
  TestDevice dev("settings_desktops");
  EXPECT_EQ(mivoSettingsStore::DesktopValueName(u"DesktopIcon", 1, false), u"DesktopIcon1");
  mivoSettingsStore s;
  s.SetDesktopIcon(2, false, u"gadget_desktop_home");
  s.SetDesktopIcon(2, true, u"\\My Documents\\sun.png");
  EXPECT_EQ(s.GetDesktopIcon(2, false), u"gadget_desktop_home");
  EXPECT_EQ(s.GetDesktopIcon(2, true), u"\\My Documents\\sun.png");
  EXPECT_EQ(s.GetDesktopIcon(3, false), u"");
  std::u16string stored;
  ASSERT_TRUE(reg::GetString(HKEY_CURRENT_USER, kDesktopIconsKey, u"DesktopIcon2_horz", &stored));
  EXPECT_EQ(stored, u"\\My Documents\\sun.png");

  s.SetUserDesktopWallpaper(3, true, true);
  EXPECT_TRUE(s.GetUserDesktopWallpaper(3, true));
  EXPECT_FALSE(s.GetUserDesktopWallpaper(3, false));
  DWORD v = 0;
  EXPECT_TRUE(reg::GetDword(HKEY_CURRENT_USER, kMain, u"UserDesktopWallpaper3_horz", &v));
  EXPECT_EQ(v, 1u);

  // An icon path up to the 260-character buffer is kept whole.
  const std::u16string path = u"\\" + std::u16string(258, u'p');
  s.SetDesktopIcon(4, false, path);
  EXPECT_EQ(s.GetDesktopIcon(4, false), path);
}

TEST(Settings, AutoShowChangesTheWakeUpRegistrationBeforeTheValueAndTheAccessorRenewsIt) {
  TestDevice dev("settings_autoshow");
  g_calls.clear();
  mivoSettingsStore s;
  s.SetRunAtEventFunction(&RecordRunAtEvent);

  s.SetAutoShow(true);
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].application, u"\\\\.\\Notifications\\NamedEvents\\Vastelo_mivo_onActivateApplication");
  EXPECT_EQ(g_calls[0].event, NOTIFICATION_EVENT_WAKEUP);
  EXPECT_FALSE(g_calls[0].autoShowStored);  // registered before the value was written
  EXPECT_TRUE(s.GetAutoShow());

  s.SetAutoShow(false);
  ASSERT_EQ(g_calls.size(), 2u);
  EXPECT_EQ(g_calls[1].event, NOTIFICATION_EVENT_NONE);
  EXPECT_TRUE(g_calls[1].autoShowStored);  // removed while the value still said on
  EXPECT_FALSE(s.GetAutoShow());
  DWORD v = 9;
  ASSERT_TRUE(reg::GetDword(HKEY_CURRENT_USER, kRegistrationKey, u"AutoShow", &v));
  EXPECT_EQ(v, 0u);

  // The accessor renews the registration for each run and removes it at the end.
  g_calls.clear();
  { mivoSettings off(&RecordRunAtEvent); }
  // Off: nothing registered at construction, removed at destruction.
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].event, NOTIFICATION_EVENT_NONE);

  ASSERT_TRUE(reg::SetDword(HKEY_CURRENT_USER, kRegistrationKey, u"AutoShow", 1));
  g_calls.clear();
  { mivoSettings on(&RecordRunAtEvent); }
  ASSERT_EQ(g_calls.size(), 2u);
  EXPECT_EQ(g_calls[0].event, NOTIFICATION_EVENT_WAKEUP);
  EXPECT_EQ(g_calls[1].event, NOTIFICATION_EVENT_NONE);
}

TEST(Settings, AutoShowLeavesTheWakeUpRegistrationOnTheDeviceExactlyWhileOn) {
  TestDevice dev("settings_wakeup");
  auto registrations = [] {
    devdb::Database* db = devdb::DeviceDatabase();
    std::lock_guard<std::recursive_mutex> lock(db->mutex());
    devdb::Statement st(db->handle(), "SELECT COUNT(*) FROM run_at_event WHERE app = ?1 AND event = ?2");
    st.Bind(1, std::u16string(kActivationEventApplication))
        .Bind(2, static_cast<std::int64_t>(NOTIFICATION_EVENT_WAKEUP));
    return st.Step() == SQLITE_ROW ? st.Int(0) : -1;
  };
  mivoSettingsStore s;
  EXPECT_EQ(registrations(), 0);
  s.SetAutoShow(true);
  EXPECT_EQ(registrations(), 1);
  s.SetAutoShow(true);
  EXPECT_EQ(registrations(), 1);
  s.SetAutoShow(false);
  EXPECT_EQ(registrations(), 0);
}
