#include "ui/list_ctrl.h"

#include <algorithm>

#include "core/core.h"
#include "core/messages.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/describe.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/scroll_indicator.h"

namespace {

// The grid's touch: a press turns into a drag once it has moved more than 3
// pixels; the content keeps the finger's distance from where the gesture
// started and coasts after a flick; the strip takes touches right of client
// right − 15·S (its outer 15·S − 1 pixels) and maps them over the view less
// the ball's 12·S.
mivoTouchScroller::Options GridTouch() {
  mivoTouchScroller::Options options;
  options.dragSlop = 4;
  options.stripWidth = 15 * DisplayScale - 1;
  options.stripThumb = 12 * DisplayScale;
  options.follow = mivoTouchScroller::Follow::kFromGestureStart;
  options.coasting = true;
  return options;
}

}  // namespace

// Brackets a call into the page: releases of elements asked for while it
// runs wait until the outermost call has returned.
class CmivoListCtrl::DispatchScope {
 public:
  explicit DispatchScope(CmivoListCtrl* list) : m_list(list), m_alive(list->m_alive) { ++list->m_dispatchDepth; }
  ~DispatchScope() {
    if (!*m_alive) return;
    if (--m_list->m_dispatchDepth > 0) return;
    std::vector<mivoListElement> released;
    released.swap(m_list->m_deferredRemovals);
    for (const mivoListElement& e : released) m_list->OnItemRemoved(e);
  }
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;

 private:
  CmivoListCtrl* m_list;
  std::shared_ptr<bool> m_alive;
};

CmivoListCtrl::CmivoListCtrl(mivoCore* core)
    : mivoClass(core), CellHeight(48 * DisplayScale), m_scroller(*this, GridTouch()) {}

CmivoListCtrl::~CmivoListCtrl() {
  *m_alive = false;
  m_scroller.StopCoasting();
  DropCachedBitmaps();
  if (m_watermarkFont) DeleteObject(m_watermarkFont);
}

BOOL CmivoListCtrl::CreateListCtrl(CWnd* parent, const RECT& rect, DWORD style, UINT id) {
  return Create(nullptr, u"", style, rect, parent, id);
}

mivoAppearance* CmivoListCtrl::Look() const { return m_pCore->GetAppearance(); }

// ---- Elements -----------------------------------------------------------------------------------

void CmivoListCtrl::AddItem(const mivoListElement& element) {
  if (!m_pComparer) {
    m_elements.push_back(element);
  } else {
    auto at = std::upper_bound(m_elements.begin(), m_elements.end(), element,
                               [this](const mivoListElement& a, const mivoListElement& b) {
                                 return m_pComparer->Compare(a, b) < 0;
                               });
    m_elements.insert(at, element);
  }
  if (m_hWnd) Invalidate(FALSE);
}

void CmivoListCtrl::Clear() {
  m_scrollTop = 0;
  m_cursor = -1;
  std::vector<mivoListElement> elements;
  elements.swap(m_elements);
  if (m_dispatchDepth > 0) {
    m_deferredRemovals.insert(m_deferredRemovals.end(), elements.begin(), elements.end());
  } else {
    for (const mivoListElement& e : elements) OnItemRemoved(e);
  }
  if (m_hWnd) Invalidate(FALSE);
}

const mivoListElement* CmivoListCtrl::GetElement(int index) const {
  if (index < 0 || index >= static_cast<int>(m_elements.size())) return nullptr;
  return &m_elements[static_cast<std::size_t>(index)];
}

// ---- View ------------------------------------------------------------------------------------------

void CmivoListCtrl::SetView(int columns, int cellHeight, bool details) {
  Columns = std::max(1, columns);
  CellHeight = std::max(1, cellHeight);
  m_details = details;
  DropCachedBitmaps();
  m_scrollTop = 0;
  if (m_hWnd) Invalidate(FALSE);
}

int CmivoListCtrl::ViewHeight() const {
  if (!m_hWnd) return 0;
  RECT client{};
  GetClientRect(&client);
  return client.bottom - client.top;
}

RECT CmivoListCtrl::GetScrollView() const {
  RECT client{};
  if (m_hWnd) GetClientRect(&client);
  return client;
}

int CmivoListCtrl::CellWidth() const {
  RECT client{};
  if (m_hWnd) GetClientRect(&client);
  // The cells share the width left of the scroll strip.
  const int usable = client.right - 15 * DisplayScale - 1;
  return std::max(1, usable / std::max(1, Columns));
}

int CmivoListCtrl::ContentHeight() const {
  const int count = static_cast<int>(m_elements.size());
  if (count == 0) return 0;
  const int columns = std::max(1, Columns);
  const int rows = (count - 1) / columns + 1;
  return rows * CellHeight;
}

int CmivoListCtrl::MaxScrollTop() const { return ContentHeight() + 30 * DisplayScale - ViewHeight(); }

int CmivoListCtrl::GetMaxScrollOffset() const { return MaxScrollTop(); }

void CmivoListCtrl::SetScrollTop(int top) {
  if (!m_hWnd) return;
  if (ContentHeight() <= ViewHeight()) return;
  const int delta = m_scrollTop - top;
  if (delta == 0) return;
  m_scrollTop = top;
  RECT client{};
  GetClientRect(&client);
  RECT strip{client.right - 15 * DisplayScale, client.top, client.right, client.bottom};
  InvalidateRect(&strip, FALSE);
  RECT area{client.left, client.top, client.right - 15 * DisplayScale, client.bottom};
  ScrollWindowEx(m_hWnd, 0, delta, &area, &area, nullptr, nullptr, SW_INVALIDATE);
  UpdateWindow();
}

void CmivoListCtrl::ScrollToTop() {
  if (m_scrollTop == 0) return;
  m_scrollTop = 0;
  if (m_hWnd) Invalidate(FALSE);
}

int CmivoListCtrl::HitTest(int x, int y) const {
  const int columns = std::max(1, Columns);
  const int width = CellWidth();
  if (x < 0 || y < 0 || x >= width * columns || CellHeight <= 0) return -1;
  const int row = (y + m_scrollTop % CellHeight) / CellHeight + m_scrollTop / CellHeight;
  const int column = x / width;
  const long long index = static_cast<long long>(row) * columns + column;
  return index < static_cast<long long>(m_elements.size()) ? static_cast<int>(index) : -1;
}

RECT CmivoListCtrl::GetCellRect(int index) const {
  const int columns = std::max(1, Columns);
  const int width = CellWidth();
  const int row = index / columns;
  const int column = index % columns;
  const int top = row * CellHeight - m_scrollTop;
  return RECT{column * width, top, (column + 1) * width, top + CellHeight};
}

// ---- Cursor -----------------------------------------------------------------------------------------

void CmivoListCtrl::SetCursor(int index) {
  if (index < -1 || index >= static_cast<int>(m_elements.size())) return;
  m_cursor = index;
  if (m_hWnd) Invalidate(FALSE);
}

void CmivoListCtrl::EnsureCursorVisible() {
  if (m_cursor < 0) return;
  const int rowTop = m_cursor / std::max(1, Columns) * CellHeight;
  const int rowBottom = rowTop + CellHeight;
  if (rowTop < m_scrollTop) {
    SetScrollTop(rowTop);
  } else if (rowBottom > m_scrollTop + ViewHeight()) {
    SetScrollTop(rowBottom - ViewHeight());
  }
}

// ---- Painting ------------------------------------------------------------------------------------------

void CmivoListCtrl::DropCachedBitmaps() { m_buffer.Drop(); }

HFONT CmivoListCtrl::WatermarkFont() {
  const int height = std::max(1, CellHeight - 5 * DisplayScale);
  if (!m_watermarkFont || m_watermarkHeight != height) {
    if (m_watermarkFont) DeleteObject(m_watermarkFont);
    m_watermarkFont = CreateFontW(height, 0, 0, 0, 800, FALSE, FALSE, FALSE, 0, 0, 0, 5, 0x20, u"Arial");
    m_watermarkHeight = height;
  }
  return m_watermarkFont;
}

void CmivoListCtrl::DrawCellBackground(HDC dc, const RECT& rect, bool cursor) {
  mivoAppearance* look = Look();
  FillBackground(dc, rect, look);
  if (!look) return;
  HPEN pen = CreatePen(PS_SOLID, 1, look->ColorTheme().GetColor(cursor ? 6 : 4));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, cursor ? look->ThemeBrush7 : look->ThemeBrush5);
  RoundRect(dc, rect.left + 3, rect.top + 3, rect.right - 3, rect.bottom - 3, 10, 10);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void CmivoListCtrl::DrawItems(HDC dc, const RECT& clip, int dx, int dy) {
  mivoAppearance* look = Look();
  const int s = DisplayScale;
  RECT client{};
  if (m_hWnd) GetClientRect(&client);
  RECT where = client;
  OffsetRect(&where, dx, dy);
  const int count = static_cast<int>(m_elements.size());

  if (count == 0) {
    RECT area = clip;
    OffsetRect(&area, dx, dy);
    FillBackground(dc, area, look);
    if (!look) return;
    HGDIOBJ oldFont = SelectObject(dc, look->SmallFont);
    const COLORREF oldColor = SetTextColor(dc, look->TextColor);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT r = where;
    // DT_VCENTER needs DT_SINGLELINE: the text starts at the top.
    DrawTextW(dc, m_emptyText.c_str(), static_cast<int>(m_emptyText.size()), &r, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    SelectObject(dc, oldFont);
    return;
  }

  const int columns = std::max(1, Columns);
  const int height = std::max(1, CellHeight);
  const int width = CellWidth();
  const int viewHeight = client.bottom - client.top;
  const int firstRow = m_scrollTop / height;
  const int offset = m_scrollTop % height;
  const int visible = (viewHeight / height + 2) * columns;
  for (int i = 0; i < visible; ++i) {
    const int index = firstRow * columns + i;
    const int column = i % columns;
    const int row = i / columns;
    RECT cell{width * column + where.left, height * row - offset + where.top, width * (column + 1) + where.left,
              height * row - offset + where.top + height};
    if (!RectVisible(dc, &cell)) continue;
    if (index >= count) {
      FillBackground(dc, cell, look);
      continue;
    }
    const mivoListElement element = m_elements[static_cast<std::size_t>(index)];
    DrawCellBackground(dc, cell, index == m_cursor);
    RECT inner{cell.left + 5 * s, cell.top + 5 * s, cell.right - 5 * s, cell.bottom - 5 * s};
    if (m_details && look) {
      // The element's number, large and faint, behind the row.
      HGDIOBJ oldFont = SelectObject(dc, WatermarkFont());
      SetTextColor(dc, look->WatermarkColor());
      const int oldMode = SetBkMode(dc, TRANSPARENT);
      RECT r{inner.left, inner.top, inner.right - 5 * s, inner.bottom};
      const std::u16string number = text::Format(u"%d", index + 1);
      DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &r, DT_RIGHT | DT_VCENTER);
      // The row's own content ends 5·S before the number, so a long title
      // is fitted to the room left rather than run into it.
      SIZE extent{};
      GetTextExtentPoint32W(dc, number.c_str(), static_cast<int>(number.size()), &extent);
      inner.right = std::max(inner.left, r.right - extent.cx - 5 * s);
      SetBkMode(dc, oldMode);
      SelectObject(dc, oldFont);
      SetTextColor(dc, look->TextColor);
    }
    DrawItem(index, element, dc, inner);
  }

  // Between the last column and the strip, and the strip itself.
  FillBackground(dc, RECT{where.left + width * columns, where.top, where.right - 15 * s - 3, where.bottom}, look);
  FillBackground(dc, RECT{where.right - 15 * s - 3, where.top, where.right, where.bottom}, look);

  const int contentHeight = ContentHeight();
  if (contentHeight <= viewHeight) return;
  const int contentBottom = contentHeight - m_scrollTop + where.top;
  if (contentBottom < where.bottom) {
    FillBackground(dc, RECT{where.left, contentBottom, where.right - 15 * s - 3, where.bottom}, look);
  }
  const int maxTop = MaxScrollTop();
  const double fraction = maxTop > 0 ? std::min(1.0, static_cast<double>(m_scrollTop) / maxTop) : 0.0;
  if (look) {
    scroll_indicator::DrawVerticalLine(dc, where.right - 9 * s, where.top, where.bottom, 3,
                                       look->ColorTheme().GetColor(8));
    if (!m_imagesLooked) {
      m_imagesLooked = true;
      m_ballImage = look->GetSkinImage(u"listbox_scroll_bar_ball");
      // Looked up here for the list's users, so a skin author sees them together.
      look->GetSkinImage(u"listbox_end");
      look->GetSkinImage(u"listbox_end_horizontal");
      look->GetSkinImage(u"listbox_small_contact_list_end_horizontal");
    }
    if (m_ballImage) {
      // The ball runs over the part of the list that shows: at the end of
      // the list it sits whole above what covers the list's last pixels.
      const int shown = std::min(viewHeight, scroll_indicator::ShownClientBottom(*this));
      const int ballHeight = look->GetSkinImageSize(m_ballImage).cy;
      const int ballTop = where.top + static_cast<int>(fraction * std::max(0, shown - ballHeight));
      const RECT ball{where.right - 14 * s, ballTop, where.right - 2 * s, ballTop + 14 * s};
      look->DrawSkinImage(m_ballImage, dc, ball, 0, 1);
    }
  }
}

void CmivoListCtrl::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  if (!dc) {
    EndPaint(m_hWnd, &ps);
    return;
  }
  const RECT clip = ps.rcPaint;
  HDC buffer = nullptr;
  if (m_alwaysBuffered || m_bufferNextPaint) {
    RECT client{};
    GetClientRect(&client);
    buffer = m_buffer.Get(dc, SIZE{client.right, client.bottom});
  }
  if (buffer) {
    HRGN region = CreateRectRgnIndirect(&clip);
    SelectClipRgn(buffer, region);
    DeleteObject(region);
    DrawItems(buffer, clip, 0, 0);
    SelectClipRgn(buffer, nullptr);
    BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, buffer, clip.left, clip.top,
           SRCCOPY);
  } else {
    DrawItems(dc, clip, 0, 0);
  }
  m_bufferNextPaint = false;
  EndPaint(m_hWnd, &ps);
}

// ---- Touch ----------------------------------------------------------------------------------------------

void CmivoListCtrl::OnLButtonDown(int x, int y) {
  m_scroller.Press(x, y, GetTickCount());
  // The finger may leave the list while it drags: the list keeps following it.
  SetCapture();
}

void CmivoListCtrl::OnMouseMove(UINT flags, int x, int y) {
  if (flags & MK_LBUTTON) m_scroller.Move(x, y, GetTickCount());
}

void CmivoListCtrl::OnLButtonUp(int x, int y) {
  const mivoTouchScroller::Gesture gesture = m_scroller.Release(x, y, GetTickCount());
  if (GetCapture() == m_hWnd) ReleaseCapture();
  switch (gesture) {
    case mivoTouchScroller::Gesture::kTap: {
      const int index = HitTest(x, y);
      if (index < 0) return;
      const mivoListElement& element = m_elements[static_cast<std::size_t>(index)];
      RECT client{};
      GetClientRect(&client);
      if (Columns == 1 && element.HasSideZone && x > client.right - 20 * DisplayScale) return;
      TapItem(index);
      return;
    }
    case mivoTouchScroller::Gesture::kFlick: {
      auto alive = m_alive;
      Coast();
      if (!*alive) return;
      [[fallthrough]];
    }
    case mivoTouchScroller::Gesture::kDrag:
      if (m_hWnd) Invalidate(FALSE);
      return;
    default:
      return;
  }
}

void CmivoListCtrl::Coast() {
  auto alive = m_alive;
  while (m_scroller.CoastStep()) {
    // One frame shown per step, and one pending message handled, so a touch
    // can stop the coasting.
    window::PresentNow();
    mivoCore::PumpOneMessage();
    if (!*alive) return;
    if (!m_hWnd) {
      m_scroller.StopCoasting();
      return;
    }
  }
}

void CmivoListCtrl::OnContextMenu(int screenX, int screenY) {
  m_scroller.Hold();
  if (GetCapture() == m_hWnd) ReleaseCapture();
  POINT pt{screenX, screenY};
  ScreenToClient(&pt);
  const int index = HitTest(pt.x, pt.y);
  if (index >= 0) HoldItem(index);
}

void CmivoListCtrl::TapItem(int index) {
  if (index < 0 || index >= static_cast<int>(m_elements.size())) return;
  const mivoListElement element = m_elements[static_cast<std::size_t>(index)];
  DispatchScope scope(this);
  OnItemTap(index, element);
}

void CmivoListCtrl::HoldItem(int index) {
  if (index < 0 || index >= static_cast<int>(m_elements.size())) return;
  const mivoListElement element = m_elements[static_cast<std::size_t>(index)];
  DispatchScope scope(this);
  OnItemHold(index, element);
}

// ---- Keys -------------------------------------------------------------------------------------------------

void CmivoListCtrl::OnKeyDown(UINT vk) {
  const int count = static_cast<int>(m_elements.size());
  if (count == 0) return;  // nothing to move over, nothing to tap
  const int columns = std::max(1, Columns);
  int cursor = m_cursor;
  switch (vk) {
    case VK_RIGHT:
      if (columns < 2) return;
      cursor = std::min(cursor + 1, count - 1);
      break;
    case VK_DOWN:
      cursor = cursor < 0 ? 0 : std::min(cursor + columns, count - 1);
      break;
    case VK_LEFT:
      if (columns < 2) return;
      cursor = std::max(cursor - 1, 0);
      break;
    case VK_UP:
      cursor = cursor < 0 ? count - 1 : std::max(cursor - columns, 0);
      break;
    case VK_RETURN:
      if (m_cursor >= 0 && m_cursor < count) TapItem(m_cursor);
      return;
    default:
      return;
  }
  m_cursor = cursor;
  EnsureCursorVisible();
  RequestBufferedPaint();
  Invalidate(FALSE);
}

// ---- Messages -------------------------------------------------------------------------------------------

LRESULT CmivoListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // every pixel is painted
    case WM_TIMER:
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_SHOWWINDOW:
    case WM_KILLFOCUS:
      m_scroller.Cancel();
      m_scroller.StopCoasting();
      return CWnd::WindowProc(message, wParam, lParam);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != m_hWnd) m_scroller.Cancel();
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_MIVO_RELAYOUT:
      DropCachedBitmaps();
      return 0;
    case WM_MIVO_SWIPE:
      // The page took the release of this press.
      m_scroller.Cancel();
      return 0;
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- The state dump ---------------------------------------------------------------------------------------

void CmivoListCtrl::DescribeCells(window::JsonWriter& json) const {
  json.BeginArray();
  POINT origin{0, 0};
  if (m_hWnd) ClientToScreen(&origin);
  for (int i = 0; i < static_cast<int>(m_elements.size()); ++i) {
    const RECT r = GetCellRect(i);
    json.BeginObject();
    json.Key("text");
    json.String(DescribeItem(i, m_elements[static_cast<std::size_t>(i)]));
    json.Key("rect");
    json.Rect(r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y);
    if (i == m_cursor) {
      json.Key("cursor");
      json.Bool(true);
    }
    json.EndObject();
  }
  json.EndArray();
}
