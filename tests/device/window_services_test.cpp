// Device services that deliver to real windows through the message queue:
// registry notifications from another process, folder changes, and the
// clipboard and file info the pages use.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/device/device.h"
#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/notify.h"
#include "platform/registry/registry.h"
#include "platform/shell/change_notify.h"
#include "platform/shell/clipboard.h"
#include "platform/shell/file_info.h"
#include "platform/win32/errors.h"
#include "platform/win32/local_memory.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"
#include "platform/window/window.h"
#include "tests/device/device_fixture.h"
#include "tests/fs/temp_dir.h"
#include "tests/tools/run_tool.h"

using testing_support::TempDir;
using testing_support::WriteText;

namespace {

struct Received {
  UINT msg;
  WPARAM wParam;
  LONG event = 0;
  std::u16string item1, item2;
};
std::vector<Received> g_received;

LRESULT RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_FILECHANGEINFO) {
    auto* n = reinterpret_cast<FILECHANGENOTIFY*>(lParam);
    Received r{msg, wParam, n->fci.wEventId, reinterpret_cast<const char16_t*>(n->fci.dwItem1),
               n->fci.dwItem2 ? reinterpret_cast<const char16_t*>(n->fci.dwItem2) : u""};
    g_received.push_back(r);
    SHChangeNotifyFree(n);
    return 1;
  }
  if (msg >= WM_USER) {
    g_received.push_back({msg, wParam, 0, u"", u""});
    return 1;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class WindowServicesTest : public devicetest::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecorderProc;
    wc.lpszClassName = u"recorder";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, u"recorder", u"", WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    g_received.clear();
  }
  void TearDown() override {
    window::ResetWindowSystem();
    DeviceTest::TearDown();
  }
  static void PumpUntil(std::size_t count) {
    devicetest::PumpUntil([&] { return g_received.size() >= count; });
  }
  static void PumpFor(int ms) {
    devicetest::PumpUntil([] { return false; }, ms);
  }
  HWND window = nullptr;
};

TEST_F(WindowServicesTest, AValueChangedByMivoDeviceReachesTheWindowOncePerChange) {
  HREGNOTIFY n = nullptr;
  ASSERT_EQ(RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", window,
                                 WM_USER + 4, 0, nullptr, &n),
            S_OK);
  std::string dev = dir / "dev";
  for (const char* v : {"10", "20", "20", "30"})
    ASSERT_EQ(testing_support::RunMivoDevice({"--device", dev, "set", "signal", v}).code, 0);
  PumpUntil(3);
  PumpFor(100);
  ASSERT_EQ(g_received.size(), 3u);  // 20 twice is one change
  EXPECT_EQ(g_received[0].wParam, 10u);
  EXPECT_EQ(g_received[2].wParam, 30u);
  RegistryCloseNotification(n);
  ASSERT_EQ(testing_support::RunMivoDevice({"--device", dev, "set", "signal", "40"}).code, 0);
  PumpFor(100);
  EXPECT_EQ(g_received.size(), 3u);
  // The value survives a restart of the device.
  device::CloseDevice();
  std::string error;
  ASSERT_TRUE(device::OpenDevice(dev, &error));
  DWORD v = 0;
  ASSERT_EQ(RegistryGetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", &v), S_OK);
  EXPECT_EQ(v, 40u);
}

TEST_F(WindowServicesTest, FolderChangesArriveAsFileChangeRecords) {
  ASSERT_TRUE(CreateDirectoryW(u"\\Watched", nullptr));
  SHCHANGENOTIFYENTRY entry;
  entry.dwEventMask = SHCNE_ALLEVENTS;
  std::u16string folder = u"\\watched";
  entry.pszWatchDir = folder.data();
  ASSERT_TRUE(SHChangeNotifyRegister(window, &entry));
  std::string host = dir / "dev/fs/Watched";

  WriteText(host + "/a.txt", "x");  // created, then written
  PumpUntil(2);
  ASSERT_GE(g_received.size(), 2u);
  EXPECT_EQ(g_received[0].event, SHCNE_CREATE);
  EXPECT_EQ(g_received[0].item1, u"\\Watched\\a.txt");
  EXPECT_EQ(g_received[1].event, SHCNE_UPDATEITEM);
  g_received.clear();

  // Replaced the system's way: one update, the temporary never shows.
  ASSERT_TRUE(fs::WriteFileAtomic(u"\\Watched\\a.txt", {'y'}));
  ASSERT_TRUE(MoveFileW(u"\\Watched\\a.txt", u"\\Watched\\b.txt"));
  ASSERT_TRUE(CreateDirectoryW(u"\\Watched\\Sub", nullptr));
  ASSERT_TRUE(RemoveDirectoryW(u"\\Watched\\Sub"));
  ASSERT_TRUE(DeleteFileW(u"\\Watched\\b.txt"));
  PumpUntil(5);
  PumpFor(50);
  std::vector<LONG> events;
  for (const Received& r : g_received) events.push_back(r.event);
  ASSERT_EQ(events, (std::vector<LONG>{SHCNE_UPDATEITEM, SHCNE_RENAMEITEM, SHCNE_MKDIR, SHCNE_RMDIR, SHCNE_DELETE}));
  EXPECT_EQ(g_received[0].item1, u"\\Watched\\a.txt");
  EXPECT_EQ(g_received[1].item1, u"\\Watched\\a.txt");
  EXPECT_EQ(g_received[1].item2, u"\\Watched\\b.txt");

  EXPECT_TRUE(SHChangeNotifyDeregister(window));
  g_received.clear();
  WriteText(host + "/c.txt", "x");
  PumpFor(100);
  EXPECT_TRUE(g_received.empty());
  std::u16string missing = u"\\Nowhere";
  entry.pszWatchDir = missing.data();
  EXPECT_FALSE(SHChangeNotifyRegister(window, &entry));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(WindowServicesTest, TheClipboardHoldsTextUntilReplacedAndJoinsTheHost) {
  EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  ASSERT_TRUE(OpenClipboard(window));
  ASSERT_TRUE(EmptyClipboard());
  auto* block = static_cast<char16_t*>(LocalAlloc(LMEM_FIXED, 12));
  std::memcpy(block, u"Ahoj!", 12);
  ASSERT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GetClipboardData(CF_UNICODETEXT))), u"Ahoj!");
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  ASSERT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());

  std::u16string host = u"from the host";
  std::u16string setOnHost;
  shell::SetHostClipboard({[&](std::u16string* out) { *out = host; return true; },
                           [&](const std::u16string& s) { setOnHost = s; }});
  ASSERT_TRUE(OpenClipboard(window));
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GetClipboardData(CF_UNICODETEXT))), u"from the host");
  block = static_cast<char16_t*>(LocalAlloc(LMEM_FIXED, 6));
  std::memcpy(block, u"mivo", 6);  // not terminated: read within the block only
  ASSERT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);
  EXPECT_EQ(setOnHost, u"miv");
  CloseClipboard();
  shell::SetHostClipboard({});
}

TEST_F(WindowServicesTest, FileInfoGivesNamesAttributesAndThemeIcons) {
  SHFILEINFO info;
  ASSERT_TRUE(SHGetFileInfo(u"\\Windows\\Start Menu\\Programs\\Pocket Word.lnk", 0, &info, sizeof info,
                            SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES));
  EXPECT_EQ(std::u16string(info.szDisplayName), u"Pocket Word");
  EXPECT_TRUE(info.dwAttributes & SFGAO_LINK);
  EXPECT_FALSE(info.dwAttributes & SFGAO_FOLDER);
  ASSERT_TRUE(SHGetFileInfo(u"\\My Documents", 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES));
  EXPECT_EQ(std::u16string(info.szDisplayName), u"My Documents");
  EXPECT_EQ(info.dwAttributes & SFGAO_FOLDER, SFGAO_FOLDER);
  EXPECT_EQ(SHGetFileInfo(u"\\Nothing.txt", 0, &info, sizeof info, SHGFI_DISPLAYNAME), 0u);
  EXPECT_EQ(shell::IconNameFor(u"\\a\\Report.DOC", false), "x-office-document");
  EXPECT_EQ(shell::IconNameFor(u"\\a", true), "folder");

  // Icons come from a theme folder of PNG files.
  std::filesystem::create_directories(dir / "theme/32x32/mimetypes");
  std::filesystem::copy_file(dir / "dev/fs/My Documents/My Pictures/Meadow.jpg", dir / "meadow.jpg");
  shell::SetIconThemeFolders({dir / "theme"});
  ASSERT_TRUE(SHGetFileInfo(u"\\My Documents\\Welcome.txt", 0, &info, sizeof info, SHGFI_ICON));
  EXPECT_EQ(info.hIcon, nullptr);  // the theme has no text icon
  shell::SetIconThemeFolders({"/usr/share/icons/Adwaita"});
  if (std::filesystem::exists("/usr/share/icons/Adwaita/32x32/mimetypes/text-x-generic.png")) {
    ASSERT_TRUE(SHGetFileInfo(u"\\My Documents\\Welcome.txt", 0, &info, sizeof info, SHGFI_ICON));
    ASSERT_NE(info.hIcon, nullptr);
    int w = 0, h = 0;
    EXPECT_TRUE(gdi::GetIconSize(info.hIcon, &w, &h));
    EXPECT_EQ(w, 32);
    DestroyIcon(info.hIcon);
    ASSERT_TRUE(SHGetFileInfo(u"\\My Documents", 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON));
    EXPECT_TRUE(gdi::GetIconSize(info.hIcon, &w, &h));
    EXPECT_EQ(w, 16);
    DestroyIcon(info.hIcon);
  }
}

}  // namespace
