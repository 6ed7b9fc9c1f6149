#include "desktop/gadget.h"

#include <algorithm>

#include "core/core.h"
#include "core/page_ids.h"
#include "desktop/desktop_page.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/framework.h"
#include "platform/window/metrics.h"

namespace {

// Every gadget is at least this big unless its kind says otherwise.
constexpr int kDefaultMinSide = 20;
// The design frame's marks and handles, times DisplayScale.
constexpr int kMarkLength = 3;
constexpr int kHandleSide = 10;

// Portrait unless the main frame's client area is wider than high on a
// screen that is not square.
bool FramePortrait(mivoCore* core) {
  CFrameWnd* frame = core->GetMainFrame();
  if (!frame || !frame->m_hWnd) return true;
  RECT client{};
  frame->GetClientRect(&client);
  if (GetSystemMetrics(SM_CXSCREEN) == GetSystemMetrics(SM_CYSCREEN)) return true;
  return RectWidth(client) <= RectHeight(client);
}

}  // namespace

CmivoGadget::CmivoGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId)
    : CmivoChildWnd(core, page), m_pDesktop(page), m_typeId(typeId) {
  m_minWidth = kDefaultMinSide;
  m_minHeight = kDefaultMinSide;
  m_portrait = FramePortrait(core);
  // A press on a gadget may start a desktop swipe; a gadget that follows the
  // finger itself (the desktop switcher) turns this off.
  m_allowsPageSwipe = true;
}

CmivoGadget::~CmivoGadget() {
  if (m_pDesktop) m_pDesktop->ForgetGadget(this);
}

// ---- The desktop page --------------------------------------------------------------

bool CmivoGadget::IsDesignMode() const { return m_pDesktop && m_pDesktop->IsDesignMode(); }

bool CmivoGadget::IsSelected() const { return m_pDesktop && m_pDesktop->SelectedGadget() == this; }

void CmivoGadget::Activate() {
  if (m_active) return;
  m_active = true;
  OnActivate();
}

void CmivoGadget::Deactivate() {
  if (!m_active) return;
  m_active = false;
  OnDeactivate();
}

// ---- Geometry ------------------------------------------------------------------------

RECT CmivoGadget::ClampRect(const RECT& rect, int areaWidth, int areaHeight) const {
  RECT r = rect;
  // A minimum never exceeds the gadget's own page: one taken from the page of
  // the other orientation (a strip made while the screen was turned) would
  // widen the gadget every time the layout is read on that screen.
  const int minWidth = areaWidth > 0 ? std::min(m_minWidth, areaWidth) : m_minWidth;
  const int minHeight = areaHeight > 0 ? std::min(m_minHeight, areaHeight) : m_minHeight;
  if (r.right - r.left < minWidth) r.right = r.left + minWidth;
  if (r.bottom - r.top < minHeight) r.bottom = r.top + minHeight;
  if (r.left < 0) OffsetRect(&r, -r.left, 0);
  if (r.top < 0) OffsetRect(&r, 0, -r.top);
  if (areaWidth > 0 && (r.right > areaWidth || r.left > areaWidth)) OffsetRect(&r, areaWidth - r.right, 0);
  if (areaHeight > 0 && (r.bottom > areaHeight || r.top > areaHeight)) OffsetRect(&r, 0, areaHeight - r.bottom);
  // A gadget bigger than the area keeps its top-left corner on screen.
  if (r.left < 0) OffsetRect(&r, -r.left, 0);
  if (r.top < 0) OffsetRect(&r, 0, -r.top);
  return r;
}

void CmivoGadget::SetRect(const RECT& rect, bool repaint) {
  SIZE area{};
  if (m_pDesktop) area = m_pDesktop->GadgetArea(m_portrait);
  const RECT clamped = ClampRect(rect, area.cx, area.cy);
  if (clamped == m_rect) return;
  if (repaint) Invalidate();
  m_rect = clamped;
  if (repaint) Invalidate();
}

void CmivoGadget::SetMinSize(int width, int height) {
  m_minWidth = std::max(0, width);
  m_minHeight = std::max(0, height);
  SetRect(m_rect, true);
}

RECT CmivoGadget::FrameRect() const {
  RECT r = m_rect;
  if (DisplayScale == 2) InflateRect(&r, -1, -1);
  return r;
}

int CmivoGadget::HitTestHandles(POINT point) const {
  const int S = DisplayScale;
  const RECT f = FrameRect();
  const int side = kHandleSide * S;
  const struct {
    RECT square;
    int code;
  } handles[] = {
      {MakeRect(f.left, f.top, f.left + side, f.top + side), kHandleTopLeft},
      {MakeRect(f.right - side, f.top, f.right, f.top + side), kHandleTopRight},
      {MakeRect(f.left, f.bottom - side, f.left + side, f.bottom), kHandleBottomLeft},
      {MakeRect(f.right - side, f.bottom - side, f.right, f.bottom), kHandleBottomRight},
  };
  // The bottom-right handle wins where squares of a small gadget overlap:
  // it is the one that makes a gadget bigger without moving it.
  for (int i = 3; i >= 0; --i) {
    if (PtInRect(&handles[i].square, point)) return handles[i].code;
  }
  return 0;
}

// ---- Painting --------------------------------------------------------------------------

void CmivoGadget::Paint(HDC dc) {
  if (IsDesignMode()) DrawDesignFrame(dc);
}

void CmivoGadget::DrawDesignFrame(HDC dc) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int S = DisplayScale;
  const RECT f = FrameRect();
  const int L = f.left, T = f.top, R = f.right, B = f.bottom;
  const int saved = SaveDC(dc);
  if (!IsSelected()) {
    // Corner marks: two strokes 3·S long at each corner.
    HPEN pen = CreatePen(PS_SOLID, S, look->TextColor);
    SelectObject(dc, pen);
    const int m = kMarkLength * S;
    const POINT marks[4][3] = {
        {{L + m, T}, {L, T}, {L, T + m}},
        {{R - S - m, T}, {R - S, T}, {R - S, T + m}},
        {{R - S - m, B - S}, {R - S, B - S}, {R - S, B - S - m}},
        {{L + m, B - S}, {L, B - S}, {L, B - S - m}},
    };
    for (const auto& mark : marks) {
      MoveToEx(dc, mark[0].x, mark[0].y, nullptr);
      LineTo(dc, mark[1].x, mark[1].y);
      LineTo(dc, mark[2].x, mark[2].y);
    }
    RestoreDC(dc, saved);
    DeleteObject(pen);
    return;
  }
  // The selected gadget: a dotted outline and the four handle squares.
  HPEN dotted = CreatePen(PS_DOT, S, look->TextColor);
  SelectObject(dc, dotted);
  SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, L, T, R, B);
  HBRUSH solid = CreateSolidBrush(look->TextColor);
  const int side = kHandleSide * S;
  const RECT squares[4] = {MakeRect(L, T, L + side, T + side), MakeRect(R - side, T, R, T + side),
                           MakeRect(L, B - side, L + side, B), MakeRect(R - side, B - side, R, B)};
  for (const RECT& square : squares) FillRect(dc, &square, solid);
  RestoreDC(dc, saved);
  DeleteObject(dotted);
  DeleteObject(solid);
}

void CmivoGadget::DrawContextMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry) {
  mivoAppearance* look = m_pCore->GetAppearance();
  if (!look) return;
  const int saved = SaveDC(dc);
  DrawRowImageTitle(*look, dc, nullptr, GetContextMenuItemText(entry), rect, kSkinDrawOverColor5);
  RestoreDC(dc, saved);
}

// ---- Taps ------------------------------------------------------------------------------

void CmivoGadget::OnTap(UINT, POINT) {
  if (IsDesignMode()) return;
  m_pCore->ShowPageById(kMainMenuPage);
}
