#include "ui/overlay_frame.h"

#include <algorithm>

#include "core/messages.h"
#include "look/appearance.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/framework.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/overlay.h"

namespace ui {

namespace {

// A button's picture centred in its rectangle, scaled down (its shape kept)
// when the rectangle leaves less than the picture and a margin of 4·S.
void DrawButtonPicture(mivoAppearance& look, HDC dc, const char16_t* name, const RECT& r) {
  const int S = DisplayScale;
  mivoSkinImage* image = look.GetSkinImage(name);
  const SIZE size = look.GetSkinImageSize(image);
  const int roomW = RectWidth(r) - 8 * S, roomH = RectHeight(r) - 8 * S;
  if (size.cx > 0 && size.cy > 0 && roomW > 0 && roomH > 0 && (size.cx > roomW || size.cy > roomH)) {
    const double k = std::min(static_cast<double>(roomW) / size.cx, static_cast<double>(roomH) / size.cy);
    const int w = std::max(1, static_cast<int>(size.cx * k)), h = std::max(1, static_cast<int>(size.cy * k));
    look.DrawSkinImage(image, dc, r, kAlignCenterX | kAlignCenterY, kSkinDrawDirect, w, h);
    return;
  }
  look.DrawSkinImage(image, dc, r, kAlignCenterX | kAlignCenterY);
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

}  // namespace

void PaintOverlay(CWnd& overlay, mivoAppearance* look, const OverlayDraw& draw) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(overlay.m_hWnd, &ps);
  int wanted = 0;
  RECT client{};
  overlay.GetClientRect(&client);
  if (dc && look) {
    const int saved = SaveDC(dc);
    wanted = draw(dc, *look, client);
    RestoreDC(dc, saved);
  }
  if (dc) EndPaint(overlay.m_hWnd, &ps);
  if (wanted <= 0 || wanted == RectHeight(client)) return;
  RECT mine{};
  overlay.GetWindowRect(&mine);
  const HWND parent = ::GetParent(overlay.m_hWnd);
  if (parent) ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&mine), 2);
  const bool shrinking = wanted < RectHeight(client);
  overlay.MoveWindow(mine.left, mine.top, RectWidth(mine), wanted, TRUE);
  if (shrinking && parent) PaintUncovered(parent);
}

ModalOverlay::ModalOverlay(CWnd& box, const OverlaySource* source) : m_box(box), m_source(source) {
  m_parent = ::GetParent(box.m_hWnd);
  ::SetWindowPos(box.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RegisterOverlay(m_source);
  m_previousFocus = ::GetFocus();
  box.SetFocus();
}

ModalOverlay::~ModalOverlay() {
  UnregisterOverlay(m_source);
  m_box.DestroyWindow();
  if (m_previousFocus && IsWindow(m_previousFocus)) ::SetFocus(m_previousFocus);
  if (m_parent && IsWindow(m_parent)) PaintUncovered(m_parent);
}

int ModalOverlay::Run() {
  int result = 0;
  const HWND box = m_box.m_hWnd;
  window::ModalLoop(box, [&](const MSG& msg) {
    if (msg.hwnd != box) return false;
    if (msg.message == WM_MIVO_OVERLAY_FIRST) result = 1;
    else if (msg.message == WM_MIVO_OVERLAY_SECOND) result = 2;
    return result != 0;
  });
  return result;
}

void AnswerTap(CWnd& box, LPARAM lParam, const RECT& first, const RECT& second) {
  const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (PtInRect(&first, pt)) {
    box.PostMessage(WM_MIVO_OVERLAY_FIRST);
  } else if (PtInRect(&second, pt)) {
    box.PostMessage(WM_MIVO_OVERLAY_SECOND);
  }
}

void PaintUncovered(HWND parent) { RedrawWindow(parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

int DrawOverlayFrame(mivoAppearance& look, HDC dc, const RECT& client, const std::u16string& title, UINT titleFlags) {
  const int S = DisplayScale;
  const int l = client.left, t = client.top, r = client.right, b = client.bottom;
  if (look.BackgroundBrush) {
    FillRect(dc, &client, look.BackgroundBrush);
  }
  SelectObject(dc, look.TitleFont);
  SIZE x{};
  GetTextExtentPoint32W(dc, u"X", 1, &x);
  const int h = x.cy;

  SelectObject(dc, look.ThemePen4);
  SelectObject(dc, look.ThemeBrush5);
  RoundRect(dc, l + 5 * S, t + h / 2, r - 5 * S, b - 5 * S, 20 * S, 20 * S);

  SetTextColor(dc, look.TextColor);
  SetBkColor(dc, look.BackgroundColor);
  SetBkMode(dc, OPAQUE);
  RECT titleRect = client;
  DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &titleRect, titleFlags);
  return h;
}

void DrawOverlayButtons(mivoAppearance& look, HDC dc, const RECT& client, const RECT& body, int bottom, bool two,
                        RECT* first, RECT* second, int height) {
  const int S = DisplayScale;
  if (height <= 0) height = kButtonRowHeight * S;
  const int l = client.left, r = client.right;
  const int top = bottom - height;
  const int middle = (body.left + body.right) / 2;
  if (two) {
    *first = MakeRect(l + 10 * S, top, middle, bottom);
    *second = MakeRect(middle, top, r - 10 * S, bottom);
  } else {
    *first = MakeRect(body.left, top, body.right, bottom);
    *second = RECT{};
  }
  DrawButtonPicture(look, dc, u"message_box_yes", *first);
  if (two) DrawButtonPicture(look, dc, u"message_box_no", *second);

  SelectObject(dc, look.ThemePen4);
  Line(dc, l + 20 * S, top - 5 * S, r - 20 * S, top - 5 * S);
  if (two) Line(dc, middle, top + 5 * S, middle, bottom - 5 * S);
}

void DrawOverlaySideButtons(mivoAppearance& look, HDC dc, const RECT& column, RECT* first, RECT* second) {
  const int S = DisplayScale;
  const int middle = (column.left + column.right) / 2;
  *first = MakeRect(column.left, column.top, middle, column.bottom);
  *second = MakeRect(middle, column.top, column.right, column.bottom);
  DrawButtonPicture(look, dc, u"message_box_yes", *first);
  DrawButtonPicture(look, dc, u"message_box_no", *second);
  SelectObject(dc, look.ThemePen4);
  Line(dc, column.left, column.top + 2 * S, column.left, column.bottom - 2 * S);
  Line(dc, middle, column.top + 5 * S, middle, column.bottom - 5 * S);
}

}  // namespace ui
