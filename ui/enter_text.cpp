#include "ui/enter_text.h"

#include <algorithm>

#include "core/core.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/input_panel.h"
#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/message_box.h"
#include "ui/overlay_frame.h"

namespace {
constexpr UINT kEditId = 1;
constexpr UINT kPromptFlags = DT_CENTER | DT_WORDBREAK;
}  // namespace

CmivoEnterTextWnd::~CmivoEnterTextWnd() { ui::UnregisterOverlay(this); }

bool CmivoEnterTextWnd::Run(const std::u16string& title, const std::u16string& prompt, std::u16string* text,
                            bool multiLine) {
  CFrameWnd* frame = m_pCore->GetMainFrame();
  if (!frame || !frame->m_hWnd || !m_pCore->GetAppearance()) return false;
  // Over the frame's width from its top, 200 pixels high until the first paint sizes it.
  RECT client{};
  frame->GetClientRect(&client);
  m_multiLine = multiLine;
  m_lines = multiLine ? 4 : 1;
  m_plainTitle = title;
  m_title = u"  " + title + u"  ";
  m_prompt = prompt;
  if (!CreateEx(0, nullptr, u"", WS_CHILD | WS_VISIBLE,
                MakeRect(client.left, client.top, client.right, client.top + 200), frame, static_cast<UINT>(-1))) {
    return false;
  }
  ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // The text to edit, if any.
  if (text) m_edit.SetWindowText(*text);
  // The caret goes to the end, ready to type on.
  if (m_edit.m_hWnd) m_edit.SetSel(m_edit.GetWindowTextLength(), m_edit.GetWindowTextLength());
  const HWND previousFocus = GetFocus() ? GetFocus()->m_hWnd : nullptr;
  SetFocus();
  SipShowIM(SIPF_ON);
  ui::RegisterOverlay(this);
  // The input panel took the bottom of the screen: lay out above it.
  Invalidate(FALSE);

  // Only the window's messages until it is answered.
  int result = 0;
  const HWND box = m_hWnd;
  window::ModalLoop(box, [&](const MSG& msg) {
    if (msg.hwnd != box) return false;
    if (msg.message == WM_MIVO_OVERLAY_FIRST) result = 1;
    else if (msg.message == WM_MIVO_OVERLAY_SECOND) result = 2;
    return result != 0;
  });
  if (result == 1 && text) *text = m_edit.GetWindowText();

  // Answered: the window goes and the focus returns where it was.
  ui::UnregisterOverlay(this);
  SipShowIM(SIPF_OFF);
  DestroyWindow();
  if (previousFocus && IsWindow(previousFocus)) ::SetFocus(previousFocus);
  return result == 1;
}

ui::OverlayDescription CmivoEnterTextWnd::DescribeOverlay() const {
  ui::OverlayDescription d;
  d.kind = "text";
  d.title = m_plainTitle;
  d.text = m_prompt;
  if (m_edit.m_hWnd) d.value = m_edit.GetWindowText();
  if (m_hWnd) {
    d.buttons.push_back(ui::ToScreen(m_hWnd, m_ok));
    d.buttons.push_back(ui::ToScreen(m_hWnd, m_cancel));
  }
  return d;
}

int CmivoEnterTextWnd::BottomLimit() const {
  CFrameWnd* frame = m_pCore->GetMainFrame();
  RECT mine{};
  GetWindowRect(&mine);
  int limit = 1 << 20;
  if (frame && frame->m_hWnd) {
    RECT fc{};
    frame->GetClientRect(&fc);
    POINT bottom{0, fc.bottom};
    frame->ClientToScreen(&bottom);
    limit = bottom.y - mine.top;
  }
  RECT panel{};
  if (shell::InputPanelRect(&panel)) limit = std::min<int>(limit, panel.top - mine.top);
  return limit;
}

void CmivoEnterTextWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!dc || !look) {
    if (dc) EndPaint(m_hWnd, &ps);
    return;
  }
  const int S = DisplayScale;
  RECT client{};
  GetClientRect(&client);
  const int saved = SaveDC(dc);
  const int h = ui::DrawOverlayFrame(*look, dc, client, m_title, DT_CENTER);

  // The edit control under the title, m_lines lines of TitleFont high.
  const int editTop = client.top + 5 * S + h;
  const RECT editRect = MakeRect(client.left + 10 * S, editTop, client.right - 10 * S, editTop + m_lines * h + 3 * S);
  if (m_edit.m_hWnd) {
    RECT now{};
    m_edit.GetWindowRect(&now);
    ScreenToClient(&now);
    if (!EqualRect(&now, &editRect)) m_edit.MoveWindow(editRect, TRUE);
  }

  // The prompt 5·S under it; cut short when the input panel leaves no room.
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, look->SubtitleFont);
  const int promptTop = editRect.bottom + 5 * S;
  RECT measure = MakeRect(client.left + 10 * S, promptTop, client.right - 10 * S, promptTop + 100000);
  DrawTextW(dc, m_prompt.c_str(), static_cast<int>(m_prompt.size()), &measure, kPromptFlags | DT_CALCRECT);
  int th = m_prompt.empty() ? 0 : RectHeight(measure) + 2 * S;
  const int room = BottomLimit() - (ui::kButtonRowSpace + ui::kBoxBottomMargin) * S - promptTop;
  th = std::max(0, std::min(th, room));
  const RECT body = MakeRect(client.left + 10 * S, promptTop, client.right - 10 * S, promptTop + th);
  if (th > 0) {
    const int clipSaved = SaveDC(dc);
    IntersectClipRect(dc, body.left, body.top, body.right, body.bottom);
    RECT promptRect = MakeRect(body.left, promptTop, body.right, promptTop + 100000);
    DrawTextWithShadow(*look, dc, m_prompt, promptRect, kPromptFlags);
    RestoreDC(dc, clipSaved);
  }

  const int B = promptTop + th + ui::kButtonRowSpace * S;
  ui::DrawOverlayButtons(*look, dc, client, body, B, true, &m_ok, &m_cancel);
  RestoreDC(dc, saved);
  EndPaint(m_hWnd, &ps);

  const int wanted = B + ui::kBoxBottomMargin * S;
  if (wanted != RectHeight(client)) {
    RECT mine{};
    GetWindowRect(&mine);
    if (CWnd* parent = GetParent()) parent->ScreenToClient(&mine);
    MoveWindow(mine.left, mine.top, RectWidth(mine), wanted, TRUE);
  }
}

LRESULT CmivoEnterTextWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
      if (result == -1) return -1;
      const DWORD style = m_multiLine ? (WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE)
                                      : (WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL);
      const int S = DisplayScale;
      m_edit.Create(style, MakeRect(10 * S, 30 * S, 100, 30 * S + 20), this, kEditId);
      mivoAppearance* look = m_pCore->GetAppearance();
      if (m_edit.m_hWnd && look) m_edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(look->TitleFont), TRUE);
      return result;
    }
    case WM_SETFOCUS:
    case WM_ACTIVATE:
      if (m_edit.m_hWnd) m_edit.SetFocus();
      return 0;
    case WM_SHOWWINDOW:
      CWnd::WindowProc(message, wParam, lParam);
      if (wParam && m_edit.m_hWnd) m_edit.SetFocus();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      m_pressed = true;
      return 0;
    case WM_LBUTTONUP: {
      const bool answered = m_pressed;
      m_pressed = false;
      if (!answered) return 0;
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (PtInRect(&m_ok, pt)) {
        PostMessage(WM_MIVO_OVERLAY_FIRST);
      } else if (PtInRect(&m_cancel, pt)) {
        PostMessage(WM_MIVO_OVERLAY_SECOND);
      }
      return 0;
    }
    case WM_MIVO_OVERLAY_FIRST:
    case WM_MIVO_OVERLAY_SECOND:
      return 0;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
