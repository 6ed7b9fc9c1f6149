// CmivoListCtrl: the grid list. Equal cells in `Columns` columns of
// `CellHeight` pixels, shown as icon tiles ("3x3 view") or as one column of
// rows ("Details view"); scrolled by dragging with kinetic coasting, by the
// scroll strip with its ball, or by the cursor keys. The elements are small
// value records whose meaning and drawing belong to the page that owns the
// list; the list only lays them out and tells the page what was touched.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/mivo_class.h"
#include "platform/window/framework.h"
#include "ui/back_buffer.h"
#include "ui/touch_scroller.h"

class mivoAppearance;
class mivoSkinImage;

namespace window {
class JsonWriter;
}

// One element of the grid (a value, copied when handed to the page).
struct mivoListElement {
  DWORD_PTR Id = 0;          // chosen by the page (pointer-sized: pages may keep a pointer here)
  DWORD_PTR Data = 0;        // chosen by the page (pointer-sized likewise)
  bool HasSideZone = false;  // Details view: a tap in the row's rightmost 20·S is ignored
  std::u16string Text;       // chosen by the page
  std::u16string SubText;    // chosen by the page
};

class CmivoListCtrlComparer {
 public:
  virtual ~CmivoListCtrlComparer() = default;
  // Negative: a goes first.
  virtual int Compare(const mivoListElement& a, const mivoListElement& b) = 0;
};

class CmivoListCtrl : public CWnd, public mivoClass, private mivoTouchScroller::Target {
 public:
  explicit CmivoListCtrl(mivoCore* core);
  ~CmivoListCtrl() override;

  // Creates the window as a child of `parent` (style and id as given).
  BOOL CreateListCtrl(CWnd* parent, const RECT& rect, DWORD style = WS_CHILD | WS_VISIBLE,
                      UINT id = static_cast<UINT>(-1));

  // ---- Elements ----
  // Appended, or with a comparer before the first element that compares
  // greater (after all equal ones).
  void AddItem(const mivoListElement& element);
  // ScrollTop 0, OnItemRemoved for every element in order, then empty. The
  // releases wait while a tap, hold or key of this list is being handled,
  // so the element handed to that call stays valid until it returns.
  void Clear();
  int GetItemCount() const { return static_cast<int>(m_elements.size()); }
  // Null when out of range.
  const mivoListElement* GetElement(int index) const;
  void SetComparer(CmivoListCtrlComparer* comparer) { m_pComparer = comparer; }

  // ---- View ----
  // Pages set Columns and CellHeight, then tell the list the view: Details
  // or not (dropping the cached bitmaps); ScrollTop returns to 0.
  void SetView(int columns, int cellHeight, bool details);
  bool IsDetailsView() const { return m_details; }
  // Width of one cell: the width left of the scroll strip divided by Columns.
  int CellWidth() const;
  // Rows of cells times CellHeight.
  int ContentHeight() const;
  // Content height + 30·S − view height.
  int MaxScrollTop() const;
  int GetScrollTop() const { return m_scrollTop; }
  // Moves the contents (pixels moved, the uncovered band painted at once);
  // only when the content is taller than the view.
  void SetScrollTop(int top);
  // Back to the first row at once, whether the content scrolls or not.
  void ScrollToTop();
  // The element under a window point, -1 for none (the strip, empty cells).
  int HitTest(int x, int y) const;
  // The cell rectangle of an index in window coordinates (also out of view).
  RECT GetCellRect(int index) const;

  // ---- Keyboard cursor ----
  int GetCursor() const { return m_cursor; }
  // -1 (none) or a valid index; repaints.
  void SetCursor(int index);
  // Scrolls so the cursor's row is in view.
  void EnsureCursorVisible();

  // ---- Painting ----
  void SetDoubleBuffered(bool on) { m_alwaysBuffered = on; }
  void RequestBufferedPaint() { m_bufferNextPaint = true; }
  // Draws the cells meeting the clip rectangle (window coordinates) into a
  // DC whose window origin is at (dx, dy).
  void DrawItems(HDC dc, const RECT& clip, int dx, int dy);
  void DropCachedBitmaps();

  bool IsCoasting() const { return m_scroller.IsCoasting(); }

  // ---- The state dump ----
  // Every element with its text and screen rectangle (also out of view).
  void DescribeCells(window::JsonWriter& json) const;

  // ---- Virtual operations, in the family's order ----
  virtual void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) {}
  // Background and a rounded cell in colours 4/5, or 6/7 for the cursor cell.
  virtual void DrawCellBackground(HDC dc, const RECT& rect, bool cursor);
  virtual void OnItemTap(int index, const mivoListElement& element) {}
  virtual void OnItemHold(int index, const mivoListElement& element) {}
  virtual void OnItemRemoved(const mivoListElement& element) {}
  // The text the state dump shows for an element (its Text by default).
  virtual std::u16string DescribeItem(int index, const mivoListElement& element) const { return element.Text; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  static constexpr const char16_t* kEmptyText = u"(list is empty)";
  // What an empty list says (kEmptyText unless a page has its own).
  void SetEmptyText(const std::u16string& text) { m_emptyText = text; }
  const std::u16string& GetEmptyText() const { return m_emptyText; }

  int Columns = 1;     // cells per row
  int CellHeight;      // pixels per row; 48·S at construction

 protected:
  mivoAppearance* Look() const;
  // Calls the page with the element copied first; releases asked for by a
  // Clear inside the call wait until the outermost call returns.
  void TapItem(int index);
  void HoldItem(int index);

 private:
  class DispatchScope;
  void OnPaint();
  void OnLButtonDown(int x, int y);
  void OnMouseMove(UINT flags, int x, int y);
  void OnLButtonUp(int x, int y);
  void OnContextMenu(int screenX, int screenY);
  void OnKeyDown(UINT vk);
  // Runs the coasting a flick started, one shown frame per step, until it
  // ends or a touch stops it.
  void Coast();
  int ViewHeight() const;
  HFONT WatermarkFont();

  // What the touch scroller moves: ScrollTop, up to MaxScrollTop, in the client area.
  int GetScrollOffset() const override { return m_scrollTop; }
  int GetMaxScrollOffset() const override;
  void SetScrollOffset(int offset) override { SetScrollTop(offset); }
  RECT GetScrollView() const override;

  std::vector<mivoListElement> m_elements;    // in display order
  std::u16string m_emptyText = kEmptyText;    // shown when there are no elements
  CmivoListCtrlComparer* m_pComparer = nullptr;  // not owned
  int m_scrollTop = 0;                        // pixels of content above the window top
  int m_cursor = -1;                          // keyboard cursor index, -1 for none
  bool m_details = false;                     // Details view (one column of rows)
  mivoTouchScroller m_scroller;               // press, drag, strip and coasting
  bool m_alwaysBuffered = false;              // paint always through the back buffer
  bool m_bufferNextPaint = false;             // paint once through the back buffer
  mivoBackBuffer m_buffer;                    // cached back buffer (client size)
  HFONT m_watermarkFont = nullptr;            // Details view numbers, made for m_watermarkHeight
  int m_watermarkHeight = 0;
  mivoSkinImage* m_ballImage = nullptr;       // "listbox_scroll_bar_ball", looked up once
  bool m_imagesLooked = false;
  int m_dispatchDepth = 0;                    // page calls running (tap, hold, key)
  std::vector<mivoListElement> m_deferredRemovals;  // released once those calls return
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);  // false once destroyed
};
