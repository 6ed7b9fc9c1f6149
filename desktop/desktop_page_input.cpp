// The desktop page's input: taps on gadgets and on free space, desktop
// switching by keys and swipes, and the design mode's selection, dragging on
// the 10-pixel grid, resizing by a corner handle and moving by the arrow keys.
#include <algorithm>
#include <cstdlib>

#include "core/core.h"
#include "core/page_ids.h"
#include "desktop/desktop_page.h"
#include "desktop/gadget.h"
#include "platform/win32/rect.h"
#include "platform/window/window.h"

namespace {

// The design mode's grid.
constexpr int kGrid = 10;
// A release this far from its press is no tap (a slow drag over free space).
constexpr int kTapSlop = CmivoPageWnd::kSwipeMaxDrift;

}  // namespace

bool CmivoDesktopPage::Holds(const CmivoGadget* gadget) const { return m_container.Contains(gadget); }

// ---- The stylus -------------------------------------------------------------------------------

void CmivoDesktopPage::OnStylusDown(UINT flags, POINT point) {
  EndDrag();
  CancelFollowing();
  m_pressActive = true;
  m_pressPoint = point;
  CmivoGadget* previous = m_pSelected;
  auto* hit = static_cast<CmivoGadget*>(ChildAt(point.x, point.y));
  m_pSelected = hit;
  m_pPressed = hit;
  if (!m_designMode) {
    if (!hit) return;
    hit->OnStylusDown(flags, point);
    // A gadget that keeps the stylus to itself (the desktop switcher) is
    // handed the moves of this press: the page follows the finger for it
    // with the capture, so no nested loop runs inside a gadget.
    if (!hit->AllowsPageSwipe() && Holds(hit) && m_pPressed == hit) {
      m_following = true;
      SetCapture();
    }
    return;
  }
  // Design mode: the press selects, and on a gadget begins a drag, or a
  // resize when it lands on a handle of the gadget that was already selected.
  m_pPressed = nullptr;
  if (previous && previous != hit && Holds(previous)) previous->Invalidate();
  if (!hit) return;
  m_dragStartRect = hit->GetRect();
  m_handle = hit == previous ? hit->HitTestHandles(point) : 0;
  m_resizing = m_handle != 0;
  m_dragging = true;
  SetCapture();
  hit->Invalidate();
}

void CmivoDesktopPage::OnStylusMove(UINT flags, POINT point) {
  if (!(flags & MK_LBUTTON)) return;
  if (m_designMode && m_dragging) DragTo(point);
  if (m_following) {
    if (m_pPressed && Holds(m_pPressed))
      m_pPressed->OnStylusMove(flags, point);
    else
      CancelFollowing();
  }
}

void CmivoDesktopPage::OnStylusUp(UINT flags, POINT point) {
  const bool wasPressed = m_pressActive;
  m_pressActive = false;
  if (m_dragging) {
    EndDrag();
    return;
  }
  const bool followed = m_following;
  if (m_following) {
    // The release ends the following before the tap, so losing the capture
    // now is no cancellation.
    m_following = false;
    if (m_hWnd && GetCapture() == m_hWnd) ReleaseCapture();
  }
  if (!wasPressed || m_designMode) return;
  const int moved = std::max(std::abs(point.x - m_pressPoint.x), std::abs(point.y - m_pressPoint.y));
  CmivoGadget* pressed = m_pPressed;
  m_pPressed = nullptr;
  if (pressed) {
    // The gadget the press began on takes the tap when it is released over
    // it; one that followed the finger elsewhere hears that the press is over.
    if (!Holds(pressed)) return;
    if (pressed->IsVisible() && PtInRect(&pressed->GetRect(), point))
      pressed->OnTap(flags, point);
    else if (followed)
      pressed->OnStylusCancel();
    return;
  }
  if (moved < kTapSlop) m_pCore->ShowPageById(kMainMenuPage);
}

void CmivoDesktopPage::DragTo(POINT point) {
  CmivoGadget* gadget = m_pSelected;
  if (!gadget || !Holds(gadget)) {
    EndDrag();
    return;
  }
  // The stylus snaps down to the grid.
  const int x = (point.x / kGrid) * kGrid;
  const int y = (point.y / kGrid) * kGrid;
  RECT r{};
  if (!m_resizing) {
    r = m_dragStartRect;
    OffsetRect(&r, x - m_pressPoint.x, y - m_pressPoint.y);
  } else {
    r = gadget->GetRect();
    if (m_handle & kHandleLeft) r.left = x;
    if (m_handle & kHandleRight) r.right = x;
    if (m_handle & kHandleTop) r.top = y;
    if (m_handle & kHandleBottom) r.bottom = y;
  }
  gadget->SetRect(r, true);
}

void CmivoDesktopPage::EndDrag() {
  if (!m_dragging) return;
  m_dragging = false;
  m_resizing = false;
  m_handle = 0;
  if (m_hWnd && GetCapture() == m_hWnd) ReleaseCapture();
}

void CmivoDesktopPage::CancelFollowing() {
  if (!m_following) return;
  m_following = false;
  CmivoGadget* gadget = m_pPressed;
  if (m_hWnd && GetCapture() == m_hWnd) ReleaseCapture();
  if (gadget && Holds(gadget)) gadget->OnStylusCancel();
}

void CmivoDesktopPage::NudgeSelected(int dx, int dy) {
  CmivoGadget* gadget = m_pSelected;
  if (!gadget || !Holds(gadget)) return;
  RECT r = gadget->GetRect();
  OffsetRect(&r, dx, dy);
  gadget->SetRect(r, true);
}

// ---- Keys and swipes -------------------------------------------------------------------------------

void CmivoDesktopPage::OnKeyDown(UINT vk) {
  const bool moving = m_designMode && m_pSelected && Holds(m_pSelected);
  switch (vk) {
    case VK_LEFT:
      if (moving)
        NudgeSelected(-1, 0);
      else
        ShowPreviousDesktop();
      return;
    case VK_RIGHT:
      if (moving)
        NudgeSelected(1, 0);
      else
        ShowNextDesktop();
      return;
    case VK_UP:
      if (moving) NudgeSelected(0, -1);
      return;
    case VK_DOWN:
      if (moving) NudgeSelected(0, 1);
      return;
    case VK_RETURN:
      if (!m_designMode) m_pCore->ShowPageById(kMainMenuPage);
      return;
    default: return;
  }
}

void CmivoDesktopPage::OnChar(char16_t c) {
  if (m_designMode || c <= u'?') return;
  // Typing on the desktop starts a contact search with what was typed.
  m_pCore->ShowPageById(kPhonePage);
  CmivoPageWnd* top = m_pCore->TopPage();
  if (top && top != this && top->m_hWnd) top->PostMessage(WM_CHAR, c, 1);
}

void CmivoDesktopPage::OnSwipe() {
  // The press began a swipe, not a tap.
  m_pressActive = false;
  m_pPressed = nullptr;
  if (m_designMode && m_pSelected) return;
  const std::u16string& direction = SwipeText();
  if (direction == u"l")
    ShowPreviousDesktop();
  else if (direction == u"r")
    ShowNextDesktop();
}
