#include "ui/adv_list_box.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/core.h"
#include "core/messages.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/window/describe.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "ui/adv_list_box_item.h"
#include "ui/page_wnd.h"
#include "ui/scroll_indicator.h"

namespace {

// The list box's touch: a press turns into a drag once it has moved 5·S;
// each move then scrolls by the finger's step, without coasting; the strip
// is the rightmost 15·S and maps a touch over the view less the thumb's 5·S.
mivoTouchScroller::Options ListBoxTouch() {
  mivoTouchScroller::Options options;
  options.dragSlop = 5 * DisplayScale;
  options.stripWidth = CmivoAdvListBox::ScrollStripWidth();
  options.stripThumb = 5 * DisplayScale;
  options.follow = mivoTouchScroller::Follow::kStepwise;
  return options;
}

}  // namespace

// Brackets a call into an item: deletions asked for while it runs wait
// until the outermost call has returned.
class CmivoAdvListBox::DispatchScope {
 public:
  explicit DispatchScope(CmivoAdvListBox* box) : m_box(box), m_alive(box->m_alive) { ++box->m_dispatchDepth; }
  ~DispatchScope() {
    if (!*m_alive) return;  // the list went away inside the call
    if (--m_box->m_dispatchDepth > 0) return;
    std::vector<CmivoAdvListBoxItem*> doomed;
    doomed.swap(m_box->m_deferredDeletes);
    for (CmivoAdvListBoxItem* item : doomed) delete item;
  }
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;

 private:
  CmivoAdvListBox* m_box;
  std::shared_ptr<bool> m_alive;
};

CmivoAdvListBox::CmivoAdvListBox(mivoCore* core) : mivoClass(core), m_scroller(*this, ListBoxTouch()) {}

CmivoAdvListBox::~CmivoAdvListBox() {
  *m_alive = false;
  std::vector<CmivoAdvListBoxItem*> items;
  items.swap(m_items);
  m_pSelected = nullptr;
  m_pRevealed = nullptr;
  for (CmivoAdvListBoxItem* item : items) {
    item->AttachTo(nullptr);
    delete item;
  }
  for (CmivoAdvListBoxItem* item : m_deferredDeletes) delete item;
  m_deferredDeletes.clear();
}

BOOL CmivoAdvListBox::CreateListBox(CWnd* parent, const RECT& rect) {
  return Create(nullptr, u"", WS_CHILD | WS_VISIBLE, rect, parent, static_cast<UINT>(-1));
}

int CmivoAdvListBox::ScrollStripWidth() { return 15 * DisplayScale; }

// ---- Items ----------------------------------------------------------------------------------

void CmivoAdvListBox::AddItem(CmivoAdvListBoxItem* item) {
  if (!item) return;
  if (item->GetListBox() == this) return;
  if (CmivoAdvListBox* other = item->GetListBox()) other->RemoveItem(item, false);
  item->AttachTo(this);
  item->SetIndexHint(static_cast<int>(m_items.size()));
  const int top = m_totalHeight;
  m_totalHeight += item->GetHeight();
  m_items.push_back(item);
  if (m_topsValid) m_tops.push_back(m_totalHeight);
  if (m_hWnd) {
    SetScrollTop(m_scrollTop);
    InvalidateFromContentY(top);
  }
}

void CmivoAdvListBox::InsertItemSorted(CmivoAdvListBoxItem* item) {
  if (!item) return;
  if (!m_pComparer || m_items.empty()) {
    AddItem(item);
    return;
  }
  if (item->GetListBox() == this) return;
  if (CmivoAdvListBox* other = item->GetListBox()) other->RemoveItem(item, false);
  // After every item that compares equal: the first one the new item goes before.
  auto at = std::upper_bound(m_items.begin(), m_items.end(), item,
                             [this](CmivoAdvListBoxItem* a, CmivoAdvListBoxItem* b) {
                               return m_pComparer->Compare(a, b) < 0;
                             });
  const int index = static_cast<int>(at - m_items.begin());
  const int top = index < static_cast<int>(m_items.size()) ? Tops()[index] : m_totalHeight;
  item->AttachTo(this);
  item->SetIndexHint(index);
  m_items.insert(at, item);
  m_totalHeight += item->GetHeight();
  m_topsValid = false;
  if (m_hWnd) {
    SetScrollTop(m_scrollTop);
    InvalidateFromContentY(top);
  }
}

void CmivoAdvListBox::RemoveItem(CmivoAdvListBoxItem* item, bool deleteItem) {
  if (!item) return;
  const int index = IndexOf(item);
  if (index < 0) {
    if (deleteItem) DeleteItem(item);
    return;
  }
  const int top = Tops()[index];
  m_items.erase(m_items.begin() + index);
  m_totalHeight -= item->GetHeight();
  m_topsValid = false;
  if (m_pSelected == item) m_pSelected = nullptr;
  if (m_pRevealed == item) m_pRevealed = nullptr;
  item->AttachTo(nullptr);
  if (deleteItem) DeleteItem(item);
  if (m_hWnd) {
    // A shorter list may leave the view past its end: pull it back.
    const int range = std::max(0, ScrollRange());
    if (m_scrollTop > range) {
      m_scrollTop = range;
      Invalidate(FALSE);
    } else {
      SetScrollTop(m_scrollTop);
      InvalidateFromContentY(top);
    }
  }
}

void CmivoAdvListBox::Clear(bool deleteItems) {
  std::vector<CmivoAdvListBoxItem*> items;
  items.swap(m_items);
  m_pSelected = nullptr;
  m_pRevealed = nullptr;
  m_totalHeight = 0;
  m_scrollTop = 0;
  m_topsValid = false;
  for (CmivoAdvListBoxItem* item : items) {
    item->AttachTo(nullptr);
    if (deleteItems) DeleteItem(item);
  }
  if (m_hWnd) Invalidate(FALSE);
}

void CmivoAdvListBox::DeleteItem(CmivoAdvListBoxItem* item) {
  if (m_dispatchDepth > 0) {
    if (std::find(m_deferredDeletes.begin(), m_deferredDeletes.end(), item) == m_deferredDeletes.end()) {
      m_deferredDeletes.push_back(item);
    }
    return;
  }
  delete item;
}

CmivoAdvListBoxItem* CmivoAdvListBox::GetItem(int index) const {
  if (index < 0 || index >= static_cast<int>(m_items.size())) return nullptr;
  return m_items[static_cast<std::size_t>(index)];
}

int CmivoAdvListBox::IndexOf(const CmivoAdvListBoxItem* item) const {
  if (!item) return -1;
  const int hint = item->IndexHint();
  if (hint >= 0 && hint < static_cast<int>(m_items.size()) && m_items[static_cast<std::size_t>(hint)] == item) {
    return hint;
  }
  auto it = std::find(m_items.begin(), m_items.end(), item);
  if (it == m_items.end()) return -1;
  const int index = static_cast<int>(it - m_items.begin());
  const_cast<CmivoAdvListBoxItem*>(item)->SetIndexHint(index);
  return index;
}

// ---- Geometry ---------------------------------------------------------------------------------

const std::vector<int>& CmivoAdvListBox::Tops() const {
  if (!m_topsValid) {
    m_tops.resize(m_items.size() + 1);
    int y = 0;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
      m_tops[i] = y;
      m_items[i]->SetIndexHint(static_cast<int>(i));
      y += m_items[i]->GetHeight();
    }
    m_tops[m_items.size()] = y;
    m_topsValid = true;
  }
  return m_tops;
}

int CmivoAdvListBox::FirstItemBelow(int contentY) const {
  const std::vector<int>& tops = Tops();
  // The first item whose bottom (tops[i + 1]) is at or below contentY.
  auto it = std::lower_bound(tops.begin() + 1, tops.end(), contentY);
  return static_cast<int>(it - (tops.begin() + 1));
}

int CmivoAdvListBox::ViewHeight() const {
  if (!m_hWnd) return 0;
  RECT client{};
  GetClientRect(&client);
  return client.bottom - client.top;
}

int CmivoAdvListBox::ScrollRange() const { return m_totalHeight - ViewHeight(); }

CmivoAdvListBoxItem* CmivoAdvListBox::HitTest(int y) const {
  if (m_items.empty()) return nullptr;
  const int contentY = y + m_scrollTop;
  if (contentY < 0 || contentY > m_totalHeight) return nullptr;
  const int index = FirstItemBelow(contentY);
  return GetItem(index);
}

RECT CmivoAdvListBox::GetItemRect(const CmivoAdvListBoxItem* item) const {
  const int index = IndexOf(item);
  if (index < 0) return RECT{};
  RECT client{};
  if (m_hWnd) GetClientRect(&client);
  const int top = Tops()[static_cast<std::size_t>(index)] - m_scrollTop + client.top;
  return RECT{client.left, top, client.right - ScrollStripWidth(), top + item->GetHeight()};
}

void CmivoAdvListBox::InvalidateFromContentY(int contentY) {
  if (!m_hWnd) return;
  RECT client{};
  GetClientRect(&client);
  const int y = contentY - m_scrollTop;
  if (y >= client.bottom) {
    // Out of view below: only the strip's thumb may move.
    RECT strip{client.right - ScrollStripWidth(), client.top, client.right, client.bottom};
    InvalidateRect(&strip, FALSE);
    return;
  }
  RECT r{client.left, std::max<int>(client.top, y), client.right, client.bottom};
  InvalidateRect(&r, FALSE);
  RECT strip{client.right - ScrollStripWidth(), client.top, client.right, client.bottom};
  InvalidateRect(&strip, FALSE);
}

void CmivoAdvListBox::SetScrollTop(int top) {
  if (!m_hWnd) {
    m_scrollTop = std::max(0, top);
    return;
  }
  RECT client{};
  GetClientRect(&client);
  const int viewHeight = client.bottom - client.top;
  if (m_totalHeight <= viewHeight) {
    if (m_scrollTop != 0) {
      m_scrollTop = 0;
      Invalidate(FALSE);
    }
    return;
  }
  top = std::max(0, top);
  const int delta = m_scrollTop - top;
  if (delta == 0) return;
  const int oldTop = m_scrollTop;
  m_scrollTop = top;
  RECT strip{client.right - ScrollStripWidth(), client.top, client.right, client.bottom};
  InvalidateRect(&strip, FALSE);
  if (std::abs(delta) < viewHeight) NotifyScroll(oldTop, top);
  // Only the item column moves; the strip is drawn anew.
  RECT area{client.left, client.top, client.right - ScrollStripWidth(), client.bottom};
  ScrollWindowEx(m_hWnd, 0, delta, &area, &area, nullptr, nullptr, SW_INVALIDATE);
  UpdateWindow();
}

void CmivoAdvListBox::NotifyScroll(int oldTop, int newTop) {
  // Items that were or become visible: only they hold tap regions that can
  // be on screen; the others register theirs again when they are drawn.
  const int delta = oldTop - newTop;
  const int from = std::min(oldTop, newTop);
  const int to = std::max(oldTop, newTop) + ViewHeight();
  const std::vector<int>& tops = Tops();
  for (int i = FirstItemBelow(from + 1); i < static_cast<int>(m_items.size()) && tops[i] < to; ++i) {
    m_items[static_cast<std::size_t>(i)]->OnScroll(delta);
  }
}

RECT CmivoAdvListBox::GetScrollView() const {
  RECT client{};
  if (m_hWnd) GetClientRect(&client);
  return client;
}

// ---- Selection -----------------------------------------------------------------------------------

void CmivoAdvListBox::SetSelectedItem(CmivoAdvListBoxItem* item) {
  if (item && IndexOf(item) < 0) return;
  if (item == m_pSelected) return;
  m_pSelected = item;
  Repaint();
}

void CmivoAdvListBox::SelectNext() { SelectStep(+1); }
void CmivoAdvListBox::SelectPrevious() { SelectStep(-1); }

void CmivoAdvListBox::SelectStep(int step) {
  const int count = static_cast<int>(m_items.size());
  if (count == 0) return;
  int index = IndexOf(m_pSelected);
  if (index < 0) index = step > 0 ? count - 1 : 0;
  CmivoAdvListBoxItem* found = nullptr;
  for (int k = 0; k < count; ++k) {
    index = (index + step + count) % count;
    CmivoAdvListBoxItem* item = m_items[static_cast<std::size_t>(index)];
    if (item != m_pSelected && item->IsSelectable()) {
      found = item;
      break;
    }
  }
  if (!found) {
    // Nothing else to go to: the item reached stays, unless it cannot be
    // selected at all (a list of summary lines keeps no selection).
    CmivoAdvListBoxItem* reached = m_items[static_cast<std::size_t>(index)];
    if (!reached->IsSelectable()) return;
    found = reached;
  }
  m_pSelected = found;
  EnsureSelectedVisible();
  Repaint();
}

void CmivoAdvListBox::EnsureSelectedVisible() {
  const int index = IndexOf(m_pSelected);
  if (index < 0) return;
  const int top = Tops()[static_cast<std::size_t>(index)];
  const int height = m_pSelected->GetHeight();
  const int bottom = top + height;
  const int viewHeight = ViewHeight();
  if (top <= m_scrollTop) {
    SetScrollTop(top);
  } else if (bottom + height > m_scrollTop + viewHeight) {
    // The item and one more item height below it, but never past the end.
    const int wanted = std::min(bottom + height - viewHeight, ScrollRange());
    if (wanted >= 0) SetScrollTop(wanted);
  }
}

void CmivoAdvListBox::RevealItem(const CmivoAdvListBoxItem* item) {
  const int index = IndexOf(item);
  if (index < 0) return;
  m_pRevealed = item;
  const int top = Tops()[static_cast<std::size_t>(index)];
  const int bottom = top + item->GetHeight();
  const int viewHeight = ViewHeight();
  if (top < m_scrollTop || bottom - top > viewHeight) {
    SetScrollTop(top);
  } else if (bottom > m_scrollTop + viewHeight) {
    SetScrollTop(std::min(bottom - viewHeight, std::max(0, ScrollRange())));
  }
}

// ---- Owner and painting ---------------------------------------------------------------------------

CWnd* CmivoAdvListBox::GetOwnerWindow() const {
  if (m_pOwnerPage) return m_pOwnerPage;
  return GetParent();
}

mivoAppearance* CmivoAdvListBox::GetAppearance() const { return m_pCore->GetAppearance(); }

mivoSkinImage* CmivoAdvListBox::GetSideButtonImage(int kind) {
  if (kind < 1 || kind > 3) return nullptr;
  mivoSkinImage*& image = m_sideButtonImages[kind - 1];
  if (!image) {
    static const char16_t* const kNames[3] = {u"listbox_item_expand", u"listbox_item_collapse",
                                              u"listbox_item_help"};
    if (mivoAppearance* look = GetAppearance()) image = look->GetSkinImage(kNames[kind - 1]);
  }
  return image;
}

void CmivoAdvListBox::Repaint() {
  if (m_hWnd) Invalidate(FALSE);
}

void CmivoAdvListBox::OnItemHeightChanged(CmivoAdvListBoxItem* item, int delta) {
  m_totalHeight += delta;
  m_topsValid = false;
  if (!m_hWnd) return;
  SetScrollTop(m_scrollTop);
  if (item == m_pRevealed) RevealItem(item);
  // Everything below the item moved; height changes are rare (expanding,
  // measuring a title), so the whole list is painted again. A change made
  // while painting leads to one more paint with the new layout.
  Invalidate(FALSE);
}

void CmivoAdvListBox::DrawAll(HDC dc, int dx, int dy) {
  mivoAppearance* look = GetAppearance();
  const int s = DisplayScale;
  RECT client{};
  if (m_hWnd) GetClientRect(&client);
  OffsetRect(&client, dx, dy);
  const int L = client.left, T = client.top, R = client.right, B = client.bottom;
  const int itemsRight = R - ScrollStripWidth();

  // Start at the first item that reaches into the clip box.
  RECT clip{};
  if (GetClipBox(dc, &clip) == ERROR_REGION || IsRectEmpty(&clip)) clip = client;
  const int stopY = std::min(B, clip.bottom);
  const int origin = T - m_scrollTop;  // y of content 0
  int index = m_items.empty() ? 0 : FirstItemBelow(std::max(0, clip.top - origin) + 1);
  const std::vector<int>& tops = Tops();
  int y = origin + (index < static_cast<int>(m_items.size()) ? tops[static_cast<std::size_t>(index)] : m_totalHeight);
  for (; index < static_cast<int>(m_items.size()); ++index) {
    CmivoAdvListBoxItem* item = m_items[static_cast<std::size_t>(index)];
    RECT r{L, y, itemsRight, y + item->GetHeight()};
    if (RectVisible(dc, &r)) {
      y += item->Draw(this, dc, &r);
      if (y > stopY) break;
    } else {
      y += item->GetHeight();
      if (y > stopY) break;
    }
  }
  FillBackground(dc, RECT{L, std::max(y, T), itemsRight, B}, look);

  // The scroll strip: a track line in colour 8 and a short thumb in the
  // ninth value, only the band between two background fills left showing.
  const RECT strip{itemsRight, T, R, B};
  if (!RectVisible(dc, &strip)) return;
  FillBackground(dc, strip, look);
  const COLORREF track = look ? look->ColorTheme().GetColor(8) : RGB(60, 60, 60);
  const COLORREF thumbColor = look ? look->ColorTheme().GetColor(9) : RGB(150, 150, 150);
  const int x = R - ScrollStripWidth() / 2;
  const int range = m_totalHeight - (B - T);
  if (range < 1) return;  // everything fits: the strip stays plain background
  scroll_indicator::DrawVerticalLine(dc, x, B, T, 3 * s, track);
  // The thumb runs over the part of the list that shows, so that at the end
  // of the list it is not cut by what covers the list's last pixels; the
  // wide pen's round ends reach up to 2·S past the line's ends, so the line
  // keeps that far from both ends of the track.
  const int reach = 2 * s;
  const int shown = std::min(B - T, scroll_indicator::ShownClientBottom(*this)) - 2 * reach;
  const long long pos = std::clamp(m_scrollTop, 0, range);
  const int thumbTop =
      T + reach + static_cast<int>(static_cast<long long>(std::max(0, shown - 5 * s)) * pos / range);
  scroll_indicator::DrawVerticalLine(dc, x, thumbTop, thumbTop + 5 * s, 3 * s, thumbColor);
  FillBackground(dc, RECT{R - 15 * s, T, R - 8 * s, B}, look);
  FillBackground(dc, RECT{R - 5 * s, T, R, B}, look);
}

void CmivoAdvListBox::OnSize() {
  RECT client{};
  GetClientRect(&client);
  const int width = client.right - client.left;
  if (m_layoutWidth >= 0 && width != m_layoutWidth) {
    for (CmivoAdvListBoxItem* item : m_items) item->OnListWidthChanged();
  }
  m_layoutWidth = width;
  const int range = std::max(0, ScrollRange());
  if (m_scrollTop > range) m_scrollTop = range;
  Invalidate(FALSE);
}

void CmivoAdvListBox::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  if (dc) DrawAll(dc, 0, 0);
  EndPaint(m_hWnd, &ps);
}

// ---- Input -------------------------------------------------------------------------------------

void CmivoAdvListBox::OnLButtonDown(UINT flags, int x, int y) {
  // The finger takes over the scrolling.
  m_pRevealed = nullptr;
  m_scroller.Press(x, y, GetTickCount());
  // The finger may leave the list while it drags: the list keeps following it.
  SetCapture();
}

void CmivoAdvListBox::OnMouseMove(UINT flags, int x, int y) {
  if (flags & MK_LBUTTON) m_scroller.Move(x, y, GetTickCount());
}

void CmivoAdvListBox::OnLButtonUp(UINT flags, int x, int y) {
  const mivoTouchScroller::Gesture gesture = m_scroller.Release(x, y, GetTickCount());
  if (GetCapture() == m_hWnd) ReleaseCapture();
  if (gesture != mivoTouchScroller::Gesture::kTap) return;
  if (CmivoAdvListBoxItem* item = HitTest(y)) {
    DispatchScope scope(this);
    item->OnTap(flags, x, y);
  }
}

void CmivoAdvListBox::OnContextMenu(int screenX, int screenY) {
  m_scroller.Hold();
  if (GetCapture() == m_hWnd) ReleaseCapture();
  CWnd* owner = GetOwnerWindow();
  if (owner && m_pCore->TopPage() && static_cast<CWnd*>(m_pCore->TopPage()) != owner) return;
  POINT pt{screenX, screenY};
  ScreenToClient(&pt);
  if (CmivoAdvListBoxItem* item = HitTest(pt.y)) {
    DispatchScope scope(this);
    item->OnTapAndHold(pt.x, pt.y);
    return;
  }
  OnTapAndHoldEmpty(pt.x, pt.y);
}

void CmivoAdvListBox::OnKeyDown(UINT vk) {
  if (m_items.empty()) return;
  if (m_pSelected) {
    DispatchScope scope(this);
    m_pSelected->OnKey(vk);
    return;
  }
  if (vk == VK_UP) SelectPrevious();
  if (vk == VK_DOWN) SelectNext();
}

LRESULT CmivoAdvListBox::OnSwipe(int x, int y) { return 0; }

void CmivoAdvListBox::OnTapAndHoldEmpty(int x, int y) {
  CWnd* owner = GetOwnerWindow();
  if (!owner || !owner->m_hWnd) return;
  PostMessageW(owner->m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd),
               MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

LRESULT CmivoAdvListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // DrawAll covers every pixel
    case WM_SIZE:
      OnSize();
      return CWnd::WindowProc(message, wParam, lParam);
    case WM_LBUTTONDOWN:
      OnLButtonDown(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_CAPTURECHANGED:
      // Someone else took the stylus: this press is over.
      if (reinterpret_cast<HWND>(lParam) != m_hWnd) m_scroller.Cancel();
      return 0;
    case WM_MIVO_SWIPE:
      // The page consumed the release: this press is over.
      m_scroller.Cancel();
      return OnSwipe(static_cast<int>(wParam), static_cast<int>(lParam));
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

// ---- The state dump ---------------------------------------------------------------------------------

void CmivoAdvListBox::DescribeRows(window::JsonWriter& json) const {
  json.BeginArray();
  RECT client{};
  POINT origin{0, 0};
  if (m_hWnd) {
    GetClientRect(&client);
    ClientToScreen(&origin);
  }
  const std::vector<int>& tops = Tops();
  const int right = client.right - ScrollStripWidth();
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    const CmivoAdvListBoxItem* item = m_items[i];
    mivoRowText text;
    item->Describe(&text);
    const int top = origin.y + client.top + tops[i] - m_scrollTop;
    json.BeginObject();
    json.Key("text");
    json.String(text.text);
    json.Key("sub");
    json.String(text.sub);
    json.Key("rect");
    json.Rect(origin.x + client.left, top, origin.x + right, top + item->GetHeight());
    json.Key("selected");
    json.Bool(item == m_pSelected);
    json.Key("expanded");
    json.Bool(item->IsExpandedRow());
    if (!text.help.empty()) {
      json.Key("help");
      json.String(text.help);
    }
    json.EndObject();
  }
  json.EndArray();
}
