// CmivoPleaseWaitWnd: the bar at the bottom of the frame that says the
// program is busy ("Reading file list..."). The core shows it and counts the
// nesting: inner calls only change its text, the last hide removes it.
#pragma once

#include <string>

#include "core/mivo_class.h"
#include "platform/window/framework.h"
#include "ui/overlay.h"

class mivoAppearance;

class CmivoPleaseWaitWnd : public CWnd, public mivoClass, public ui::OverlaySource {
 public:
  explicit CmivoPleaseWaitWnd(mivoCore* core) : mivoClass(core) {}
  ~CmivoPleaseWaitWnd() override;

  // The window: a visible child of the frame at (0, 0, 100, 100), id -1.
  BOOL CreateBar(CWnd* frame);
  // Over the frame's bottom 20·S, on top of everything, shown.
  void Place();
  void Hide();
  // Stores the text and paints it now.
  void SetText(const std::u16string& text);
  const std::u16string& Text() const { return m_text; }

  ui::OverlayDescription DescribeOverlay() const override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  static constexpr int kBarHeight = 20;  // ·S

 private:
  // Draws the bar's text on the background.
  int Draw(HDC dc, mivoAppearance& look, const RECT& client);
  std::u16string m_text;  // what the bar says
};
