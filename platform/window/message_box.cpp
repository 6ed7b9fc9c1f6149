#include "platform/window/message_box.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/overlay_dump.h"
#include "platform/window/framework.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/painted_wnd.h"
#include "platform/window/shell_look.h"
#include "platform/window/window.h"

namespace {

// A button of the box: the answer it gives and its label.
struct ButtonLayout {
  int id;
  const char16_t* label;
};

std::vector<ButtonLayout> ButtonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, u"Abort"}, {IDRETRY, u"Retry"}, {IDIGNORE, u"Ignore"}};
    case MB_YESNOCANCEL:
      return {{IDYES, u"Yes"}, {IDNO, u"No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO:
      return {{IDYES, u"Yes"}, {IDNO, u"No"}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, u"Retry"}, {IDCANCEL, u"Cancel"}};
    default:
      return {{IDOK, u"OK"}};
  }
}

class PlainMessageBox : public CPaintedWnd {
 public:
  PlainMessageBox(std::u16string title, std::u16string body, std::vector<ButtonLayout> buttons)
      : m_title(std::move(title)), m_body(std::move(body)), m_buttons(std::move(buttons)) {}

  // Sizes the box to its text and centres it on the work area.
  void Layout() {
    const int s = window::ShellScale();
    const RECT work = window::GetWorkArea();
    const int width = std::min(RectWidth(work) - 2 * 12 * s, 300 * s);
    const int pad = 10 * s;
    RECT text = MakeRect(0, 0, width - 2 * pad, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, shell_look::Font(13 * s, false));
    DrawTextW(dc, m_body.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    m_titleHeight = 22 * s;
    const int buttonHeight = 28 * s;
    m_textRect = MakeRect(pad, m_titleHeight + pad, width - pad, m_titleHeight + pad + RectHeight(text));
    const int height = m_textRect.bottom + pad + buttonHeight + pad;
    const int gap = 6 * s;
    const int n = static_cast<int>(m_buttons.size());
    const int bw = (width - 2 * pad - (n - 1) * gap) / std::max(1, n);
    m_buttonRects.clear();
    for (int i = 0; i < n; ++i) {
      const int x = pad + i * (bw + gap);
      m_buttonRects.push_back(MakeRect(x, m_textRect.bottom + pad, x + bw, m_textRect.bottom + pad + buttonHeight));
    }
    const int x = work.left + (RectWidth(work) - width) / 2;
    const int y = work.top + std::max(0, (RectHeight(work) - height) / 2);
    MoveWindow(x, y, width, std::min(height, RectHeight(work)), TRUE);
  }

  int Result() const { return m_result; }
  bool IsQuestion() const { return m_buttons.size() > 1; }
  const std::u16string& Title() const { return m_title; }
  const std::u16string& Body() const { return m_body; }
  std::vector<RECT> ScreenButtons() const {
    std::vector<RECT> out;
    RECT w;
    GetWindowRect(&w);
    for (RECT r : m_buttonRects) {
      OffsetRect(&r, w.left, w.top);
      out.push_back(r);
    }
    return out;
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_LBUTTONDOWN:
        m_pressed = Hit(lParam);
        SetCapture();
        Invalidate(FALSE);
        return 0;
      case WM_LBUTTONUP: {
        const int hit = Hit(lParam);
        const int pressed = m_pressed;
        m_pressed = -1;
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        Invalidate(FALSE);
        if (hit >= 0 && hit == pressed) m_result = m_buttons[static_cast<std::size_t>(hit)].id;
        return 0;
      }
      case WM_CAPTURECHANGED:
        if (m_pressed >= 0) {
          m_pressed = -1;
          Invalidate(FALSE);
        }
        return 0;
      case WM_CHAR:
        if (wParam == u'\r') m_result = m_buttons.front().id;
        if (wParam == 27) m_result = EscapeAnswer();
        return 0;
      case WM_CLOSE:
        m_result = EscapeAnswer();
        return 0;
      default:
        return CPaintedWnd::WindowProc(message, wParam, lParam);
    }
  }

 private:
  int EscapeAnswer() const {
    for (const ButtonLayout& b : m_buttons) {
      if (b.id == IDCANCEL) return IDCANCEL;
    }
    for (const ButtonLayout& b : m_buttons) {
      if (b.id == IDNO) return IDNO;
    }
    return m_buttons.size() == 1 ? m_buttons.front().id : 0;
  }

  int Hit(LPARAM lParam) const {
    const POINT pt = MakePoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    for (std::size_t i = 0; i < m_buttonRects.size(); ++i) {
      if (PtInRect(&m_buttonRects[i], pt)) return static_cast<int>(i);
    }
    return -1;
  }

  void Paint(HDC dc) override {
    const int s = window::ShellScale();
    RECT c;
    GetClientRect(&c);
    shell_look::FillSolid(dc, c, shell_look::kWindow);
    RECT title = MakeRect(c.left, c.top, c.right, c.top + m_titleHeight);
    shell_look::FillGradient(dc, title, shell_look::kBarTop, shell_look::kBarBottom);
    shell_look::Frame(dc, c, shell_look::kShadow);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, shell_look::Font(13 * s, true));
    SetTextColor(dc, shell_look::kBarText);
    InflateRect(&title, -8 * s, 0);
    DrawTextW(dc, m_title.c_str(), -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, shell_look::Font(13 * s, false));
    SetTextColor(dc, shell_look::kWindowText);
    RECT text = m_textRect;
    DrawTextW(dc, m_body.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, shell_look::Font(13 * s, true));
    for (std::size_t i = 0; i < m_buttonRects.size(); ++i) {
      RECT b = m_buttonRects[i];
      const bool down = m_pressed == static_cast<int>(i);
      HBRUSH face = CreateSolidBrush(down ? shell_look::kKeyPressed : shell_look::kKeyFunction);
      HPEN pen = CreatePen(PS_SOLID, 1, shell_look::kShadow);
      HGDIOBJ oldBrush = SelectObject(dc, face);
      HGDIOBJ oldPen = SelectObject(dc, pen);
      RoundRect(dc, b.left, b.top, b.right, b.bottom, 8 * s, 8 * s);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      DeleteObject(pen);
      DeleteObject(face);
      SetTextColor(dc, down ? shell_look::kSelectionText : shell_look::kKeyText);
      DrawTextW(dc, m_buttons[i].label, -1, &b, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old);
  }

  std::u16string m_title;            // the caption
  std::u16string m_body;             // the message
  std::vector<ButtonLayout> m_buttons; // left to right; the first answers Enter
  std::vector<RECT> m_buttonRects;   // client coordinates, as laid out
  RECT m_textRect{};                 // where the message goes
  int m_titleHeight = 0;             // height of the caption strip
  int m_pressed = -1;                // the button under a press in progress
  int m_result = 0;                  // the answer, 0 while open
};

window::OverlayStack<PlainMessageBox>& OpenBoxes() {
  static window::OverlayStack<PlainMessageBox> boxes([](window::JsonWriter& j, const PlainMessageBox& box) {
    window::WriteOverlay(j, box.IsQuestion() ? "question" : "message", box.Title(), box.Body(), box.ScreenButtons());
  });
  return boxes;
}

}  // namespace

int MessageBoxW(HWND owner, LPCWSTR textValue, LPCWSTR caption, UINT type) {
  OpenBoxes();  // the dump hears of boxes from the first call on
  HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  if (owner && !root) return 0;  // a dead owner: nothing to show the box for
  PlainMessageBox box(caption ? caption : u"Error", textValue ? textValue : u"", ButtonsFor(type));
  CWnd* ownerWnd = nullptr;
  CWnd ownerProxy;
  if (root) {
    ownerWnd = CWnd::FromHandle(root);
    if (!ownerWnd) {
      ownerProxy.m_hWnd = root;  // only its handle is used
      ownerWnd = &ownerProxy;
    }
  }
  const HWND previousFocus = GetFocus();
  // The owner and its other pop-ups (its menu bar) take no input meanwhile.
  std::vector<HWND> disabled;
  if (root) {
    std::vector<HWND> tops;
    EnumWindows([](HWND h, LPARAM p) {
      reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
      return TRUE;
    }, reinterpret_cast<LPARAM>(&tops));
    for (HWND h : tops) {
      if ((h == root || GetParent(h) == root) && IsWindowEnabled(h)) disabled.push_back(h);
    }
  }
  if (!box.CreateEx(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, u"Dialog", caption, WS_POPUP, MakeRect(0, 0, 10, 10),
                    ownerWnd, 0)) {
    ownerProxy.m_hWnd = nullptr;
    return 0;
  }
  ownerProxy.m_hWnd = nullptr;
  box.Layout();
  for (HWND h : disabled) EnableWindow(h, FALSE);
  box.ShowWindow(SW_SHOW);
  box.SetFocus();
  OpenBoxes().Push(&box);
  const HWND boxHandle = box.m_hWnd;
  window::ModalLoop(boxHandle, [&box](const MSG&) { return box.Result() != 0 || !box.m_hWnd; });
  OpenBoxes().Remove(&box);
  const int result = box.Result();
  for (HWND h : disabled) {
    if (IsWindow(h)) EnableWindow(h, TRUE);
  }
  box.DestroyWindow();
  if (previousFocus && IsWindow(previousFocus)) SetFocus(previousFocus);
  return result;
}
