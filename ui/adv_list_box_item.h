// The rows of the advanced list box: the base item (a card of a height) and
// the side-button item that can expand its card to show more.
#pragma once

#include <string>
#include <vector>

#include "core/mivo_class.h"
#include "platform/win32/types.h"

class CmivoAdvListBox;
class mivoAppearance;

// What the state dump tells of a row.
struct mivoRowText {
  std::u16string text;  // the row's main text
  std::u16string sub;   // a second line, empty when none
  std::u16string help;  // the help text shown when the row expands, empty when none
};

class CmivoAdvListBoxItem : public mivoClass {
 public:
  explicit CmivoAdvListBoxItem(mivoCore* core);

  // ---- Virtual operations, in the family's order ----
  // Adds the change to the list box's TotalHeight and applies its ScrollTop
  // again (when its window exists), then stores h.
  virtual void SetHeight(int h);
  // Leaves its list box first when still in one.
  virtual ~CmivoAdvListBoxItem();
  // Draws the card, shrinks `rect` to the card's content area and returns the
  // height used (the y of the next item advances by it).
  virtual int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect);
  // A tap at a list-box point; true when handled.
  virtual bool OnTap(UINT flags, int x, int y) = 0;
  virtual bool OnTapAndHold(int x, int y) { return false; }
  // Enter taps, Up and Down move the selection; every key counts as handled.
  virtual bool OnKey(UINT vk);
  // The list scrolled by `dy` pixels (positive: contents moved down).
  virtual void OnScroll(int dy) {}

  // ---- Beyond the family's operations ----
  // The row's texts for the state dump (empty by default).
  virtual void Describe(mivoRowText* out) const {}
  // Expanded rows say so in the state dump.
  virtual bool IsExpandedRow() const { return false; }
  // The list became wider or narrower (the screen turned): rows whose
  // height follows their text measure it again at their next paint.
  virtual void OnListWidthChanged() {}

  int GetHeight() const { return m_height; }
  CmivoAdvListBox* GetListBox() const { return m_pListBox; }
  bool IsSelectable() const { return m_selectable; }
  void SetSelectable(bool selectable) { m_selectable = selectable; }
  // Whether this is the list box's selected item.
  bool IsSelected() const;
  // Invalidates the list box (paint later).
  void RepaintListBox();

  // ---- Called by the list box only ----
  void AttachTo(CmivoAdvListBox* listBox) { m_pListBox = listBox; }
  int IndexHint() const { return m_indexHint; }
  void SetIndexHint(int index) { m_indexHint = index; }

 protected:
  mivoAppearance* Look() const;

  int m_height;                           // pixels; 63·S unless set
  CmivoAdvListBox* m_pListBox = nullptr;  // the owning list box, null until added
  bool m_selectable = true;               // keys can select it
  int m_indexHint = -1;                   // last known position in the list box
};

class CmivoAdvListBoxSideButtonItem : public CmivoAdvListBoxItem {
 public:
  // Kinds of the side button.
  enum SideButtonKind { kSideButtonNone = 0, kSideButtonExpand = 1, kSideButtonCollapse = 2, kSideButtonHelp = 3 };

  explicit CmivoAdvListBoxSideButtonItem(mivoCore* core);

  // ---- The base operations ----
  // Also stores h as BaseHeight.
  void SetHeight(int h) override;
  ~CmivoAdvListBoxSideButtonItem() override = default;
  // Card, side button, content and (when expanded) the expansion.
  int Draw(CmivoAdvListBox* listBox, HDC dc, RECT* rect) override;
  // The side button → OnSideButton; a tap region → OnRegionTap; else not handled.
  bool OnTap(UINT flags, int x, int y) override;
  // A tap region → OnRegionHold; else not handled.
  bool OnTapAndHold(int x, int y) override;
  // Left collapses, Right expands, others as the base.
  bool OnKey(UINT vk) override;
  // Moves the tap regions and the side button with the contents.
  void OnScroll(int dy) override;

  // ---- Appended operations ----
  virtual void DrawContent(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {}
  virtual void DrawExpanded(CmivoAdvListBox* listBox, HDC dc, const RECT& rect) {}
  virtual bool OnSideButton(UINT flags, int x, int y) { return false; }
  virtual void OnRegionTap(DWORD_PTR value, UINT flags, int x, int y) {}
  virtual void OnRegionHold(DWORD_PTR value, int x, int y) {}

  bool IsExpandedRow() const override { return m_expanded; }

  // Height becomes BaseHeight (+ ExtraHeight when expanded), the button
  // shows collapse, help or expand, and the list repaints.
  void SetExpanded(bool expanded);
  // Opened or closed by the user (its button, a key): an opened row is
  // brought into view whole.
  void SetExpandedByUser(bool expanded);
  bool IsExpanded() const { return m_expanded; }
  // The height added when expanded; 0 removes the side button.
  void SetExtraHeight(int h);
  int GetExtraHeight() const { return m_extraHeight; }
  int GetBaseHeight() const { return m_baseHeight; }
  int GetSideButtonKind() const { return m_sideButtonKind; }
  void SetSideButtonKind(int kind) { m_sideButtonKind = kind; }
  // Where the side button was last drawn (list-box coordinates).
  const RECT& GetSideButtonRect() const { return m_sideButtonRect; }

  // Tap regions: list-box rectangles with a value of the subclass's own
  // (pointer-sized, so a subclass may keep a pointer there). Subclasses
  // register them while drawing.
  void AddTapRegion(DWORD_PTR value, const RECT& rect);
  void ClearTapRegions() { m_tapRegions.clear(); }

  static int SideButtonWidth();  // 25·S

 protected:
  struct TapRegion {
    DWORD_PTR value;  // the subclass's own meaning
    RECT rect;        // list-box coordinates
  };

  int m_sideButtonKind = kSideButtonNone;  // see SideButtonKind
  RECT m_sideButtonRect{};                 // set while drawing; empty until drawn
  bool m_hasHelp = false;                  // collapsing shows the help button
  int m_extraHeight = 0;                   // added to the height when expanded
  int m_baseHeight;                        // the collapsed height
  bool m_expanded = false;                 // the expansion is shown
  std::vector<TapRegion> m_tapRegions;     // in the order registered
};
