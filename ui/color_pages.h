// The colour chooser: a grid of 22 colours and a custom-colour entry
// (CmivoChooseColorPage), and the page that mixes a custom colour from three
// channel bars (CmivoCustomColorPage). What a picked colour changes is the
// business of the chooser's subclasses (the desktop's background, a gadget's
// text); they take it in OnItemTap.
#pragma once

#include <memory>

#include "ui/items_page.h"
#include "ui/page_wnd.h"

class CmivoCustomColorPage;

class CmivoChooseColorPage : public CmivoItemsPageWnd {
 public:
  // Element kinds (the elements' Id).
  static constexpr DWORD_PTR kColorEntry = 1;   // Data: the COLORREF
  static constexpr DWORD_PTR kCustomEntry = 2;  // opens the custom colour page
  static constexpr int kColorCount = 22;

  explicit CmivoChooseColorPage(mivoCore* core);
  ~CmivoChooseColorPage() override;

  // The custom entry opens the custom colour page; a colour (also the one
  // the custom page hands back as index -1) is for the subclass.
  void OnItemTap(int index, const mivoListElement& element) override;
  void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) override;
  std::u16string DescribeItem(int index, const mivoListElement& element) override;
  std::u16string GetTitle(int param, int extra) override;
  const char* PageClassName() const override { return "CmivoChooseColorPage"; }

  // The 22 colours, in the chooser's order.
  static COLORREF ColorAt(int i);
  CmivoCustomColorPage* CustomColorPage() const { return m_customPage.get(); }

 private:
  std::unique_ptr<CmivoCustomColorPage> m_customPage;  // made on the first custom entry tap
  mivoSkinImage* m_customImage = nullptr;              // "custom_color", looked up once
};

class CmivoCustomColorPage : public CmivoPageWnd {
 public:
  CmivoCustomColorPage(mivoCore* core, CmivoChooseColorPage* chooser);

  COLORREF GetColor() const { return RGB(m_channels[0], m_channels[1], m_channels[2]); }
  void SetColor(COLORREF color);
  // 0 red, 1 green, 2 blue.
  int GetActiveChannel() const { return m_activeChannel; }
  // The colour as "#RRGGBB".
  std::u16string ColorText() const;

  // Leaving hands the colour to the chooser (index -1, {Id 1, Data colour}),
  // then goes back.
  void GoBack() override;
  // The left soft key says "Apply".
  void UpdateSoftKeys() override;
  std::u16string GetTitle(int param, int extra) override;
  // Header, the three bars with their markers, the sample and the value.
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpTexts(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoCustomColorPage"; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Where the bars are: the content area less 20·S at the top and 60·S at
  // the bottom (client coordinates).
  RECT BarsRect() const;

 private:
  // A touch in the bars: the channel by x, its value by y.
  void TouchBars(int x, int y);
  void OnKey(UINT vk);
  void Changed();

  CmivoChooseColorPage* m_pChooser;  // the page that opened this one; not owned
  int m_channels[3] = {100, 100, 100};  // red, green, blue, each 0..255
  int m_activeChannel = 0;              // the channel keys change, 0..2
  bool m_tracking = false;              // a press in the bars is down
};
