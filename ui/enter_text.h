// CmivoEnterTextWnd: the skinned text entry, with an edit control (one line,
// or four for a multi-line text), a prompt under it and the OK and Cancel
// buttons. Modal like the message box; the platform's input panel shows while
// it is open. Enter types into the edit control and does not confirm.
#pragma once

#include <string>

#include "core/mivo_class.h"
#include "platform/window/edit.h"
#include "platform/window/framework.h"
#include "ui/overlay.h"

class mivoAppearance;

class CmivoEnterTextWnd : public CWnd, public mivoClass, public ui::OverlaySource {
 public:
  explicit CmivoEnterTextWnd(mivoCore* core) : mivoClass(core) {}
  ~CmivoEnterTextWnd() override;

  // Shows the entry over the frame and waits: true for OK (the text then
  // holds what was typed), false for Cancel or when the program is ending
  // (the text is left as it was).
  bool Run(const std::u16string& title, const std::u16string& prompt, std::u16string* text, bool multiLine);

  ui::OverlayDescription DescribeOverlay() const override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Where the parts go (client coordinates), and the box's height.
  struct Layout {
    RECT edit{};        // the edit control
    RECT prompt{};      // the prompt's whole lines (empty when it has none)
    RECT buttons{};     // the row under the prompt, or the column beside field and prompt
    bool side = false;  // the buttons stand beside, not under
    int height = 0;
  };
  // Lays the entry out in the room the input panel leaves; h is the title
  // font's height.
  Layout LayOut(HDC dc, mivoAppearance& look, const RECT& client, int h) const;
  // Draws the entry; returns the height it needs.
  int Draw(HDC dc, mivoAppearance& look, const RECT& client);
  // The lowest client y the box may reach: the frame's bottom, or the input
  // panel's top while it shows, so the buttons are never under the keys.
  int BottomLimit() const;

  std::u16string m_title;       // "  " + title + "  "
  std::u16string m_plainTitle;  // as given
  std::u16string m_prompt;      // under the edit control
  CEdit m_edit;                 // the text
  int m_lines = 1;              // 1, or 4 for a multi-line text
  bool m_multiLine = false;
  RECT m_ok{};                  // client coordinates
  RECT m_cancel{};
  RECT m_promptRect{};          // where the prompt shows, for the dump
  bool m_pressed = false;       // a press in the box is in progress
};
