// CmivoChildWnd: a windowless element of a CmivoWnd (a gadget of the desktop
// page). It has a rectangle in the window's client coordinates, a visible
// flag and a flag that says whether a page swipe may start on it; the window
// draws it and hands it the stylus. The gadget base builds on this class.
#pragma once

#include <vector>

#include "core/mivo_class.h"
#include "platform/win32/types.h"
#include "ui/context_menu_entry.h"

class CmivoWnd;
class mivoSkinImage;

class CmivoChildWnd : public mivoClass {
 public:
  CmivoChildWnd(mivoCore* core, CmivoWnd* parent) : mivoClass(core), m_pParent(parent) {}
  // Leaves its window's child list.
  ~CmivoChildWnd() override;
  CmivoChildWnd(const CmivoChildWnd&) = delete;
  CmivoChildWnd& operator=(const CmivoChildWnd&) = delete;

  // ---- The operations the window calls ----
  // Stores the visible flag.
  virtual void SetVisible(bool visible) { m_visible = visible; }
  // Draws the element into the window's device context (client coordinates).
  virtual void Paint(HDC dc) {}
  // The window erases its background (WM_ERASEBKGND); nothing by default.
  virtual void OnEraseBackground(HDC dc) {}
  // The stylus went down on the element.
  virtual void OnStylusDown(UINT flags, POINT point) {}
  // The stylus was lifted on the element.
  virtual void OnTap(UINT flags, POINT point) {}
  // The stylus moved over the element; nothing by default.
  virtual void OnStylusMove(UINT flags, POINT point) {}
  // Adds the element's own entries to its page's context menu.
  virtual void AddContextMenuItems() {}
  // One of the element's own entries was chosen.
  virtual void OnContextMenuCommand(const mivoContextMenuEntry& entry) {}
  // Draws the text of one of the element's own entries.
  virtual void DrawContextMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry) {}
  // Appends the skin images the element draws with.
  virtual void CollectImages(std::vector<mivoSkinImage*>& images) {}
  // A tap-and-hold landed on the element (the window's WM_CONTEXTMENU); the
  // point is in client coordinates. Nothing by default.
  virtual void OnTapAndHold(POINT point) {}

  // ---- State ----
  bool IsVisible() const { return m_visible; }
  const RECT& GetRect() const { return m_rect; }
  // Stores the rectangle as it is (gadgets clamp it first).
  void SetRectRaw(const RECT& rect) { m_rect = rect; }
  bool AllowsPageSwipe() const { return m_allowsPageSwipe; }
  void SetAllowsPageSwipe(bool allows) { m_allowsPageSwipe = allows; }
  int MinWidth() const { return m_minWidth; }
  int MinHeight() const { return m_minHeight; }
  CmivoWnd* GetParentWnd() const { return m_pParent; }
  void SetParentWnd(CmivoWnd* parent) { m_pParent = parent; }
  // Repaints the element's rectangle in its window (later).
  void Invalidate();

 protected:
  CmivoWnd* m_pParent = nullptr;   // the window that draws it; not owned
  RECT m_rect{};                   // client coordinates of the parent
  bool m_visible = true;           // drawn and hit only while set
  bool m_allowsPageSwipe = true;   // a page swipe may start on it
  int m_minWidth = 0;              // the smallest size its rectangle may take
  int m_minHeight = 0;
};
