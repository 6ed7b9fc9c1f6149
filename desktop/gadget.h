// CmivoGadget: the base of every element of the desktops (a clock, a
// shortcut, a panel, a hosted plug-in). A gadget is no window of its own: the
// desktop page draws it into its device context, hands it the stylus, and
// offers it timers and state notifications. Every gadget lives in the desktop
// page's gadget container, which creates it by its type id, stores it as a
// record of the layout file and destroys it.
//
// A gadget belongs to the desktops whose bits its mask holds, in one
// orientation (its portrait flag). Its rectangle is kept on screen and at
// least its minimum size (SetRect). The container activates it once when it
// joins (OnActivate: look up images, register timers and notifications) and
// deactivates it once when it leaves (OnDeactivate).
//
// A family derives from this class (or CmivoIconTextGadget,
// CmivoDetailsPanelGadget, CmivoActionsHistoryGadget), passes its type id to
// the constructor and overrides what it needs:
//
//   class CmivoBatteryInfo : public CmivoIconTextGadget {
//    public:
//     CmivoBatteryInfo(mivoCore* core, CmivoDesktopPage* page) : CmivoIconTextGadget(core, page, 2) {}
//     const char* GadgetClassName() const override { return "CmivoBatteryInfo"; }
//     void OnActivate() override { m_message = Desktop()->RegisterNotification(this); ... }
//     ...
//   };
//
// and names its class in the catalogue's factory table (gadget_factory.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/types.h"
#include "ui/child_wnd.h"
#include "ui/context_menu_entry.h"

class CmivoDesktopPage;
class mivoArchiveReader;
class mivoArchiveWriter;
class mivoGadgetProperties;

// Handle codes of the design-mode frame: bit sets of the edges a handle moves.
constexpr int kHandleLeft = 1;
constexpr int kHandleRight = 2;
constexpr int kHandleTop = 4;
constexpr int kHandleBottom = 8;
constexpr int kHandleTopLeft = kHandleLeft | kHandleTop;          // 5
constexpr int kHandleTopRight = kHandleRight | kHandleTop;        // 6
constexpr int kHandleBottomLeft = kHandleLeft | kHandleBottom;    // 9
constexpr int kHandleBottomRight = kHandleRight | kHandleBottom;  // 10

// The common record's version the program writes.
constexpr DWORD kGadgetRecordVersion = 6;

class CmivoGadget : public CmivoChildWnd {
 public:
  // The portrait flag is taken from the main frame's shape now.
  CmivoGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId);
  ~CmivoGadget() override;

  // ---- The child operations (CmivoChildWnd), as gadgets use them ----
  // Draws the design-mode frame (only while the desktop is in design mode).
  void Paint(HDC dc) override;
  // Outside design mode: the main menu. In design mode nothing (the desktop
  // page selects and drags).
  void OnTap(UINT flags, POINT point) override;
  // Draws GetContextMenuItemText as a menu row.
  void DrawContextMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry) override;

  // ---- The gadget's operations, in order ----
  // Reads the kind's own stored fields (the stream's failure is sticky: the
  // container checks it after the record). Nothing by default.
  virtual void LoadProperties(mivoArchiveReader& in) {}
  // Writes them; nothing by default.
  virtual void SaveProperties(mivoArchiveWriter& out) {}
  // A state notification the gadget registered for has fired (the message's
  // parameters); re-read the value and repaint. Nothing by default.
  virtual void OnStateChanged(WPARAM wParam, LPARAM lParam) {}
  // The gadget's periodic timer; nothing by default.
  virtual void OnTimer(bool first) {}
  // The gadget starts living on the desktops: look up images, register
  // timers and notifications with the desktop page, make the first reading.
  virtual void OnActivate() {}
  // Undoes OnActivate.
  virtual void OnDeactivate() {}
  // Asked before the user deletes the gadget; false refuses (the gadget
  // shows its own message).
  virtual bool CanDelete() { return true; }

  // ---- Following the stylus ----
  // A gadget that keeps the stylus to itself (AllowsPageSwipe off) is handed
  // every move of the press that began on it (OnStylusMove) until the release
  // (OnTap when it ends over the gadget). A press that ends any other way (a
  // release elsewhere, a tap-and-hold, the stylus taken by another window,
  // the page leaving the top) ends here instead, so the gadget never goes on
  // following a finger that has gone. Nothing by default.
  virtual void OnStylusCancel() {}

  // ---- Further hooks ----
  // The class name the state dump shows.
  virtual const char* GadgetClassName() const { return "CmivoGadget"; }
  // What the gadget shows as text, for the state dump (empty by default).
  virtual std::u16string GetDumpText() { return {}; }
  // The name of the skin image the gadget shows now, for the state dump
  // (empty: none, or several).
  virtual std::u16string GetDumpImage() { return {}; }
  // The text of one of the gadget's own context-menu entries.
  virtual std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) { return entry.Text1; }
  // The property version the record is written with: the current one by
  // default; a family that always writes one layout names its version.
  virtual DWORD StoredPropertyVersion() const { return m_propertyVersion; }
  // The stored fields by name, for the layout's text form (mivo-pack): each
  // family hands every field it stores to the visitor, which reads or sets it.
  virtual void ExchangeProperties(mivoGadgetProperties& properties) {}

  // ---- Geometry ----
  // Clamps (minimum size, kept inside the area of the gadget's orientation)
  // and stores the rectangle; with `repaint` the old and the new rectangle
  // are invalidated in the page. Nothing happens when the clamped rectangle
  // is the current one, so a gadget may set its rectangle on every paint.
  void SetRect(const RECT& rect, bool repaint);
  // Stores the rectangle as it is (tools that keep a layout as written).
  void SetRectUnclamped(const RECT& rect) { m_rect = rect; }
  // Stores the minimum size and applies the current rectangle again (repainting).
  void SetMinSize(int width, int height);
  // The rectangle after the clamping rules, for the area width x height (an
  // area of 0 x 0 keeps only the minimum size).
  RECT ClampRect(const RECT& rect, int areaWidth, int areaHeight) const;
  // 5, 6, 9 or 10 for a point in one of the four handle squares of the
  // design-mode frame (10·S on a side, in the frame's corners), else 0.
  int HitTestHandles(POINT point) const;
  // The frame drawn in design mode: the rectangle, 1 pixel inside at S = 2.
  RECT FrameRect() const;

  // ---- Stored fields ----
  DWORD TypeId() const { return m_typeId; }
  DWORD RecordVersion() const { return m_recordVersion; }
  void SetRecordVersion(DWORD version) { m_recordVersion = version; }
  DWORD PropertyVersion() const { return m_propertyVersion; }
  void SetPropertyVersion(DWORD version) { m_propertyVersion = version; }
  DWORD Desktops() const { return m_desktops; }
  void SetDesktops(DWORD mask) { m_desktops = mask; }
  bool IsPortrait() const { return m_portrait; }
  void SetPortrait(bool portrait) { m_portrait = portrait; }

  // ---- Life in the container ----
  // OnActivate / OnDeactivate, each at most once in a row.
  void Activate();
  void Deactivate();
  bool IsActive() const { return m_active; }

  // ---- The desktop page ----
  // Null in tools that read layouts without a desktop.
  CmivoDesktopPage* Desktop() const { return m_pDesktop; }
  bool IsDesignMode() const;
  // This gadget is the desktop's selected gadget.
  bool IsSelected() const;

 protected:
  // The design-mode frame: corner marks, or for the selected gadget a dotted
  // outline with the four handle squares.
  void DrawDesignFrame(HDC dc);

  CmivoDesktopPage* m_pDesktop;                  // the page that shows it; not owned, may be null
  const DWORD m_typeId;                          // the catalogue's type id, fixed at construction
  DWORD m_recordVersion = kGadgetRecordVersion;  // of the common record as read; 6 when written
  DWORD m_propertyVersion = 0;                   // version of the kind's own fields
  DWORD m_desktops = 0;                          // bit n: shown on desktop n
  bool m_portrait = true;                        // belongs to the portrait (else the landscape) desktops
  bool m_active = false;                         // between Activate and Deactivate
};
