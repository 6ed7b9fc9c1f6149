// The installer's progress window painted into the screen framebuffer.
#include <gtest/gtest.h>

#include "look/installer_window.h"
#include "platform/gdi/gdi.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "look_canvas.h"

namespace {

class InstallerWindow : public ::testing::Test {
 protected:
  void Screen(int w, int h) {
    window::ResetWindowSystem();
    window::SetScreenSize(w, h);
    window::CreateFramebuffer(w, h);
  }
  void TearDown() override { window::ResetWindowSystem(); }
  COLORREF At(int x, int y) {
    const window::FrameView f = window::GetFramebuffer();
    return gdi::PixelToColor(f.pixels[y * f.stride + x]);
  }
  void Shot(const std::string& name) { looktest::SaveShot(window::GetFramebufferBitmap(), name); }
};

TEST_F(InstallerWindow, IsCentredAndFillsItsBarAsFilesAreWritten) {
  for (int k : {1, 2}) {
    Screen(240 * k, 320 * k);
    CmivoInstallerWnd wnd(240 * k, 320 * k);
    ASSERT_TRUE(wnd.CreateAndShow());
    RECT r;
    wnd.GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, 200 * k);
    EXPECT_EQ(r.bottom - r.top, 60 * k);
    EXPECT_EQ(r.left, 20 * k);
    EXPECT_EQ(r.top, 130 * k);
    EXPECT_TRUE(wnd.BarRect().right == wnd.BarRect().left) << "no bar while the total is unknown";

    wnd.SetTotalBytes(1000);
    wnd.SetBytesDone(500);
    Shot("installer_half_k" + std::to_string(k));
    EXPECT_EQ(wnd.BarRect().left, 10 * k);
    EXPECT_EQ(wnd.BarRect().right, 10 * k + (200 * k - 20 * k) / 2);
    const int y = r.top + 35 * k;
    EXPECT_EQ(At(r.left + 12 * k, y), RGB(255, 255, 255)) << "the bar's start";
    EXPECT_NE(At(r.left + 10 * k + 95 * k, y), RGB(255, 255, 255)) << "past the half";
    EXPECT_EQ(At(r.left + 1, r.top + 1), RGB(0, 0, 0)) << "the corner outside the frame is black";

    wnd.SetBytesDone(5000);
    EXPECT_EQ(wnd.BytesDone(), 1000u) << "never above the total";
    EXPECT_EQ(wnd.BarRect().right, 190 * k);
    Shot("installer_full_k" + std::to_string(k));
  }
}

TEST_F(InstallerWindow, RepaintsOnlyWhenTheBarGrowsByAPixel) {
  Screen(240, 320);
  CmivoInstallerWnd wnd(240, 320);
  ASSERT_TRUE(wnd.CreateAndShow());
  wnd.SetTotalBytes(180 * 1000);  // the bar is 180 pixels long: a pixel is 1000 bytes
  const int before = wnd.PaintCount();
  for (DWORD done = 100; done <= 3000; done += 100) wnd.SetBytesDone(done);
  EXPECT_EQ(wnd.PaintCount() - before, 3) << "one paint per pixel of bar, not one per file";
  EXPECT_EQ(wnd.BarRect().right, 13);
}

TEST_F(InstallerWindow, InstallingAPackageShowsTheWindowOnlyWhileItRuns) {
  Screen(240, 320);
  looktest::ScratchDevice device;
  mivoPackageHeader h;
  h.PackageType = kPackageColorThemes;
  looktest::Bytes bytes;
  ASSERT_TRUE(WritePackage(h, {{false, u"a.mct", looktest::Bytes(300, 1), {}}}, &bytes));
  device.Put("Program Files/mivo/a.minst", bytes);
  EXPECT_EQ(InstallPackageWithProgress(u"\\Program Files\\mivo\\a.minst", looktest::kProgramFolder),
            mivoPackageStatus::kOk);
  EXPECT_EQ(device.Get("Program Files/mivo/ColorThemes/a.mct").size(), 300u);
  const auto windows = [] {
    int n = 0;
    window::ForEachWindow([&](HWND, int) { ++n; });
    return n;
  };
  EXPECT_EQ(windows(), 0) << "the progress window is gone";
  EXPECT_EQ(InstallPackageWithProgress(u"\\Program Files\\mivo\\missing.minst", looktest::kProgramFolder),
            mivoPackageStatus::kUnreadable);
  EXPECT_EQ(windows(), 0);
}

}  // namespace
