// The edit control: single-line (ES_AUTOHSCROLL scrolls sideways) or
// multi-line (ES_MULTILINE, with word wrap and vertical scrolling; WS_VSCROLL
// adds a scroll bar). Caret, typing (WM_CHAR), Backspace and Delete, the
// cursor keys, Home and End, a tap placing the caret, WM_GETTEXT/WM_SETTEXT/
// WM_GETTEXTLENGTH, WM_SETFONT, and the EM_ messages the system uses.
//
// Texts are UTF-16; a surrogate pair moves and deletes as one character. A
// multi-line control keeps line breaks as "\r\n" in its text, as the platform
// does. ES_PASSWORD shows a star for each character; ES_NUMBER takes digits
// only; ES_UPPERCASE and ES_LOWERCASE change what is typed; ES_READONLY
// takes no typing. The parent hears EN_CHANGE, EN_SETFOCUS and EN_KILLFOCUS through
// WM_COMMAND. The class is also registered as "EDIT" for CreateWindowExW.
// With WS_BORDER (or WS_EX_CLIENTEDGE) it draws a frame and pads its text;
// without, the text uses the whole control, so a control sized to N lines of
// its font (plus a few pixels) shows N lines.
//
// WM_CUT, WM_COPY, WM_PASTE and WM_CLEAR, and their keys (Ctrl+X, Ctrl+C,
// Ctrl+V as the characters 0x18, 0x03, 0x16; Ctrl+A selects everything), go
// through the clipboard the phone shell installs with SetEditClipboard; a
// tap-and-hold offers them (and Select all) in a pop-up menu. A password
// control never gives its text away.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/window/framework.h"

namespace window {
// The clipboard's text as the edit control sees it; without one, cut, copy
// and paste do nothing.
struct EditClipboard {
  std::function<bool(std::u16string*)> get;  // false when it holds no text
  std::function<void(const std::u16string&)> set;
};
void SetEditClipboard(EditClipboard clipboard);
}  // namespace window

class CEdit : public CWnd {
 public:
  CEdit() = default;
  ~CEdit() override = default;

  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // The framework's helpers over the EM_ messages.
  // Selects start..end (the caret at end) and scrolls the caret into view
  // unless noScroll.
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void GetSel(int& start, int& end) const;
  void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE);
  void SetLimitText(UINT max);
  int GetLineCount() const;
  int GetFirstVisibleLine() const;
  void SetReadOnly(BOOL readOnly = TRUE);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Unhandled messages go straight to the default procedure (not back to
  // the "EDIT" class procedure, which would make another control).
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Registers the "EDIT" class (done on first use; safe to call again).
  static void RegisterClass();

 private:
  struct Line {
    int start = 0;  // index of the first character in m_text
    int end = 0;    // one past the last character shown (a wrapped line's space included)
  };

  bool IsMultiLine() const;
  // WS_BORDER or WS_EX_CLIENTEDGE: a frame (blue while focused) and padding.
  bool HasFrame() const;
  int Scale() const;
  HFONT CurrentFont() const;
  // The area text is drawn in (client coordinates), less border, padding and scroll bar.
  RECT TextArea() const;
  int LineHeight() const;
  // Call when the text, the font or the size changed: lines are wrapped anew.
  void Relayout();
  int LineOf(int index) const;       // the line holding a caret index
  int XOf(int index) const;          // caret x within its line (text-area coordinates, before scrolling)
  int IndexAt(POINT client) const;   // the caret index nearest to a point
  int VisibleLines() const;
  // Scrolls so the caret is in view (call after every caret move).
  void ScrollToCaret();
  void SetCaret(int index, bool extendSelection);
  bool HasSelection() const { return m_anchor != m_caret; }
  void DeleteSelection();
  void InsertText(const std::u16string& s);
  void Changed();                    // text changed: relayout, repaint, EN_CHANGE
  void Notify(WORD code);
  int PrevIndex(int index) const;    // one character back (surrogate pairs kept whole)
  int NextIndex(int index) const;
  std::u16string ExternalText() const;  // with "\r\n" line breaks
  void SetExternalText(const char16_t* text);

  std::u16string SelectedText() const;  // with "\r\n" line breaks
  void Copy();
  void Cut();
  void Paste();
  void Clear();

  // Message handlers: WindowProc calls one for each message it handles.
  static POINT PointFrom(LPARAM lParam);  // a stylus message's client point
  void OnCreate(const CREATESTRUCTW* cs);
  void OnSize();
  void OnPaint();
  void OnSetFocus();
  void OnKillFocus();
  void OnChar(char16_t c);
  bool OnKeyDown(UINT vk);  // false: not an editing key
  void OnLButtonDown(POINT client);
  void OnMouseMove(POINT client);
  void OnLButtonUp();
  void OnCaptureChanged();
  void OnContextMenu(POINT screenPoint);
  void OnSetText(const char16_t* text);
  LRESULT OnGetText(char16_t* buffer, std::size_t size) const;
  void OnSetFont(HFONT font, bool redraw);
  LRESULT OnGetSel(DWORD* start, DWORD* end) const;
  void OnSetSel(int start, int end);  // start -1: no selection
  void OnReplaceSel(const char16_t* text);
  LRESULT OnLineIndex(std::intptr_t line) const;  // line -1: the caret's
  LRESULT OnLineLength(int index) const;
  void OnScrollCaret();
  void OnSetReadOnly(bool readOnly);

  std::u16string m_text;       // "\n" for line breaks inside
  std::u16string m_shown;      // what is drawn: m_text, or stars for ES_PASSWORD (set by Relayout)
  int m_caret = 0;             // caret index into m_text
  int m_anchor = 0;            // the other end of the selection (== m_caret: none)
  int m_goalX = -1;            // x the caret keeps while moving up and down (-1: none)
  std::vector<Line> m_lines;   // the text's lines as shown
  int m_firstLine = 0;         // the first visible line (multi-line)
  int m_scrollX = 0;           // pixels scrolled sideways (single-line)
  HFONT m_font = nullptr;      // set by WM_SETFONT; null: the shell's font
  UINT m_limit = 30000;        // most characters the control takes
  bool m_focused = false;      // draws the caret and the focus border
  bool m_readOnly = false;     // typing does nothing
  bool m_selecting = false;    // the stylus is down and drags a selection
  int m_pressIndex = -1;       // a press inside the selection, not yet a tap or a drag (-1: none)
};
