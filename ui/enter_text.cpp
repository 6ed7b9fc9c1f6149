#include "ui/enter_text.h"

#include <algorithm>

#include "core/core.h"
#include "core/messages.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/shell/input_panel.h"
#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
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
  // The text to edit, if any; the caret goes to the end, ready to type on.
  if (text) m_edit.SetWindowText(*text);
  if (m_edit.m_hWnd) m_edit.SetSel(m_edit.GetWindowTextLength(), m_edit.GetWindowTextLength());
  bool confirmed = false;
  {
    ui::ModalOverlay modal(*this, this);
    SipShowIM(SIPF_ON);
    // The input panel took the bottom of the screen: lay out above it.
    Invalidate(FALSE);
    confirmed = modal.Run() == 1;
    if (confirmed && text) *text = m_edit.GetWindowText();
    SipShowIM(SIPF_OFF);
  }
  return confirmed;
}

ui::OverlayDescription CmivoEnterTextWnd::DescribeOverlay() const {
  ui::OverlayDescription d;
  d.kind = "text";
  d.title = m_plainTitle;
  d.text = m_prompt;
  if (m_edit.m_hWnd) {
    d.value = m_edit.GetWindowText();
    m_edit.GetWindowRect(&d.field);
  }
  if (m_hWnd) {
    d.prompt = ui::ToScreen(m_hWnd, m_promptRect);
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

CmivoEnterTextWnd::Layout CmivoEnterTextWnd::LayOut(HDC dc, mivoAppearance& look, const RECT& client, int h) const {
  const int S = DisplayScale;
  const int limit = BottomLimit();
  const int top = client.top + 5 * S + h;
  const int shadow = 2 * S;
  SelectObject(dc, look.SubtitleFont);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const int lh = std::max<int>(1, tm.tmHeight);
  // The prompt's lines at a width.
  auto promptLines = [&](int left, int right) {
    if (m_prompt.empty()) return 0;
    RECT measure = MakeRect(left, 0, right, 100000);
    DrawTextW(dc, m_prompt.c_str(), static_cast<int>(m_prompt.size()), &measure, kPromptFlags | DT_CALCRECT);
    return std::max(1, RectHeight(measure) / lh);
  };
  auto promptHeight = [&](int lines) { return lines > 0 ? lines * lh + shadow : 0; };
  const int left = client.left + 10 * S, right = client.right - 10 * S;

  // Stacked as on a free screen: the field, the prompt under it, the row of
  // buttons under both. Where the input panel leaves less, the buttons get
  // lower first (down to 40·S), then a multi-line field loses lines, then the
  // prompt shows fewer lines.
  const int fullPrompt = promptLines(left, right);
  auto stacked = [&](int lines, int prompt, int row) {
    Layout l;
    l.edit = MakeRect(left, top, right, top + lines * h + 3 * S);
    const int promptTop = l.edit.bottom + 5 * S;
    l.prompt = MakeRect(left, promptTop, right, promptTop + promptHeight(prompt));
    l.buttons = MakeRect(left, l.prompt.bottom + 10 * S, right, l.prompt.bottom + 10 * S + row);
    l.height = l.buttons.bottom + ui::kBoxBottomMargin * S;
    return l;
  };
  const int fullRow = ui::kButtonRowHeight * S, lowRow = 40 * S;
  for (int lines = m_lines; lines >= 1; --lines) {
    for (int prompt = fullPrompt; prompt >= std::min(1, fullPrompt); --prompt) {
      // Only the field's last line goes before the prompt loses any.
      if (prompt < fullPrompt && lines > 1) break;
      const Layout low = stacked(lines, prompt, lowRow);
      if (low.height > limit) continue;
      return stacked(lines, prompt, std::min(fullRow, lowRow + limit - low.height));
    }
  }

  // Beside: the buttons in a column right of the field and the prompt, so
  // that all three fit the little height a landscape screen leaves.
  Layout l;
  l.side = true;
  const int column = std::min(120 * S, (right - left) * 2 / 5);
  const int textRight = right - column - 5 * S;
  const int margin = 7 * S;  // below the content, inside the frame's bottom edge
  const int widePrompt = promptLines(left, textRight);
  int lines = m_lines, prompt = 0;
  for (; lines >= 1; --lines) {
    const int promptTop = top + lines * h + 3 * S + 3 * S;
    const int room = limit - margin - promptTop;
    prompt = std::clamp(room > shadow ? (room - shadow) / lh : 0, 0, widePrompt);
    if (prompt > 0 || widePrompt == 0 || lines == 1) break;
  }
  lines = std::max(lines, 1);
  l.edit = MakeRect(left, top, textRight, top + lines * h + 3 * S);
  const int promptTop = l.edit.bottom + 3 * S;
  l.prompt = MakeRect(left, promptTop, textRight, promptTop + promptHeight(prompt));
  const int contentBottom = std::max({l.edit.bottom, l.prompt.bottom, top + 32 * S});
  l.buttons = MakeRect(textRight + 5 * S, top, right, contentBottom);
  l.height = contentBottom + margin;
  return l;
}

int CmivoEnterTextWnd::Draw(HDC dc, mivoAppearance& look, const RECT& client) {
  const int h = ui::DrawOverlayFrame(look, dc, client, m_title, DT_CENTER);
  const Layout l = LayOut(dc, look, client, h);

  // The edit control, as many lines of TitleFont high as there is room for.
  if (m_edit.m_hWnd) {
    RECT now{};
    m_edit.GetWindowRect(&now);
    ScreenToClient(&now);
    if (!EqualRect(&now, &l.edit)) m_edit.MoveWindow(l.edit, TRUE);
  }
  // The prompt in whole lines; the last one shown ends with "..." when the
  // screen leaves no room for the rest.
  m_promptRect = l.prompt;
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, look.SubtitleFont);
  if (RectHeight(l.prompt) > 0) {
    const int clipSaved = SaveDC(dc);
    IntersectClipRect(dc, l.prompt.left, l.prompt.top, l.prompt.right, l.prompt.bottom);
    DrawTextWithShadow(look, dc, m_prompt, l.prompt, kPromptFlags | DT_END_ELLIPSIS);
    RestoreDC(dc, clipSaved);
  }
  if (l.side) {
    ui::DrawOverlaySideButtons(look, dc, l.buttons, &m_ok, &m_cancel);
  } else {
    ui::DrawOverlayButtons(look, dc, client, l.prompt, l.buttons.bottom, true, &m_ok, &m_cancel,
                           RectHeight(l.buttons));
  }
  return l.height;
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
      ui::PaintOverlay(*this, m_pCore->GetAppearance(),
                       [this](HDC dc, mivoAppearance& look, const RECT& client) { return Draw(dc, look, client); });
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      m_pressed = true;
      return 0;
    case WM_LBUTTONUP: {
      const bool answered = m_pressed;
      m_pressed = false;
      if (answered) ui::AnswerTap(*this, lParam, m_ok, m_cancel);
      return 0;
    }
    case WM_MIVO_OVERLAY_FIRST:
    case WM_MIVO_OVERLAY_SECOND:
      return 0;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
