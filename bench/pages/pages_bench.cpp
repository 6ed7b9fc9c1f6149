// The content pages at VGA (480x640), inside the whole application on a
// fresh device: opening a folder of 5,000 files in the file explorer (read,
// sorted, watched and painted; budget 100 ms), and showing a 12-megapixel
// JPEG in the image viewer (decoded at the size shown) against decoding the
// same picture at its full size. Each prints its time per operation and its
// ratio to copying one 480x640 32-bit frame, measured in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/app_core.h"
#include "app/main_frame.h"
#include "app/mivo_app.h"
#include "bench/support/frame_baseline.h"
#include "pages/image_view_page.h"
#include "pages/programs_page.h"
#include "platform/device/device.h"
#include "platform/gdi/gdi.h"
#include "platform/imaging/imaging.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "tests/pages/large_jpeg.h"

namespace {

using bench_support::Measure;

// The application started on a fresh device at 480x640, headless, on virtual time.
class App {
 public:
  App() {
    m_dir = std::filesystem::temp_directory_path() / "mivo_bench_pages";
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
    std::filesystem::create_directories(m_dir, ec);
    device::DeviceOptions options;
    options.provision = false;
    std::string error;
    m_open = device::OpenDevice(m_dir.string(), &error, options);
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
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  mivoAppCore& Core() { return *m_app->m_pCore; }
  // The host folder of the device's root.
  std::filesystem::path Root() const { return m_dir / "fs"; }

 private:
  std::filesystem::path m_dir;
  std::unique_ptr<CmivoApp> m_app;
  bool m_open = false;
};

App& TheApp() {
  static App app;
  return app;
}

// Two folders of 5,000 files each, opened in turn, so that every opening
// reads, sorts and lists all of them (reading the same folder again keeps
// its rows and costs much less).
void BM_OpenFolderOf5000Files(benchmark::State& state) {
  App& app = TheApp();
  for (const char* folder : {"A", "B"}) {
    const std::filesystem::path dir = app.Root() / folder;
    std::filesystem::create_directories(dir);
    for (int i = 0; i < 5000; ++i) {
      std::ofstream(dir / ("Document " + std::to_string((i * 7919) % 5000) + (i % 5 ? ".txt" : ".doc"))) << "x";
    }
  }
  auto* page = dynamic_cast<CmivoAdvProgramsPage*>(app.Core().GetPage(22));
  app.Core().ShowPage(page);
  window::PumpPending();
  bool a = false;
  Measure(state, [&] {
    a = !a;
    page->SetFolder(u"", a ? u"\\A" : u"\\B");
    page->UpdateWindow();
    page->ListBox().UpdateWindow();
  });
  state.counters["rows"] = page->GetItemCount();
  app.Core().PopPage();
  window::PumpPending();
}
BENCHMARK(BM_OpenFolderOf5000Files)->Unit(benchmark::kMillisecond);

const std::vector<std::uint8_t>& TwelveMegapixels() {
  static const std::vector<std::uint8_t> jpeg = pagestest::MakeJpeg(4000, 3000);
  return jpeg;
}

// The viewer opening the picture and painting it: decoded at an eighth and
// fitted into the page.
void BM_ViewTwelveMegapixelJpeg(benchmark::State& state) {
  App& app = TheApp();
  const auto& jpeg = TwelveMegapixels();
  std::filesystem::create_directories(app.Root() / "Pictures");
  std::ofstream(app.Root() / "Pictures" / "large.jpg", std::ios::binary)
      .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
  auto* viewer = dynamic_cast<CmivoImageViewPage*>(app.Core().GetPage(14));
  viewer->SetPicture(u"\\Pictures\\large.jpg");
  app.Core().ShowPage(viewer);
  window::PumpPending();
  Measure(state, [&] {
    viewer->SetPicture(u"\\Pictures\\large.jpg");
    viewer->UpdateWindow();
  });
  state.counters["shown_width"] = viewer->DecodedSize().cx;
  app.Core().PopPage();
  window::PumpPending();
}
BENCHMARK(BM_ViewTwelveMegapixelJpeg)->Unit(benchmark::kMillisecond);

// The same picture decoded whole, as a viewer that does not scale would.
void BM_DecodeTwelveMegapixelJpegFull(benchmark::State& state) {
  const auto& jpeg = TwelveMegapixels();
  imaging::Picture picture;
  Measure(state, [&] {
    imaging::DecodePicture(jpeg.data(), jpeg.size(), &picture);
    benchmark::DoNotOptimize(picture.pixels.data());
  });
  state.counters["decoded_width"] = picture.width;
}
BENCHMARK(BM_DecodeTwelveMegapixelJpegFull)->Unit(benchmark::kMillisecond);

}  // namespace
