// The whole program in this process with the shipped skin, on empty
// desktops, for the status, clock and date gadgets: adds a gadget of a kind
// where a test wants it, and lets the device's change notifications arrive.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "desktop/desktop_page.h"
#include "tests/desktop/desktop_harness.h"
#include "platform/fs/device_path.h"
#include "platform/registry/change_watcher.h"
#include "platform/win32/text.h"
#include "tests/support/json.h"
#include "tests/ui/ui_harness.h"

namespace desktoptest {

class StatusHarness : public uitest::UiHarness {
 public:
  explicit StatusHarness(const std::string& name, int width = 240, int height = 320)
      : UiHarness("status_" + name, width, height) {
    ProvisionLook(height);
    EXPECT_TRUE(Start());
  }

  CmivoDesktopPage& Page() { return *dynamic_cast<CmivoDesktopPage*>(Core().GetDesktopPage()); }

  // A new gadget of the class on the current desktop, at `rect` (page pixels).
  template <typename Gadget>
  Gadget* Add(RECT rect) {
    return desktoptest::AddGadget<Gadget>(*this, rect);
  }

  // The device's changes made so far have reached the program and been handled.
  void Settle() {
    EXPECT_TRUE(devdb::SyncChangeWatcher());
    Pump();
  }

  // A point of the page on the screen.
  POINT OnScreen(POINT p) {
    Page().ClientToScreen(&p);
    return p;
  }
  // Taps the middle of a rectangle of the page.
  void TapIn(const RECT& r) {
    const POINT p = OnScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    Tap(p.x, p.y);
  }
  // Taps the top page's row of that text in the part of it that is on
  // screen, bringing a row below the screen up with the Down key first.
  void TapRow(const std::string& text) {
    for (int tries = 0; tries < 40; ++tries) {
      const testing_support::Json d = DumpJson();
      const long long visibleBottom = d["top"]["rect"][3].AsInt();
      for (const testing_support::Json& row : d["top"]["rows"].Items()) {
        if (row["text"].AsString() != text) continue;
        const testing_support::Json& r = row["rect"];
        if (r[1].AsInt() + 10 >= visibleBottom) break;
        const long long bottom = std::min(r[3].AsInt(), visibleBottom);
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

 private:
  // The shipped skin package for the screen, which the core installs at its
  // first start, and the colour themes.
  static void ProvisionLook(int height) {
    namespace stdfs = std::filesystem;
    const stdfs::path data = stdfs::path(MIVO_BINARY_DIR) / "data";
    const std::string skin = height >= 480 ? "Clear Horizon VGA.minst" : "Clear Horizon.minst";
    auto copy = [](const stdfs::path& from, const std::u16string& folder, const std::string& name) {
      std::string host;
      ASSERT_TRUE(fs::ToHostPath(folder, &host));
      stdfs::create_directories(host);
      stdfs::copy_file(from, stdfs::path(host) / name, stdfs::copy_options::overwrite_existing);
    };
    copy(data / "skins" / skin, u"\\Program Files\\mivo\\Skins", skin);
    for (const auto& e : stdfs::directory_iterator(data / "colorthemes")) {
      copy(e.path(), u"\\Program Files\\mivo\\ColorThemes", e.path().filename().string());
    }
  }
};

}  // namespace desktoptest
