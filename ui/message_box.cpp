#include "ui/message_box.h"

#include <algorithm>
#include <cstdlib>

#include "core/core.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "platform/window/message_box.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/overlay_frame.h"

namespace {
constexpr UINT kBodyFlags = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
}  // namespace

CmivoMessageBox::~CmivoMessageBox() { ui::UnregisterOverlay(this); }

int CmivoMessageBox::Run(const std::u16string& title, const std::u16string& text, bool okOnly) {
  CFrameWnd* frame = m_pCore->GetMainFrame();
  if (!frame || !frame->m_hWnd || !m_pCore->GetAppearance()) {
    // No frame to show it in: the platform's own box still asks.
    const int answer = MessageBoxW(nullptr, text.c_str(), title.c_str(), okOnly ? MB_OK : MB_YESNO);
    if (answer == 0) return 0;
    return (answer == IDOK || answer == IDYES) ? 1 : 2;
  }
  // One pixel high over the frame's width; the first paint sizes it.
  RECT client{};
  frame->GetClientRect(&client);
  m_plainTitle = title;
  m_title = u" " + title + u" ";
  m_text = text;
  m_okOnly = okOnly;
  if (!CreateEx(0, nullptr, u"", WS_CHILD | WS_VISIBLE, MakeRect(client.left, client.top, client.right, client.top + 1),
                frame, static_cast<UINT>(-1))) {
    return 0;
  }
  ui::ModalOverlay modal(*this, this);
  return modal.Run();
}

ui::OverlayDescription CmivoMessageBox::DescribeOverlay() const {
  ui::OverlayDescription d;
  d.kind = m_okOnly ? "message" : "question";
  d.title = m_plainTitle;
  d.text = m_text;
  if (m_hWnd) {
    d.buttons.push_back(ui::ToScreen(m_hWnd, m_yes));
    if (!m_okOnly) d.buttons.push_back(ui::ToScreen(m_hWnd, m_no));
  }
  return d;
}

int CmivoMessageBox::Draw(HDC dc, mivoAppearance& look, const RECT& client) {
  const int S = DisplayScale;
  const int h = ui::DrawOverlayFrame(look, dc, client, m_title, DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);

  // The body, wrapped; th is its height with the shadow.
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, look.SubtitleFont);
  const int bodyTop = client.top + 5 * S + h;
  RECT measure = MakeRect(client.left + 10 * S, bodyTop, client.right - 10 * S, bodyTop + 100000);
  DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &measure, kBodyFlags | DT_CALCRECT);
  const int shadow = 2 * S;
  const int th = RectHeight(measure) + shadow;
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  m_lineHeight = std::max<int>(1, tm.tmHeight);

  // The box may not grow past the frame: a longer text scrolls in place, by
  // whole lines, so no line is ever cut through.
  int frameHeight = RectHeight(client);
  if (CFrameWnd* frame = m_pCore->GetMainFrame(); frame && frame->m_hWnd) {
    RECT fc{};
    frame->GetClientRect(&fc);
    RECT mine{};
    GetWindowRect(&mine);
    frame->ScreenToClient(&mine);
    frameHeight = fc.bottom - mine.top;
  }
  int roomForText = frameHeight - (ui::kButtonRowSpace + ui::kBoxBottomMargin) * S - bodyTop;
  // A text a little too tall takes some of the buttons' height (down to
  // 52·S, still above the picture) rather than scroll.
  const int lines = std::max(1, RectHeight(measure) / m_lineHeight);
  int rowHeight = ui::kButtonRowHeight * S;
  const int missing = lines * m_lineHeight - roomForText;
  if (missing > 0 && missing <= rowHeight - 52 * S) {
    rowHeight -= missing;
    roomForText += missing;
  }
  // All the lines fit (their shadow may lose its last pixels): no scrolling.
  int visible = std::min(th, std::max(roomForText, m_lineHeight));
  m_maxScroll = 0;
  if (lines * m_lineHeight > roomForText) {
    const int shown = std::max(1, roomForText / m_lineHeight);
    visible = shown * m_lineHeight;
    m_maxScroll = (lines - shown) * m_lineHeight;
  }
  m_scroll = std::clamp(m_scroll, 0, m_maxScroll);
  m_body = MakeRect(client.left + 10 * S, bodyTop, client.right - 10 * S, bodyTop + visible);

  const int clipSaved = SaveDC(dc);
  IntersectClipRect(dc, m_body.left, m_body.top, m_body.right, m_body.bottom);
  RECT bodyRect = MakeRect(m_body.left, bodyTop - m_scroll, m_body.right, bodyTop - m_scroll + th + 100000);
  DrawTextWithShadow(look, dc, m_text, bodyRect, kBodyFlags);
  RestoreDC(dc, clipSaved);
  if (m_maxScroll > 0) {
    // Where the visible part lies in the whole text.
    const int x = m_body.right + 3 * S;
    const int thumb = std::max(4 * S, visible * visible / th);
    const int y = m_body.top + (visible - thumb) * m_scroll / m_maxScroll;
    HPEN pen = CreatePen(PS_SOLID, 2 * S, look.TextColor);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x, y, nullptr);
    LineTo(dc, x, y + thumb);
    SelectObject(dc, old);
    DeleteObject(pen);
  }

  // The buttons under the text; the box's height follows what it shows.
  const int B = bodyTop + visible + ui::kButtonRowSpace * S - (ui::kButtonRowHeight * S - rowHeight);
  ui::DrawOverlayButtons(look, dc, client, m_body, B, !m_okOnly, &m_yes, &m_no, rowHeight);
  return B + ui::kBoxBottomMargin * S;
}

void CmivoMessageBox::ScrollTo(int pos) {
  // Whole lines only: the nearest line to where the finger took it.
  pos = (pos + m_lineHeight / 2) / m_lineHeight * m_lineHeight;
  pos = std::clamp(pos, 0, m_maxScroll);
  if (pos == m_scroll) return;
  m_scroll = pos;
  Invalidate(FALSE);
}

LRESULT CmivoMessageBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const int S = DisplayScale;
  switch (message) {
    case WM_PAINT:
      ui::PaintOverlay(*this, m_pCore->GetAppearance(),
                       [this](HDC dc, mivoAppearance& look, const RECT& client) { return Draw(dc, look, client); });
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      m_pressed = true;
      m_dragging = false;
      m_pressY = GET_Y_LPARAM(lParam);
      m_pressScroll = m_scroll;
      SetCapture();
      return 0;
    case WM_MOUSEMOVE:
      if (m_pressed && (wParam & MK_LBUTTON) && m_maxScroll > 0) {
        const int y = GET_Y_LPARAM(lParam);
        if (std::abs(y - m_pressY) >= 5 * S) m_dragging = true;
        if (m_dragging) ScrollTo(m_pressScroll + m_pressY - y);
      }
      return 0;
    case WM_LBUTTONUP: {
      const bool answered = m_pressed && !m_dragging;
      m_pressed = false;
      m_dragging = false;
      if (::GetCapture() == m_hWnd) ReleaseCapture();
      if (answered) ui::AnswerTap(*this, lParam, m_yes, m_no);
      return 0;
    }
    case WM_CHAR:
      if (wParam == 13) {
        PostMessage(WM_MIVO_OVERLAY_FIRST);
        return 0;
      }
      return CWnd::WindowProc(message, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) {
        ScrollTo(m_scroll + (wParam == VK_DOWN ? m_lineHeight : -m_lineHeight));
        return 0;
      }
      return CWnd::WindowProc(message, wParam, lParam);
    case WM_MIVO_OVERLAY_FIRST:
    case WM_MIVO_OVERLAY_SECOND:
      return 0;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}
