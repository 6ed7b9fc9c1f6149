// The menu bar: the strip at the bottom of the screen with the two soft keys
// (left and right) and, between them, the input panel's button. As on the
// phone it is a bar of its owner window (the frame) that stays at the screen's
// bottom edge, outside the frame, so the frame's client area ends at the bar's
// top. A tap on a soft key, or the soft-key keys F1 and F2, sends WM_COMMAND
// with the button's command to the owner.
//
// Its texts are set as the platform sets them:
//
//   TBBUTTONINFOW info;
//   info.cbSize = 32;  // the platform's structure size; larger values are fine
//   info.dwMask = TBIF_TEXT;
//   info.pszText = const_cast<LPWSTR>(u"Back");
//   bar.SendMessage(TB_SETBUTTONINFO, 32771, reinterpret_cast<LPARAM>(&info));
//
// The bar is drawn in the look of the phone shell, not of the program's skin.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/window/framework.h"

// The application framework's control-bar id of the menu bar.
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
// The commands of the left and right soft keys.
constexpr int ID_SOFTKEY_LEFT = 32771;
constexpr int ID_SOFTKEY_RIGHT = 32772;

class CCommandBar : public CWnd {
 public:
  struct Button {
    int command = 0;
    std::u16string text;
  };

  CCommandBar() = default;
  ~CCommandBar() override;

  // Creates the bar for `owner` at the bottom of the screen, visible.
  BOOL Create(CWnd* owner, UINT id = AFX_IDW_TOOLBAR);
  // The menu resource's buttons. Every menu of this program is the pair of
  // soft keys: 32771 "One" and 32772 "Two", texts replaced at run time.
  BOOL InsertMenuBar(UINT menuId);
  void SetButtons(std::vector<Button> buttons);
  const std::vector<Button>& GetButtons() const { return m_buttons; }
  // The text of the button with this command ("" for none).
  std::u16string GetButtonText(int command) const;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The soft-key labels of the bar that serves the foreground window (the
  // dump's "softkeys"); empty when no bar is visible.
  static std::vector<std::u16string> VisibleSoftKeys();
  // The bar that serves the foreground window, or null.
  static CCommandBar* ActiveBar();

  // The shell's input panel button in the middle of the bar: shown or not
  // (SHFullScreen), and what a tap on it does (the shell toggles the panel).
  static void SetInputPanelButton(bool shown, std::function<void()> onTap);

 private:
  // Places the bar across the bottom of the screen.
  void PlaceAtBottom();
  // The button's rectangle in client coordinates; index -1 is the input panel button.
  RECT ButtonRect(int index) const;
  int HitButton(POINT pt) const;  // button index, -1 input panel button, -2 none
  void OnPaint();
  void OnTap(int index);
  LRESULT SetButtonInfo(int command, const TBBUTTONINFOW* info);
  LRESULT GetButtonInfo(int command, TBBUTTONINFOW* info) const;

  std::vector<Button> m_buttons;  // left to right
  int m_pressed = -2;             // the button under a press in progress (-2 none)
  HFONT m_font = nullptr;         // the labels' font, made for the current screen
  int m_fontScale = 0;            // the shell scale m_font was made for
};
