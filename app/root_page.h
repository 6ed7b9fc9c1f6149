// The root page: the page at the bottom of the stack, shown at the first
// activation. It stands where the desktop page will stand: no header, the
// first desktop's wallpaper over the whole frame; Enter and a tap open the
// main menu.
#pragma once

#include "ui/page_wnd.h"

class CmivoRootPage : public CmivoPageWnd {
 public:
  explicit CmivoRootPage(mivoCore* core) : CmivoPageWnd(core) { m_swipeBackEnabled = false; }
  const char* PageClassName() const override { return "CmivoRootPage"; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The first desktop's wallpaper for the current orientation.
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
};
