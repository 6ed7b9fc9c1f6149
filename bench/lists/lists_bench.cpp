// The two lists at VGA (480x640), inside the whole application on a fresh
// device: one scroll step of the advanced list box with 10 and with 10,000
// rows (the two must cost the same: only the rows in view are visited), and a
// full repaint of the grid in both views. Each prints its time per operation
// and its ratio to copying one 480x640 32-bit frame, measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/app_core.h"
#include "app/main_frame.h"
#include "app/mivo_app.h"
#include "bench/support/frame_baseline.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/device/device.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/adv_list_box.h"
#include "ui/adv_list_box_items.h"
#include "ui/list_ctrl.h"

namespace {

using bench_support::Measure;

// The application started on a fresh device at 480x640, headless, on virtual time.
class App {
 public:
  App() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "mivo_bench_lists";
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir, ec);
    device::DeviceOptions options;
    options.provision = false;
    std::string error;
    m_open = device::OpenDevice(dir.string(), &error, options);
    sysclock::UseVirtualTime();
    window::SetScreenSize(480, 640);
    window::CreateFramebuffer(480, 640);
    gdi::SetLogPixels(window::ShellScale() == 2 ? 192 : 96);
    shell::StartPhoneShell();
    m_app = std::make_unique<CmivoApp>();
    m_app->InitInstance();
    window::PumpPending();
  }
  ~App() {
    if (m_app->m_pCore) m_app->m_pCore->RequestExit();
    for (int i = 0; i < 10 && !window::QuitPending(); ++i) window::PumpPending();
    m_app->ExitInstance();
    m_app.reset();
    shell::StopPhoneShell();
    window::ResetWindowSystem();
    if (m_open) device::CloseDevice();
  }
  mivoAppCore& Core() { return *m_app->m_pCore; }
  CMainFrame& Frame() { return *m_app->Frame(); }
  RECT Client() {
    RECT r{};
    Frame().GetClientRect(&r);
    return r;
  }

 private:
  std::unique_ptr<CmivoApp> m_app;
  bool m_open = false;
};

App& TheApp() {
  static App app;
  return app;
}

void BM_ListScrollStep(benchmark::State& state) {
  App& app = TheApp();
  auto box = std::make_unique<CmivoAdvListBox>(&app.Core());
  box->CreateListBox(&app.Frame(), app.Client());
  const int rows = static_cast<int>(state.range(0));
  for (int i = 0; i < rows; ++i) {
    box->AddItem(new CmivoAdvListBoxTextWithHelp(&app.Core(), u"Row title", i % 3 ? u"" : u"Help"));
  }
  // Rows added: the first paints measure the titles in view.
  for (int i = 0; i < 3; ++i) window::PumpPending();
  // Scroll over the middle of the list and back, 10 pixels per step (a
  // finger's drag), each step moving pixels and painting the band at once.
  const int range = std::max(0, box->ScrollRange());
  const int from = range / 2 - std::min(range / 2, 300);
  int top = from;
  int direction = 10;
  box->SetScrollTop(top);
  window::PumpPending();
  Measure(state, [&] {
    top += direction;
    if (top > from + 600 || top > range || top < from) {
      direction = -direction;
      top += 2 * direction;
    }
    box->SetScrollTop(top);
  });
  box.reset();
  window::PumpPending();
}
BENCHMARK(BM_ListScrollStep)->Arg(10)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A grid that draws its cells as a main menu would: a picture and a caption.
class MenuGrid : public CmivoListCtrl {
 public:
  using CmivoListCtrl::CmivoListCtrl;
  void DrawItem(int, const mivoListElement& e, HDC dc, const RECT& rect) override {
    if (mivoAppearance* look = Look()) {
      if (!m_image) m_image = look->GetSkinImage(u"programs_page");
      if (IsDetailsView()) {
        DrawRowImageTitleSubtitle(*look, dc, m_image, e.Text, e.SubText, rect, kSkinDrawOverColor5);
      } else {
        DrawGridCellImage(*look, dc, m_image, e.Text, rect, kSkinDrawOverColor5);
      }
    }
  }

 private:
  mivoSkinImage* m_image = nullptr;
};

void BM_GridFullRepaint(benchmark::State& state) {
  App& app = TheApp();
  auto grid = std::make_unique<MenuGrid>(&app.Core());
  grid->CreateListCtrl(&app.Frame(), app.Client());
  mivoAppearance* look = app.Core().GetAppearance();
  const bool details = state.range(0) != 0;
  if (details) {
    grid->SetView(1, 48, true);
  } else {
    grid->SetView(look->GridColumns, look->GridCellHeight, false);
  }
  for (int i = 0; i < 40; ++i) {
    mivoListElement e;
    e.Text = u"Contacts";
    e.SubText = u"Everyone you know";
    grid->AddItem(e);
  }
  window::PumpPending();
  Measure(state, [&] {
    grid->Invalidate(FALSE);
    grid->UpdateWindow();
  });
  grid.reset();
  window::PumpPending();
}
BENCHMARK(BM_GridFullRepaint)->ArgName("details")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
