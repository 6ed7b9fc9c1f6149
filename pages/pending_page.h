// CmivoPendingPage: what a catalogue slot shows until its own page is
// built: the page's title and icon for each of its modes (as the page itself
// will answer them), the icon drawn large with a line under it saying that
// the page is not there yet, so that walking the menu never ends on nothing.
#pragma once

#include <string>

#include "ui/page_wnd.h"

class CmivoPendingPage : public CmivoPageWnd {
 public:
  CmivoPendingPage(mivoCore* core, int index);

  void SetPageParam(int param, int extra) override;
  std::u16string GetTitle(int param, int extra) override;
  mivoSkinImage* GetPageIcon(int param, int extra) override;
  void OnPageShown() override;
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoPendingPage"; }

  static constexpr const char16_t* kNotBuiltText = u"This page is not available yet.";

 private:
  static constexpr UINT kLineFlags = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;

  int m_index;      // the catalogue slot
  int m_param = 0;  // the mode last set
  int m_extra = 0;
  mivoSkinImage* m_pPicture = nullptr;  // the page icon, or a picture of what the page will be; null: none
};
