// CmivoPhoneKeyboard: the on-screen phone keypad of the contacts page:
// twelve image buttons (the digits, back and clear) in four columns and
// three rows on a tall screen, three columns and four rows on a wide one.
// A tap posts the parent a message with the button's key code.
#pragma once

#include <array>
#include <memory>

#include "core/mivo_class.h"
#include "pim/button.h"
#include "platform/window/framework.h"

namespace window {
class JsonWriter;
}

// Key codes of the keypad: 1 for "0", 2 for "1" ... 10 for "9", then clear and back.
constexpr int kKeypadClear = 11;
constexpr int kKeypadBack = 12;
// The digit of a key code 1-10 ('0'-'9'); 0 for clear, back and others.
char16_t KeypadDigit(int keyCode);

class CmivoPhoneKeyboard : public CWnd, public mivoClass {
 public:
  // notifyMessage: what is posted to the parent (wParam the key code).
  // clearDisabled: the clear button posts nothing.
  CmivoPhoneKeyboard(mivoCore* core, UINT notifyMessage, bool clearDisabled = false);
  ~CmivoPhoneKeyboard() override;

  // A visible child of `parent` at `rect`, with its twelve buttons.
  BOOL CreateKeyboard(CWnd* parent, const RECT& rect);
  // Four columns of three rows (a tall screen) or three columns of four
  // rows; the buttons move at once.
  void SetColumns(int columns);
  int Columns() const { return m_columns; }
  // Places the window and its buttons.
  void MoveKeyboard(const RECT& rect);

  // The keypad drawn into `dc` with its client rectangle at (x, y) (the
  // page drawn off screen).
  void DrawAt(HDC dc, int x, int y);
  // Every button with its label and screen rectangle (the state dump's cells).
  void DescribeButtons(window::JsonWriter& j) const;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Button size and placement, times DisplayScale.
  static constexpr int kButtonWidth = 58;
  static constexpr int kButtonHeight = 37;

 private:
  void LayoutButtons();
  void OnCommand(UINT id);
  void OnPaint();

  UINT m_notifyMessage;                                    // posted to the parent per tap
  bool m_clearDisabled;                                    // the clear button does nothing
  int m_columns = 4;                                       // 4 (tall) or 3 (wide)
  std::array<std::unique_ptr<CmivoButton>, 12> m_buttons;  // by key code - 1
};
