// The look's hot paths: list rows and grid cells drawn by the primitives,
// GetString, and loading a skin file of 300 images. Each prints its time per
// operation and its ratio to copying one 480x640 32-bit frame, measured in
// the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

#include "bench/support/frame_baseline.h"
#include "look/appearance.h"
#include "look/language.h"
#include "look/look_settings.h"
#include "look/skin.h"
#include "look/toolkit.h"
#include "platform/fs/device_path.h"
#include "platform/gdi/gdi.h"

namespace {

using bench_support::Measure;

class Settings : public mivoLookSettings {
 public:
  std::u16string GetThemeName() override { return u"Black"; }
  void SetThemeName(std::u16string_view) override {}
  std::u16string GetWallpaperTheme() override { return u"Default"; }
  void SetWallpaperTheme(std::u16string_view) override {}
  std::u16string GetSkinName() override { return u""; }
  void SetSkinName(std::u16string_view) override {}
  bool GetFinishInstallation() override { return false; }
  void SetFinishInstallation(bool) override {}
  bool GetUserDesktopWallpaper(int, bool) override { return false; }
  void SetUserDesktopWallpaper(int, bool, bool) override {}
};

// A VGA frame and the look at S = 2.
struct Scene {
  Scene() : appearance(settings, u"\\Program Files\\mivo\\", 640) {
    dc = CreateCompatibleDC(nullptr);
    frame = CreateCompatibleBitmap(nullptr, 480, 640);
    old = SelectObject(dc, frame);
  }
  ~Scene() {
    SelectObject(dc, old);
    DeleteObject(frame);
    DeleteDC(dc);
  }
  Settings settings;
  mivoAppearance appearance;
  HDC dc;
  HBITMAP frame;
  HGDIOBJ old;
};

void BM_FrameCopyBaseline(benchmark::State& state) {
  std::vector<std::uint32_t> a(480 * 640, 1), b(480 * 640);
  Measure(state, [&] {
    std::memcpy(b.data(), a.data(), a.size() * 4);
    benchmark::DoNotOptimize(b.data());
  });
}
BENCHMARK(BM_FrameCopyBaseline);

void BM_ListRowTitleSubtitle(benchmark::State& state) {
  Scene scene;
  const RECT row{0, 100, 480, 226};
  Measure(state, [&] { DrawRowTitleSubtitle(scene.appearance, scene.dc, u"John Smith", u"Mobile 555 0101", row); });
}
BENCHMARK(BM_ListRowTitleSubtitle);

void BM_ListRowCentredTitle(benchmark::State& state) {
  Scene scene;
  const RECT row{0, 100, 480, 226};
  Measure(state, [&] { DrawRowTitle(scene.appearance, scene.dc, u"Ask before make a call: on", row, false); });
}
BENCHMARK(BM_ListRowCentredTitle);

void BM_GridCell(benchmark::State& state) {
  Scene scene;
  const RECT cell{0, 0, 160, 170};
  mivoSkinImage* image = scene.appearance.GetSkinImage(u"contacts_page");
  Measure(state, [&] { DrawGridCellImage(scene.appearance, scene.dc, image, u"Contacts", cell, kSkinDrawOverColor5); });
}
BENCHMARK(BM_GridCell);

void BM_GetString(benchmark::State& state) {
  int id = 2;
  Measure(state, [&] {
    benchmark::DoNotOptimize(GetString(id));
    id = id == 567 ? 2 : id + 1;
  });
}
BENCHMARK(BM_GetString);

void BM_LoadSkinOf300Images(benchmark::State& state) {
  const auto root = std::filesystem::temp_directory_path() / ("mivo-bench-look-" + std::to_string(::getpid()));
  std::filesystem::create_directories(root / "Program Files/mivo/Skins/Big");
  fs::SetDeviceRoot(root.string());
  {
    mivoSkin skin(u"\\Program Files\\mivo\\");
    skin.LoadSkin(u"Big");
    for (int i = 0; i < 300; ++i) {
      mivoSkinImage* image = skin.FindOrAddImage(u"gadget_image_" + std::u16string(1, u'a' + i % 26) + u"_" +
                                                 std::u16string(1, u'0' + i / 26));
      image->File = image->Name + u".png";
    }
    skin.SaveSkin();
  }
  Measure(state, [&] {
    mivoSkin skin(u"\\Program Files\\mivo\\");
    skin.LoadSkin(u"Big");
    benchmark::DoNotOptimize(skin.Images.size());
  });
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_LoadSkinOf300Images);

}  // namespace
