// CmivoAdvListBox: the finger-driven vertical list most pages show. A column
// of rounded cards of varying height, scrolled by dragging anywhere or by
// touching the 15·S scroll strip at the right edge, tapped on release, held
// for a context menu and driven by the cursor keys.
//
// The list can hold tens of thousands of rows: the tops of the items are kept
// as running sums (rebuilt lazily after a height change), so painting, hit
// testing and scrolling visit only the rows in view.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/mivo_class.h"
#include "platform/window/framework.h"
#include "ui/touch_scroller.h"

class CmivoAdvListBox;
class CmivoAdvListBoxItem;
class CmivoPageWnd;
class mivoAppearance;
class mivoSkinImage;

namespace window {
class JsonWriter;
}

// Decides the order of the sorted insert.
class CmivoAdvListBoxComparer {
 public:
  virtual ~CmivoAdvListBoxComparer() = default;
  // Negative: a goes before b.
  virtual int Compare(CmivoAdvListBoxItem* a, CmivoAdvListBoxItem* b) = 0;
};

class CmivoAdvListBox : public CWnd, public mivoClass, private mivoTouchScroller::Target {
 public:
  explicit CmivoAdvListBox(mivoCore* core);
  // Deletes the items it still holds.
  ~CmivoAdvListBox() override;

  // Creates the window: a visible child of `parent` at `rect`.
  BOOL CreateListBox(CWnd* parent, const RECT& rect);

  // ---- Items ----
  // The item's list box becomes this one; TotalHeight grows by its height.
  void AddItem(CmivoAdvListBoxItem* item);
  // Before the first item that compares greater (after all equal ones);
  // appended without a comparer.
  void InsertItemSorted(CmivoAdvListBoxItem* item);
  // Takes the item out (deleting it when asked); removing the selected item
  // clears the selection. An item removed with deletion while its own tap,
  // hold or key is running is deleted when that call returns.
  void RemoveItem(CmivoAdvListBoxItem* item, bool deleteItem);
  // Removes every item (deleting them when asked); ScrollTop 0, no selection.
  void Clear(bool deleteItems);
  CmivoAdvListBoxItem* GetItem(int index) const;
  int GetItemCount() const { return static_cast<int>(m_items.size()); }
  // The item's position, -1 when it is not in this list.
  int IndexOf(const CmivoAdvListBoxItem* item) const;
  void SetComparer(CmivoAdvListBoxComparer* comparer) { m_pComparer = comparer; }
  CmivoAdvListBoxComparer* GetComparer() const { return m_pComparer; }

  // ---- Selection ----
  CmivoAdvListBoxItem* GetSelectedItem() const { return m_pSelected; }
  bool IsSelected(const CmivoAdvListBoxItem* item) const { return item && item == m_pSelected; }
  // Selects an item of this list (null: none) and repaints; no scrolling.
  void SetSelectedItem(CmivoAdvListBoxItem* item);
  // The next / previous selectable item, wrapping around; then
  // EnsureSelectedVisible and a full repaint. Nothing in an empty list.
  void SelectNext();
  void SelectPrevious();
  // Scrolls so the selected item, and one item height below it, is in view.
  void EnsureSelectedVisible();
  // Scrolls the least that shows the whole item (its top, when it is taller
  // than the view): now, and again each time its height changes until the
  // finger next touches the list. A row opened at the bottom of the list is
  // brought up with what it opened, measured or not yet.
  void RevealItem(const CmivoAdvListBoxItem* item);

  // ---- Geometry ----
  int GetScrollTop() const { return m_scrollTop; }
  // Scrolls the contents to `top` (moving pixels, repainting the band that
  // comes into view); 0 while every item fits.
  void SetScrollTop(int top);
  int GetTotalHeight() const { return m_totalHeight; }
  // TotalHeight less the view height: the largest useful ScrollTop (may be negative).
  int ScrollRange() const;
  // The item at a window y (x is not tested); a y on the boundary of two
  // items hits the upper one. Null outside every item.
  CmivoAdvListBoxItem* HitTest(int y) const;
  // The item's rectangle in window coordinates, also when scrolled out of view.
  RECT GetItemRect(const CmivoAdvListBoxItem* item) const;
  // Paints the items, the empty area below them and the scroll strip, with
  // the client rectangle moved by (dx, dy) (off-screen page drawing).
  void DrawAll(HDC dc, int dx, int dy);

  // ---- The owner ----
  // The page the list belongs to (its parent when none is set).
  void SetOwnerPage(CmivoPageWnd* page) { m_pOwnerPage = page; }
  CWnd* GetOwnerWindow() const;
  mivoAppearance* GetAppearance() const;
  // The side button pictures ("listbox_item_expand", "..._collapse",
  // "..._help" for kinds 1 to 3), looked up once per list; null for kind 0.
  mivoSkinImage* GetSideButtonImage(int kind);
  // Invalidate: paint later.
  void Repaint();

  // ---- Called by items ----
  // Their height changed by `delta`: TotalHeight follows, ScrollTop is applied again.
  void OnItemHeightChanged(CmivoAdvListBoxItem* item, int delta);

  // ---- The state dump ----
  // Every row, in order, with its screen rectangle (also rows out of view).
  void DescribeRows(window::JsonWriter& json) const;

  // ---- Own virtual operations ----
  // A horizontal swipe that started at (x, y) (WM_MIVO_SWIPE); 0 by default.
  virtual LRESULT OnSwipe(int x, int y);
  // A tap-and-hold where there is no item: posts WM_CONTEXTMENU to the
  // parent page, wParam = this window, lParam = the point in list coordinates.
  virtual void OnTapAndHoldEmpty(int x, int y);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Width of the scroll strip at the right edge: 15·S.
  static int ScrollStripWidth();

 private:
  void OnLButtonDown(UINT flags, int x, int y);
  void OnMouseMove(UINT flags, int x, int y);
  void OnLButtonUp(UINT flags, int x, int y);
  void OnContextMenu(int screenX, int screenY);
  void OnKeyDown(UINT vk);
  void OnPaint();
  // The window's size changed: rows learn of a new width, ScrollTop stays in range.
  void OnSize();
  // Height of the client area.
  int ViewHeight() const;
  // The item tops as running sums (m_tops[i] is the top of item i in content
  // coordinates, m_tops[count] the total); rebuilt when stale.
  const std::vector<int>& Tops() const;
  // Index of the first item whose bottom lies at or below content y (an item
  // that ends exactly at y counts), the item count when none.
  int FirstItemBelow(int contentY) const;
  // What the touch scroller moves: ScrollTop, up to ScrollRange, in the client area.
  int GetScrollOffset() const override { return m_scrollTop; }
  int GetMaxScrollOffset() const override { return ScrollRange(); }
  void SetScrollOffset(int offset) override { SetScrollTop(offset); }
  RECT GetScrollView() const override;
  // Moves the tap regions of the items in view before or after a scroll.
  void NotifyScroll(int oldTop, int newTop);
  // Selection step shared by SelectNext (+1) and SelectPrevious (-1).
  void SelectStep(int step);
  // Item calls (tap, hold, key) are bracketed so that an item deleted from
  // inside one is deleted only after the outermost call returns.
  class DispatchScope;
  void DeleteItem(CmivoAdvListBoxItem* item);
  void InvalidateFromContentY(int contentY);

  std::vector<CmivoAdvListBoxItem*> m_items;    // in display order; owned when deleted through us
  CmivoAdvListBoxItem* m_pSelected = nullptr;   // drawn highlighted, receives keys; null: none
  const CmivoAdvListBoxItem* m_pRevealed = nullptr;  // kept in view as it grows (RevealItem); null: none
  int m_scrollTop = 0;                          // content pixels above the window top, >= 0
  int m_totalHeight = 0;                        // sum of all item heights
  CmivoAdvListBoxComparer* m_pComparer = nullptr;  // sorted insert; not owned
  mivoTouchScroller m_scroller;                 // press, drag and strip
  CmivoPageWnd* m_pOwnerPage = nullptr;         // null: the parent window
  mutable std::vector<int> m_tops;              // running item tops, see Tops()
  mutable bool m_topsValid = false;             // false after any height or order change
  int m_dispatchDepth = 0;                      // item calls running (tap, hold, key)
  std::vector<CmivoAdvListBoxItem*> m_deferredDeletes;  // removed during a call, deleted after it
  mivoSkinImage* m_sideButtonImages[3] = {};  // kinds 1..3, looked up on first use
  int m_layoutWidth = -1;                       // client width the rows were last told of
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);  // false once destroyed
};
