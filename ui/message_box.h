// CmivoMessageBox: the skinned message box, with one button (OK) or two
// (yes / no). Modal: Run waits in its own message loop until the user
// answers. The box covers the frame's width from its top and grows to fit
// its text; a text too tall for the screen scrolls (drag or Up / Down) so
// the buttons always stay on screen.
#pragma once

#include <string>

#include "core/messages.h"
#include "core/mivo_class.h"
#include "platform/window/framework.h"
#include "ui/overlay.h"

class mivoAppearance;

class CmivoMessageBox : public CWnd, public mivoClass, public ui::OverlaySource {
 public:
  explicit CmivoMessageBox(mivoCore* core) : mivoClass(core) {}
  ~CmivoMessageBox() override;

  // Shows the box over the frame and waits: 1 for OK or yes, 2 for no, 0
  // when the program is ending (the quit message is passed on).
  int Run(const std::u16string& title, const std::u16string& text, bool okOnly);

  int ScrollPos() const { return m_scroll; }
  int MaxScroll() const { return m_maxScroll; }
  int LineHeight() const { return m_lineHeight; }

  ui::OverlayDescription DescribeOverlay() const override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Draws the box; returns the height it needs.
  int Draw(HDC dc, mivoAppearance& look, const RECT& client);
  // Scrolls the text to the whole line nearest to `pos` pixels.
  void ScrollTo(int pos);

  std::u16string m_title;      // " " + title + " "
  std::u16string m_plainTitle; // as given
  std::u16string m_text;       // the body
  bool m_okOnly = true;        // one button, or yes and no
  RECT m_yes{};                // the first button (client coordinates)
  RECT m_no{};                 // the second, empty with one button
  RECT m_body{};               // the visible part of the body text
  int m_scroll = 0;            // body pixels scrolled out at the top, whole lines
  int m_maxScroll = 0;         // 0 when the whole text shows
  int m_lineHeight = 1;        // one line of the body, for the keys
  int m_pressY = 0;            // where the stylus went down
  int m_pressScroll = 0;       // the scroll position then
  bool m_pressed = false;      // a press in the box is in progress
  bool m_dragging = false;     // that press scrolls the text, it answers nothing
};
