// The Today plug-in gadget in the whole program: the registered Today items,
// what is loaded and what is refused, the plug-in's window over the gadget
// (its height, the design mode, a shared window on another desktop), the
// refresh, the sharing list and the deletion query, and a library that
// leaves its window, class and timer behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "desktop/today_items.h"
#include "platform/win32/text.h"
#include "platform/window/metrics.h"
#include "platform/window/window.h"
#include "tests/plugins/plugin_harness.h"

namespace {

using namespace plugintest;

const std::u16string kItems = u"Software\\Microsoft\\Today\\Items\\";
const std::u16string kTodayFolder = u"\\Program Files\\mivo\\TodayPlugins\\";

// Registers a Today item (the key's name as given) whose "DLL" value, under
// `valueName`, is the test library in the device's Today plug-in folder.
void Register(const std::u16string& key, const char* library, const char16_t* valueName = u"DLL") {
  reg::SetString(HKEY_LOCAL_MACHINE, kItems + key, valueName,
                 kTodayFolder + std::u16string(library, library + std::char_traits<char>::length(library)) + u".so");
}

class TodayHarness : public PluginHarness {
 public:
  explicit TodayHarness(const std::string& name, int width = 240, int height = 320)
      : PluginHarness("today_" + name, {}, width, height) {
    Install({"today_leaky", "today_no_entry"}, "TodayPlugins");
    Register(u"\"Leaky\"", "today_leaky");
  }
  CmivoTodayPluginGadget* AddLeaky(RECT rect, DWORD desktops = 0) {
    CmivoTodayPluginGadget* g = Add<CmivoTodayPluginGadget>(rect);
    if (desktops) g->SetDesktops(desktops);
    g->ChoosePlugin(u"Leaky", kTodayFolder + u"today_leaky.so");
    Page().UpdateVisibility();
    Page().Invalidate(FALSE);
    Pump();
    return g;
  }
};

RECT WindowRectInPage(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  POINT origin{r.left, r.top};
  ::ScreenToClient(::GetParent(window), &origin);
  return RECT{origin.x, origin.y, origin.x + (r.right - r.left), origin.y + (r.bottom - r.top)};
}

TEST(TodayItems, AreTheSubkeysWithADllValueOfAnyCaseTheirNamesUnquoted) {
  TodayHarness h("items");
  Register(u"Weather", "weather", u"dll");
  Register(u"\"Half", "half", u"Dll");
  reg::SetDword(HKEY_LOCAL_MACHINE, kItems + u"\"No library\"", u"Type", 4);
  reg::SetString(HKEY_LOCAL_MACHINE, kItems + u"\"No library\"", u"DLLs", u"\\x.so");
  std::vector<mivoTodayItem> items;
  EXPECT_TRUE(today_items::Read(&items));
  std::vector<std::string> names;
  for (const mivoTodayItem& item : items) names.push_back(text::ToUtf8(item.name + u"=" + item.library));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Half=\\Program Files\\mivo\\TodayPlugins\\half.so",
                                             "Leaky=\\Program Files\\mivo\\TodayPlugins\\today_leaky.so",
                                             "Weather=\\Program Files\\mivo\\TodayPlugins\\weather.so"}));
  EXPECT_TRUE(today_items::IsRegistered(u"\\program files\\MIVO\\todayplugins\\today_leaky.so"));
  EXPECT_FALSE(today_items::IsRegistered(kTodayFolder + u"today_no_entry.so"));
}

TEST(TodayGadget, LoadsOnlyARegisteredLibraryThatIsATodayPlugin) {
  TodayHarness h("refused");
  CmivoTodayPluginGadget* g = h.Add<CmivoTodayPluginGadget>(RECT{10, 10, 200, 60});
  EXPECT_EQ(g->StatusText(), u"Set Today plugin in context menu in design mode.");
  // Still on the disk, but no longer a Today item: not loaded.
  g->ChoosePlugin(u"Gone", kTodayFolder + u"today_no_entry.so");
  EXPECT_EQ(g->StatusText(), u"Error: Plugin dll cannot be loaded.");
  Register(u"NoEntry", "today_no_entry");
  g->ChoosePlugin(u"NoEntry", kTodayFolder + u"today_no_entry.so");
  EXPECT_EQ(g->StatusText(), u"Error: Plugin dll does not seem to be a Today screen plugin.");
  EXPECT_EQ(g->PluginWindow(), nullptr);
  Register(u"Missing", "missing");
  g->ChoosePlugin(u"Missing", kTodayFolder + u"missing.so");
  EXPECT_EQ(g->StatusText(), u"Error: Plugin dll cannot be loaded.");
  EXPECT_EQ(Probe(u"today_leaky", u"Initialize"), 0u);
}

TEST(TodayGadget, ItsWindowStandsOverItAtLeastFifteenTimesTheScaleHighAndHidesInDesignMode) {
  TodayHarness h("window", 480, 640);
  SetProbe(u"today_leaky", u"Height", 10);
  CmivoTodayPluginGadget* g = h.AddLeaky(RECT{20, 40, 300, 60});
  ASSERT_NE(g->PluginWindow(), nullptr);
  EXPECT_EQ(g->StatusText(), u"Plug-in: Leaky");
  EXPECT_EQ(::GetParent(g->PluginWindow()), h.Page().m_hWnd);
  EXPECT_EQ(g->Item().hwndCustom, g->PluginWindow());
  EXPECT_EQ(g->Item().fEnabled, TRUE);
  // 15·S = 30 wins over the plug-in's 10; the gadget is one pixel higher.
  EXPECT_EQ(WindowRectInPage(g->PluginWindow()), (RECT{20, 40, 300, 70}));
  EXPECT_EQ(g->GetRect(), (RECT{20, 40, 300, 71}));
  EXPECT_TRUE(::IsWindowVisible(g->PluginWindow()));
  EXPECT_GE(Probe(u"today_leaky", u"LostSelection"), 1u);
  h.Page().SetDesignMode(true);
  h.Pump();
  EXPECT_FALSE(::IsWindowVisible(g->PluginWindow()));
  EXPECT_EQ(g->GetDumpText(), u"Plug-in: Leaky");
  h.Page().SetDesignMode(false);
  h.Pump();
  EXPECT_TRUE(::IsWindowVisible(g->PluginWindow()));
  // Another desktop hides it.
  h.Page().ShowDesktop(1);
  h.Pump();
  EXPECT_FALSE(::IsWindowVisible(g->PluginWindow()));
}

TEST(TodayGadget, EveryTwoSecondsTheWindowIsAskedAndRedrawnAtTheHeightItWants) {
  TodayHarness h("refresh");
  CmivoTodayPluginGadget* g = h.AddLeaky(RECT{20, 40, 200, 60});
  const DWORD asked = Probe(u"today_leaky", u"Queries");
  h.Wait(1900);
  EXPECT_EQ(Probe(u"today_leaky", u"Queries"), asked);
  SetProbe(u"today_leaky", u"Height", 44);
  SetProbe(u"today_leaky", u"Refresh", 1);
  h.Wait(200);
  EXPECT_EQ(Probe(u"today_leaky", u"Queries"), asked + 1);
  h.Pump();
  EXPECT_EQ(WindowRectInPage(g->PluginWindow()), (RECT{20, 40, 200, 84}));
  EXPECT_EQ(g->GetRect(), (RECT{20, 40, 200, 85}));
}

TEST(TodayGadget, FreeingTheLibraryTakesAlongTheWindowClassAndTimerItLeftBehind) {
  TodayHarness h("leaky");
  CmivoTodayPluginGadget* g = h.AddLeaky(RECT{20, 40, 200, 60});
  const HWND window = g->PluginWindow();
  ASSERT_NE(window, nullptr);
  WNDCLASSW cls{};
  EXPECT_TRUE(GetClassInfoW(nullptr, u"LeakyToday", &cls));
  h.Wait(300);
  EXPECT_GT(Probe(u"today_leaky", u"Tick"), 0u);
  h.Page().Container().RemoveGadget(g);
  EXPECT_EQ(Probe(u"today_leaky", u"ClearCache"), 1u);
  EXPECT_FALSE(::IsWindow(window)) << "the window ignored WM_CLOSE";
  EXPECT_FALSE(GetClassInfoW(nullptr, u"LeakyToday", &cls));
  const DWORD ticks = Probe(u"today_leaky", u"Tick");
  h.Wait(500);
  EXPECT_EQ(Probe(u"today_leaky", u"Tick"), ticks);
}

TEST(TodaySharing, AViewerOnAnotherDesktopShowsTheSharedWindowOverItself) {
  TodayHarness h("viewer");
  CmivoTodayPluginGadget* shared = h.AddLeaky(RECT{20, 40, 200, 60}, 0x1);
  ASSERT_TRUE(shared->Share(u"Owner"));
  CmivoTodayPluginGadget* viewer = h.Add<CmivoTodayPluginGadget>(RECT{30, 150, 210, 170});
  viewer->SetDesktops(0x2);
  viewer->ChooseShared(u"Owner");
  EXPECT_EQ(viewer->Source(), shared);
  // Shown over the viewer on its desktop (the plug-in scenario checks where), then ...
  h.Page().ShowDesktop(1);
  h.Pump();
  // ... back at its own place it is painted anew (what it drew behind itself
  // was the other desktop's background).
  const DWORD paints = Probe(u"today_leaky", u"Paints");
  h.Page().ShowDesktop(0);
  h.Pump();
  EXPECT_TRUE(::IsWindowVisible(shared->PluginWindow()));
  EXPECT_EQ(WindowRectInPage(shared->PluginWindow()).top, 40);
  EXPECT_GT(Probe(u"today_leaky", u"Paints"), paints);
  // A viewer that picks a plug-in of its own stops viewing.
  viewer->ChoosePlugin(u"Leaky", kTodayFolder + u"today_leaky.so");
  EXPECT_EQ(viewer->SharedViewName(), u"");
  EXPECT_NE(viewer->PluginWindow(), nullptr);
}

TEST(TodaySharing, TheListHoldsEachSharingGadgetOnceUntilItStopsOrGoes) {
  TodayHarness h("list");
  CmivoTodayPluginGadget* a = h.Add<CmivoTodayPluginGadget>(RECT{10, 10, 100, 40});
  CmivoTodayPluginGadget* b = h.Add<CmivoTodayPluginGadget>(RECT{10, 60, 100, 90});
  const auto& list = CmivoTodayPluginGadget::SharingList();
  EXPECT_TRUE(a->Share(u"One"));
  EXPECT_TRUE(a->Share(u"One again"));
  EXPECT_TRUE(b->Share(u"Two"));
  EXPECT_EQ(list, (std::vector<CmivoTodayPluginGadget*>{a, b}));
  a->StopSharing();
  EXPECT_EQ(list, (std::vector<CmivoTodayPluginGadget*>{b}));
  h.Page().Container().RemoveGadget(b);
  EXPECT_TRUE(list.empty()) << "a gadget that goes leaves the list";
}

TEST(TodaySharing, TheSharedGadgetOfAViewerCannotBeDeletedUntilItStopsSharing) {
  TodayHarness h("delete");
  CmivoTodayPluginGadget* shared = h.Add<CmivoTodayPluginGadget>(RECT{10, 10, 100, 40});
  CmivoTodayPluginGadget* plain = h.Add<CmivoTodayPluginGadget>(RECT{10, 60, 100, 90});
  CmivoTodayPluginGadget* viewer = h.Add<CmivoTodayPluginGadget>(RECT{10, 110, 100, 140});
  ASSERT_TRUE(shared->Share(u"Owner"));
  viewer->ChooseShared(u"Owner");
  ui::OverlayDescription box;
  h.AtIdle([&] {
    box = uitest::OpenOverlay();
    uitest::TapOverlayButton(0);
  });
  EXPECT_FALSE(shared->CanDelete());
  EXPECT_NE(box.text.find(u"cannot be deleted"), std::u16string::npos);
  // Gadgets that share nothing are always deletable (every one of them views the empty name).
  EXPECT_TRUE(plain->CanDelete());
  shared->StopSharing();
  EXPECT_TRUE(shared->CanDelete());
  EXPECT_TRUE(viewer->CanDelete());
}

TEST(TodaySharing, AnEmptyNameEnteredInTheMenuSharesNothing) {
  TodayHarness h("empty_name");
  CmivoTodayPluginGadget* g = h.Add<CmivoTodayPluginGadget>(RECT{20, 20, 200, 60});
  h.MenuOf(CentreOf(*g));
  EXPECT_TRUE(h.HasRow("Leaky"));
  h.AtIdle([&] { uitest::TapOverlayButton(0); });
  h.TapRow("Share");
  EXPECT_EQ(g->ShareName(), u"");
  EXPECT_TRUE(CmivoTodayPluginGadget::SharingList().empty());
}

}  // namespace
