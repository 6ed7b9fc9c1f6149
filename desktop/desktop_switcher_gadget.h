// CmivoDesktopSwitcherGadget: a strip with one square cell per desktop,
// each showing the desktop's icon (the picture chosen with "Change desktop
// icon", else the default one); the current desktop's cell is highlighted and
// a tap on a cell shows that desktop. A strip narrower than its cells scrolls
// with the finger: the gadget keeps the stylus to itself (no page swipe
// starts on it) and the desktop page hands it the moves of the press.
//
// The desktop icons are one table for the whole program, for the current
// orientation: RefreshDesktopIcons builds it when a switcher is made and
// again after an icon was chosen. No stored fields.
#pragma once

#include <array>
#include <string>

#include "desktop/gadget.h"

class mivoSkinImage;

class CmivoDesktopSwitcherGadget : public CmivoGadget {
 public:
  static constexpr int kMaxCells = 32;
  static constexpr int kCellSide = 48;  // a cell's width, times DisplayScale

  CmivoDesktopSwitcherGadget(mivoCore* core, CmivoDesktopPage* page);

  // ---- The desktop icon table ----
  // Reads the icon setting of each of the 32 desktops for the current
  // orientation and looks the pictures up; call after an icon was chosen.
  static void RefreshDesktopIcons(mivoCore* core);
  // The icon of desktop `number` (1..32); null outside, or before the table was built.
  static mivoSkinImage* DesktopIcon(int number);

  // ---- The gadget ----
  // The cells (see the .cpp), then the design frame.
  void Paint(HDC dc) override;
  // A press starts following the finger (outside design mode).
  void OnStylusDown(UINT flags, POINT point) override;
  // Scrolls a strip that is wider than the gadget after the finger.
  void OnStylusMove(UINT flags, POINT point) override;
  // The release: a tap on a cell shows its desktop.
  void OnTap(UINT flags, POINT point) override;
  void OnStylusCancel() override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  const char* GadgetClassName() const override { return "CmivoDesktopSwitcherGadget"; }
  // The desktops by number, the current one in brackets: "1 [2] 3 4".
  std::u16string GetDumpText() override;

  // ---- State, for the page and for tests ----
  int ScrollOffset() const { return m_scroll; }
  // Clamped to the strip's range.
  void SetScrollOffset(int offset);
  // The largest scroll offset for the gadget's width (0 when everything fits).
  int MaxScroll() const;
  bool IsScrollable() const { return m_scrollable; }
  // Cell i's rectangle as last drawn; (-1, -1, -1, -1) when it was not drawn.
  const RECT& CellRect(int index) const { return m_cells[static_cast<std::size_t>(index)]; }
  // Whether the current press is still a tap (no move went too far).
  bool PressIsTap() const { return m_pressIsTap; }

 private:
  int DesktopCount() const;
  // Scrolls so that the current desktop's cell shows whole (after a switch
  // by keys or swipes).
  void RevealCurrent();

  int m_scroll = 0;                     // pixels the strip is scrolled left
  bool m_scrollable = false;            // the cells are wider than the gadget (set by Paint)
  std::array<RECT, kMaxCells> m_cells;  // as last drawn, (-1, -1, -1, -1) when not
  bool m_following = false;             // a press on the strip is under way
  bool m_pressIsTap = false;            // ... and no move has made it a scroll
  int m_pressX = 0;                     // where the press began (client x)
  int m_lastX = 0;                      // the stylus's x at the previous move
  int m_revealedDesktop = -1;           // the current desktop when it was last brought into view
};
