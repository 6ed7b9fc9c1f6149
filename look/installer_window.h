// The installer's progress window: a small pop-up with " Installing... " on
// a rounded frame and a bar that fills as the package's files are written.
// It is made before the look object exists, so it draws with objects of its own.
#pragma once

#include <string_view>

#include "look/package.h"
#include "platform/window/framework.h"

class CmivoInstallerWnd : public CWnd {
 public:
  // screenHeight picks the size: k = 2 on screens 480 or more pixels high.
  explicit CmivoInstallerWnd(int screenWidth, int screenHeight);
  ~CmivoInstallerWnd() override;

  // Creates the window as a visible pop-up centred on the screen and paints it.
  bool CreateAndShow();
  // Both repaint the window at once; SetBytesDone only when the bar's width
  // changes.
  void SetTotalBytes(DWORD total);
  void SetBytesDone(DWORD done);

  DWORD TotalBytes() const { return m_totalBytes; }
  DWORD BytesDone() const { return m_bytesDone; }
  const RECT& BarRect() const { return m_bar; }
  int PaintCount() const { return m_paints; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc, const RECT& update);
  void Repaint();

  int m_screenWidth = 0;
  int m_screenHeight = 0;
  int m_k = 1;                // 1 below 480 pixels of screen height, else 2
  HFONT m_font = nullptr;     // Arial bold 20·k
  HPEN m_pen = nullptr;       // k pixels wide, RGB(80, 80, 80)
  HBRUSH m_brush = nullptr;   // RGB(48, 48, 48)
  DWORD m_totalBytes = 0;     // the package's TotalBytes
  DWORD m_bytesDone = 0;      // bytes written so far, never above the total
  RECT m_bar{};               // the bar as last painted, client coordinates
  int m_paints = 0;           // times the window was painted
};

// Installs a package (device path) with the progress window on screen; the
// window goes when the installation ends, however it ends.
mivoPackageStatus InstallPackageWithProgress(std::u16string_view packagePath, std::u16string_view programFolder,
                                             std::u16string* message = nullptr);
