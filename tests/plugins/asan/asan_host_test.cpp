// The shipped samples under AddressSanitizer. Each sample is built again
// with the sanitizer, and this small host (built with it too) loads it and
// drives every entry point it has, with good and bad values: gadgets of
// every index, paints at odd sizes, both scales and many dates, the menu
// with good, bad and overlong texts, stored settings cut at every length,
// and the Today plug-in's window through its whole life. A fault in a
// sample (a read or write out of bounds, a use after free, a leak) ends the
// test with the sanitizer's report.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "desktop/plugin_interface.h"
#include "desktop/today_interface.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/registry.h"
#include "platform/win32/clock.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "sdk/host/exports.h"
#include "tests/app/test_device.h"

// The sanitizer's settings live in the program, not in its environment:
// leaks are looked for at the end, and fontconfig's own configuration, which
// it keeps for the life of the process, is no leak of a sample's.
extern "C" const char* __asan_default_options() { return "detect_leaks=1"; }
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

// ---- A host of the test's own: rectangles by owner, settings in a byte buffer ----

struct Owner {
  RECT rect{};
};

struct Archive {
  std::vector<std::uint8_t> bytes;
  std::size_t position = 0;
  bool failed = false;
  bool Take(std::size_t n, const std::uint8_t** at) {
    if (bytes.size() - position < n) {
      failed = true;
      return false;
    }
    *at = bytes.data() + position;
    position += n;
    return true;
  }
};

Owner* OwnerOf(MIVOOWNER owner) { return static_cast<Owner*>(owner); }
Archive* ArchiveOf(MIVOARCHIVE archive) { return static_cast<Archive*>(archive); }

void Put32(Archive* a, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) a->bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t Get32(Archive* a) {
  const std::uint8_t* p = nullptr;
  if (!a->Take(4, &p)) return 0;
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

const mivoAPI_1 kApi = {
    [](MIVOOWNER owner, const mivoGadgetRect* r) {
      OwnerOf(owner)->rect = RECT{r->left, r->top, r->right, r->bottom};
    },
    [](RECT* rect, MIVOOWNER owner) { *rect = OwnerOf(owner)->rect; },
    [](MIVOHANDLE) -> COLORREF { return RGB(255, 255, 255); },
    [](MIVOHANDLE) -> COLORREF { return RGB(0, 0, 0); },
    [](MIVOHANDLE) { return static_cast<HFONT>(GetStockObject(SYSTEM_FONT)); },
    [](MIVOHANDLE) { return static_cast<HFONT>(GetStockObject(SYSTEM_FONT)); },
    [](MIVOARCHIVE a, std::int32_t v) { Put32(ArchiveOf(a), static_cast<std::uint32_t>(v)); },
    [](MIVOARCHIVE a, DWORD v) { Put32(ArchiveOf(a), v); },
    [](MIVOARCHIVE a, BOOL v) { ArchiveOf(a)->bytes.push_back(v ? 1 : 0); },
    [](MIVOARCHIVE a, const char16_t* text) {
      std::u16string s = text ? text : u"";
      Put32(ArchiveOf(a), static_cast<std::uint32_t>(s.size()));
      for (char16_t c : s) {
        ArchiveOf(a)->bytes.push_back(static_cast<std::uint8_t>(c));
        ArchiveOf(a)->bytes.push_back(static_cast<std::uint8_t>(c >> 8));
      }
    },
    [](MIVOARCHIVE a) { return static_cast<std::int32_t>(Get32(ArchiveOf(a))); },
    [](MIVOARCHIVE a) { return static_cast<DWORD>(Get32(ArchiveOf(a))); },
    [](MIVOARCHIVE a) -> BOOL {
      const std::uint8_t* p = nullptr;
      return ArchiveOf(a)->Take(1, &p) && *p ? TRUE : FALSE;
    },
    [](MIVOARCHIVE a, char16_t* buffer, int capacity) {
      const std::uint32_t length = Get32(ArchiveOf(a));
      const std::uint8_t* p = nullptr;
      if (length > 0x10000 || !ArchiveOf(a)->Take(2 * std::size_t{length}, &p)) return;
      for (std::uint32_t i = 0; i < length && static_cast<int>(i) < capacity; ++i) {
        buffer[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
      }
    },
};

// Answers every message box a sample opens (the countdown's "bad date") with its first button.
class AnsweringSource : public window::EventSource {
 public:
  void WaitForEvents(std::uint64_t) override {
    HWND box = GetFocus();
    if (!box) box = GetActiveWindow();
    if (box) {
      ++answered;
      PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    }
  }
  void Wake() override {}
  int answered = 0;
};

template <typename Fn>
Fn Symbol(void* library, const char* name) {
  return reinterpret_cast<Fn>(dlsym(library, name));
}

// Moves the virtual clock to a local date and time.
void SetDate(int year, int month, int day, int hour = 12) {
  SYSTEMTIME t{
      static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day), static_cast<WORD>(hour), 0, 0, 0};
  SetLocalTime(&t);
}

class SampleHost : public ::testing::Test {
 protected:
  SampleHost() : m_device("asan_samples") {}
  void SetUp() override {
    ASSERT_GT(sdk_host::ExportedFunctionCount(), 0);
    sysclock::UseVirtualTime();
    window::SetScreenSize(240, 320);
    window::CreateFramebuffer(240, 320);
    gdi::SetLogPixels(96);
    window::SetEventSource(&m_events);
  }
  void TearDown() override {
    for (void* library : m_libraries) dlclose(library);
    window::SetEventSource(nullptr);
    window::ResetWindowSystem();
  }
  void* Open(const char* name) {
    const std::string path = std::string(MIVO_ASAN_SAMPLE_DIR) + "/" + name + ".so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(library, nullptr) << dlerror();
    if (library) m_libraries.push_back(library);
    return library;
  }
  apptest::TestDevice m_device;
  AnsweringSource m_events;
  std::vector<void*> m_libraries;
};

// Everything a gadget plug-in exports, driven hard.
void DriveGadgetLibrary(void* library, const std::vector<std::u16string>& texts) {
  auto setHandle = Symbol<mivoSetMivoHandleFn>(library, "mivoGadgetAPIDll_SetMivoHandle");
  auto setApi = Symbol<mivoSetMivoAPI1Fn>(library, "mivoGadgetAPIDll_SetMivoAPI_1");
  auto count = Symbol<mivoGadgetsCountFn>(library, "mivoGadgetAPIDll_GadgetsCount");
  auto info = Symbol<mivoGetGadgetInfoFn>(library, "mivoGadgetAPIDll_GetGadgetInfo");
  auto create = Symbol<mivoCreateGadgetFn>(library, "mivoGadgetAPIDll_CreateGadget");
  auto destroy = Symbol<mivoDeleteGadgetFn>(library, "mivoGadgetAPIDll_DeleteGadget");
  auto paint = Symbol<mivoOnPaintFn>(library, "mivoGadgetAPI_OnPaint");
  auto save = Symbol<mivoSaveFn>(library, "mivoGadgetAPI_Save");
  auto load = Symbol<mivoLoadFn>(library, "mivoGadgetAPI_Load");
  auto message = Symbol<mivoOnMessageFn>(library, "mivoGadgetAPI_OnMessage");
  auto timer = Symbol<mivoOnTimerFn>(library, "mivoGadgetAPI_OnTimer");
  auto tap = Symbol<mivoOnLButtonUpFn>(library, "mivoGadgetAPI_OnLButtonUp");
  ASSERT_TRUE(setHandle && setApi && count && info && create && destroy && paint && save && load && message);

  Owner owner;
  EXPECT_EQ(create(&owner, 0), nullptr) << "nothing before the host's table";
  setHandle(reinterpret_cast<MIVOHANDLE>(0x1000));
  setApi(&kApi);
  ASSERT_EQ(count(), 1);
  ASSERT_NE(info(0), nullptr);
  EXPECT_EQ(info(1), nullptr);
  EXPECT_EQ(info(-1), nullptr);
  for (int bad : {-1, 1, 99}) EXPECT_EQ(create(&owner, bad), nullptr);

  MIVOGADGET g = create(&owner, 0);
  ASSERT_NE(g, nullptr);
  EXPECT_GT(owner.rect.right - owner.rect.left, 0) << "it took a size of its own";

  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 400, 400);
  SelectObject(dc, bitmap);
  const RECT rects[] = {{10, 10, 206, 66},  {0, 0, 0, 0},     {5, 5, 6, 6},     {0, 0, 5, 5},
                        {-50, -50, 30, 30}, {0, 0, 2000, 40}, {0, 0, 40, 2000}, {390, 390, 500, 500}};
  const int dates[][3] = {{2010, 3, 15}, {2024, 2, 29}, {1999, 12, 31}, {2000, 1, 6}, {2100, 6, 1}, {1970, 1, 1}};
  for (int dpi : {96, 192}) {
    gdi::SetLogPixels(dpi);
    for (const auto& date : dates) {
      SetDate(date[0], date[1], date[2]);
      for (const RECT& r : rects) {
        owner.rect = r;
        paint(g, dc);
      }
      if (timer) timer(g);
    }
  }
  // A lunation, day by day.
  for (int day = 1; day <= 31; ++day) {
    SetDate(2030, 1, day, day % 24);
    owner.rect = RECT{10, 10, 206, 66};
    paint(g, dc);
    if (timer) timer(g);
  }
  paint(g, nullptr);
  if (tap) {
    tap(g, 5, 5);
    tap(g, -1000, 1000000);
  }

  // The menu: every item, then each command with every text.
  std::vector<mivoMenuItem> items;
  for (int k = 0; k < MIVO_MENU_MAX_ITEMS + 5; ++k) {
    mivoMenuItem item{};
    if (!message(g, MIVO_GM_GETMENUITEM, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&item))) break;
    EXPECT_NE(item.text[0], 0) << "item " << k << " has a label";
    items.push_back(item);
  }
  EXPECT_FALSE(items.empty());
  for (const mivoMenuItem& item : items) {
    message(g, MIVO_GM_MENUCOMMAND, item.id, 0);
    for (const std::u16string& text : texts) {
      message(g, MIVO_GM_MENUCOMMAND, item.id, reinterpret_cast<LPARAM>(text.c_str()));
      paint(g, dc);
    }
  }
  message(g, MIVO_GM_MENUCOMMAND, 12345, 0);
  message(g, 0x7777, 1, 2);
  for (int capacity : {0, 1, 2, 5, 256}) {
    std::vector<char16_t> text(static_cast<std::size_t>(capacity) + 1, u'#');
    message(g, MIVO_GM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(text.data()));
    EXPECT_EQ(text.back(), u'#') << "nothing past the capacity " << capacity;
  }
  message(g, MIVO_GM_GETTEXT, 10, 0);

  // Settings: stored, read back the same, and read from every cut and from rubbish.
  Archive stored;
  save(g, &stored);
  char16_t before[256] = {};
  message(g, MIVO_GM_GETTEXT, 255, reinterpret_cast<LPARAM>(before));
  MIVOGADGET copy = create(&owner, 0);
  Archive again{stored.bytes};
  load(copy, &again);
  EXPECT_FALSE(again.failed);
  char16_t after[256] = {};
  message(copy, MIVO_GM_GETTEXT, 255, reinterpret_cast<LPARAM>(after));
  EXPECT_EQ(std::u16string(before), std::u16string(after));
  for (std::size_t cut = 0; cut < stored.bytes.size(); ++cut) {
    Archive part{std::vector<std::uint8_t>(stored.bytes.begin(), stored.bytes.begin() + static_cast<long>(cut))};
    load(copy, &part);
    paint(copy, dc);
  }
  Archive rubbish{std::vector<std::uint8_t>(64, 0xFF)};
  load(copy, &rubbish);
  paint(copy, dc);
  destroy(copy);
  destroy(g);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

// Dates good, impossible and malformed, a title, and a text far longer than any field.
std::vector<std::u16string> Texts() {
  return {u"",           u"2030-12-24",   u"24.12.2030", u"2030-02-30", u"9999-12-31", u"1601-01-01", u"0000-00-00",
          u"garbage",    u"  2031-1-2  ", u"12345-01-01", u"2030--12",  u"Holidays",   std::u16string(1000, u'x')};
}

TEST_F(SampleHost, TheMoonPhaseSampleIsCleanUnderEveryUse) {
  void* library = Open("moonphase");
  ASSERT_NE(library, nullptr);
  DriveGadgetLibrary(library, Texts());
}

TEST_F(SampleHost, TheCountdownSampleIsCleanUnderEveryUse) {
  void* library = Open("countdown");
  ASSERT_NE(library, nullptr);
  DriveGadgetLibrary(library, Texts());
  EXPECT_GT(m_events.answered, 0) << "bad dates were refused with a message";
}

// The desktop a Today plug-in's window lives in: it answers the colour and background questions.
LRESULT DesktopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TODAYM_GETCOLOR) return RGB(200, 200, 200);
  if (message == TODAYM_DRAWWATERMARK) {
    struct Watermark {
      HDC hdc;
      RECT rc;
      HWND hwnd;
    };
    const auto* info = reinterpret_cast<const Watermark*>(lParam);
    if (info && info->hdc) FillRect(info->hdc, &info->rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return 1;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(SampleHost, TheOwnerInformationSampleIsCleanThroughItsWindowsWholeLife) {
  void* library = Open("ownerinfo");
  ASSERT_NE(library, nullptr);
  auto initialize = Symbol<InitializeCustomItemFn>(library, "InitializeCustomItem");
  ASSERT_NE(initialize, nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DesktopProc;
  wc.lpszClassName = u"AsanDesktop";
  RegisterClassW(&wc);
  const HWND desktop =
      CreateWindowExW(0, u"AsanDesktop", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(desktop, nullptr);
  TODAYLISTITEM item{};
  item.hinstDLL = reinterpret_cast<HINSTANCE>(0x5000);
  EXPECT_EQ(initialize(nullptr, desktop), nullptr);
  EXPECT_EQ(initialize(&item, nullptr), nullptr);
  for (int dpi : {96, 192}) {
    gdi::SetLogPixels(dpi);
    const HWND window = initialize(&item, desktop);
    ASSERT_NE(window, nullptr);
    EXPECT_GT(item.cyp, 0u);
    MoveWindow(window, 0, 0, 240, static_cast<int>(item.cyp), FALSE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    const std::u16string values[] = {u"", u"Alex", std::u16string(300, u'N'), u"\u00c4rger & S\u00f6hne"};
    for (const std::u16string& name : values) {
      for (const char16_t* field : {u"Name", u"Company", u"Telephone", u"E-mail"}) {
        reg::SetString(HKEY_CURRENT_USER, u"ControlPanel\\Owner", field, name);
        SendMessageW(window, WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0, reinterpret_cast<LPARAM>(&item));
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
      }
    }
    SendMessageW(window, WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0, 0);
    SendMessageW(window, WM_TODAYCUSTOM_LOSTSELECTION, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageW(window, WM_TODAYCUSTOM_CLEARCACHE, 0, reinterpret_cast<LPARAM>(&item));
    MoveWindow(window, 0, 0, 3, 3, TRUE);
    UpdateWindow(window);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
  }
  DestroyWindow(desktop);
}

}  // namespace
