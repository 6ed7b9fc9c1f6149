// CmivoMemoryInfoPage: "Memory info" (catalogue page 27), the device's
// memory figures (physical, virtual, page file; free and total), painted by
// the page itself and refreshed every two seconds.
#pragma once

#include <string>
#include <vector>

#include "ui/page_wnd.h"

// A byte count as the page shows it: "1.50GB", "2.00MB", "1.00kB", "1023B".
std::u16string MemorySizeText(DWORD bytes);

class CmivoMemoryInfoPage : public CmivoPageWnd {
 public:
  static constexpr UINT_PTR kRefreshTimer = 1;
  static constexpr UINT kRefreshMs = 2000;

  explicit CmivoMemoryInfoPage(mivoCore* core);

  // The window, and with it the refresh timer.
  BOOL CreatePage(CWnd* frame) override;
  std::u16string GetTitle(int param, int extra) override;
  std::u16string GetHelpText(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoMemoryInfoPage"; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The six lines ("Free physical memory: 1.20GB", ...) for the memory now.
  static std::vector<std::u16string> Lines();
};
