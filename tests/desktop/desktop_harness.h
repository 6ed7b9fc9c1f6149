// The whole program in this process with its desktop page on top, and a
// gadget that counts what the desktop does to it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "desktop/desktop_page.h"
#include "desktop/gadget.h"
#include "desktop/gadget_catalogue.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/input.h"
#include "platform/window/window.h"
#include "tests/support/json.h"
#include "tests/ui/ui_harness.h"

namespace desktoptest {

// The names "Add gadget" offers: the catalogue's kinds whose class is built, in its order.
inline std::vector<std::string> BuiltCatalogueNames() {
  std::vector<std::string> names;
  for (const mivoCatalogueEntry& entry : gadget_catalogue::Entries()) {
    const mivoGadgetKind* kind = gadget_catalogue::FindKind(entry.typeId);
    if (kind && gadget_catalogue::IsBuilt(kind->className)) names.push_back(text::ToUtf8(entry.Name()));
  }
  return names;
}

// Counts its activations, presses, taps, notifications and ticks.
class ProbeGadget : public CmivoGadget {
 public:
  ProbeGadget(mivoCore* core, CmivoDesktopPage* page, int* deleted = nullptr)
      : CmivoGadget(core, page, 9), m_deleted(deleted) {}
  ~ProbeGadget() override {
    if (m_deleted) ++*m_deleted;
  }
  void OnActivate() override { ++activations; }
  void OnDeactivate() override { ++deactivations; }
  void OnStylusDown(UINT, POINT) override { ++downs; }
  void OnTap(UINT, POINT) override { ++taps; }
  void OnStateChanged(WPARAM, LPARAM) override { ++states; }
  void OnTimer(bool) override { ++ticks; }
  bool CanDelete() override { return deletable; }
  const char* GadgetClassName() const override { return "ProbeGadget"; }

  int activations = 0, deactivations = 0, downs = 0, taps = 0, states = 0, ticks = 0;
  bool deletable = true;

 private:
  int* m_deleted;  // counted up when the gadget goes
};

class DesktopHarness : public uitest::UiHarness {
 public:
  // desktops: the DesktopsCount setting (0: none written); shippedLook: the
  // shipped skin and colour themes instead of the built-in look.
  explicit DesktopHarness(const std::string& name, DWORD desktops = 0, int width = 240, int height = 320,
                          bool shippedLook = false)
      : UiHarness("desktop_" + name, width, height) {
    if (desktops) SetSetting(u"DesktopsCount", desktops);
    if (shippedLook) uitest::ProvisionShippedLook(height);
    EXPECT_TRUE(Start());
  }

  CmivoDesktopPage& Page() { return *dynamic_cast<CmivoDesktopPage*>(Core().GetDesktopPage()); }
  // A point of the page's client area on the screen.
  POINT OnScreen(int x, int y) {
    POINT p{x, y};
    Page().ClientToScreen(&p);
    return p;
  }
  void TapAt(int x, int y) {
    const POINT p = OnScreen(x, y);
    Tap(p.x, p.y);
  }
  void HoldAt(int x, int y) {
    const POINT p = OnScreen(x, y);
    Hold(p.x, p.y);
  }
  // Taps the middle of a rectangle of the page.
  void TapIn(const RECT& r) { TapAt((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
  // The gadget on the desktops of the mask (0: the current one) at the
  // rectangle (page pixels), shown.
  template <typename Gadget>
  Gadget* Place(std::unique_ptr<Gadget> gadget, RECT rect, DWORD mask = 0) {
    Gadget* g = gadget.get();
    g->SetDesktops(mask ? mask : Page().CurrentDesktop());
    g->SetRect(rect, false);
    Page().Container().AddGadget(std::move(gadget));
    Page().UpdateVisibility();
    Page().Invalidate(FALSE);
    Pump();
    return g;
  }
  // A new gadget of the class (made with the core, the page and `args`) on the current desktop.
  template <typename Gadget, typename... Args>
  Gadget* Add(RECT rect, Args&&... args) {
    return Place(std::make_unique<Gadget>(&Core(), &Page(), std::forward<Args>(args)...), rect);
  }
  ProbeGadget* AddProbe(RECT rect, DWORD mask = 0, int* deleted = nullptr) {
    return Place(std::make_unique<ProbeGadget>(&Core(), &Page(), deleted), rect, mask);
  }
  // Whether the top page has a row of that text.
  static bool HasRow(const std::string& text) {
    const std::vector<std::string> rows = uitest::Texts("rows");
    return std::find(rows.begin(), rows.end(), text) != rows.end();
  }
  // The screen turns, as the scenario's `rotate` turns it.
  void Rotate() {
    const SIZE s = window::GetScreenSize();
    window::input::ResetInput();
    window::ChangeScreenSize(s.cy, s.cx);
    Wait(100);
  }
  // Taps the top page's row of that text in the part of it that is on
  // screen (a long menu's lower rows reach under the soft keys).
  // A row below the screen is first brought up with the Down key.
  void TapRow(const std::string& text) {
    for (int tries = 0; tries < 40; ++tries) {
      const testing_support::Json d = DumpJson();
      const int visibleBottom = static_cast<int>(d["top"]["rect"][3].AsInt());
      for (const testing_support::Json& row : d["top"]["rows"].Items()) {
        if (row["text"].AsString() != text) continue;
        const testing_support::Json& r = row["rect"];
        if (r[1].AsInt() + 10 >= visibleBottom) break;
        const int bottom = std::min<int>(static_cast<int>(r[3].AsInt()), visibleBottom);
        Tap(static_cast<int>((r[0].AsInt() * 2 + r[2].AsInt()) / 3), static_cast<int>((r[1].AsInt() + bottom) / 2));
        return;
      }
      Key(VK_DOWN);
    }
    ADD_FAILURE() << "no row " << text;
  }
  testing_support::Json DumpJson() {
    Pump();
    return testing_support::Json::Parse(Dump());
  }
};

}  // namespace desktoptest
