// CmivoItemsPageWnd: a page whose content area is one grid list. The list
// lays out and scrolls; drawing, taps, holds and swipes come back to the
// page's own operations, so each items page only says what its cells are.
#pragma once

#include <string>

#include "ui/list_ctrl.h"
#include "ui/page_wnd.h"

class CmivoItemsPageWnd;

// The list of an items page: everything the base list leaves to its owner
// goes to the page.
class CmivoItemsPageListCtrl : public CmivoListCtrl {
 public:
  CmivoItemsPageListCtrl(mivoCore* core, CmivoItemsPageWnd* page) : CmivoListCtrl(core), m_pPage(page) {}

  void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) override;
  void OnItemTap(int index, const mivoListElement& element) override;
  void OnItemHold(int index, const mivoListElement& element) override;
  void OnItemRemoved(const mivoListElement& element) override;
  std::u16string DescribeItem(int index, const mivoListElement& element) const override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CmivoItemsPageWnd* m_pPage;  // the owner, which outlives the list
};

class CmivoItemsPageWnd : public CmivoPageWnd {
 public:
  // Starts in 3x3 view (the look's grid columns and cell height).
  explicit CmivoItemsPageWnd(mivoCore* core);
  // A page whose elements own something releases it in its own destructor
  // (the list is cleared there): by the time this one runs, the page's
  // OnItemRemoved is no longer its own.
  ~CmivoItemsPageWnd() override;

  // ---- The items page's operations, in order (after the page's) ----
  virtual void DrawItem(int index, const mivoListElement& element, HDC dc, const RECT& rect) {}
  virtual void OnItemTap(int index, const mivoListElement& element) {}
  virtual void OnItemHold(int index, const mivoListElement& element) {}
  virtual void OnSwipe(int x, int y) {}
  // Pages free what Id and Data refer to.
  virtual void OnItemRemoved(const mivoListElement& element) {}

  // The text the state dump shows for a cell (the element's Text by default).
  virtual std::u16string DescribeItem(int index, const mivoListElement& element) { return element.Text; }

  // ---- The views ----
  // "3x3 view": the look's grid columns and cell height.
  void SetGridView();
  // "Details view": one column of rows 48·S pixels high.
  void SetDetailsView();
  bool IsDetailsView() const { return m_list.IsDetailsView(); }

  CmivoItemsPageListCtrl& List() { return m_list; }
  void AddItem(const mivoListElement& element) { m_list.AddItem(element); }
  void ClearItems() { m_list.Clear(); }
  int GetItemCount() const { return m_list.GetItemCount(); }

  // Off-screen painting reaches the list too.
  void SetDoubleBuffered(bool on) override;
  void RequestBufferedPaint() override;
  // The list over the content rectangle, scrolled to the top.
  void LayoutPage() override;
  // The cells, offset to the content rectangle, under the header.
  void DrawArea(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  void DumpCells(window::JsonWriter& j) override;
  const char* PageClassName() const override { return "CmivoItemsPageWnd"; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CmivoItemsPageListCtrl m_list;  // the page's one list
};
