// CmivoDetailsPanelGadget: a panel across the whole width of the desktop
// (the first favourite, the most used action, the newest SMS, the last
// caller): an icon part on the left and a details part beside it. The base
// lays the panel out at the gadget's top and dispatches taps; a member draws
// the two parts and says what their taps do.
#pragma once

#include <string_view>

#include "desktop/gadget.h"

class mivoSkinImage;

class CmivoDetailsPanelGadget : public CmivoGadget {
 public:
  CmivoDetailsPanelGadget(mivoCore* core, CmivoDesktopPage* page, DWORD typeId);

  // ---- The family's operations, in order (each member provides all four) ----
  virtual void DrawIcon(HDC dc, const RECT& rect) = 0;
  virtual void DrawDetails(HDC dc, const RECT& rect) = 0;
  virtual void OnIconTap(POINT point) = 0;
  virtual void OnDetailsTap(POINT point) = 0;

  // The design frame, then the two parts across the page's width at the
  // gadget's top; the gadget's rectangle becomes the panel's.
  void Paint(HDC dc) override;
  // Outside design mode: the icon part or the details part.
  void OnTap(UINT flags, POINT point) override;
  const char* GadgetClassName() const override { return "CmivoDetailsPanelGadget"; }

  int PanelHeight() const { return m_panelHeight; }
  void SetPanelHeight(int height) { m_panelHeight = height; }
  const RECT& IconRect() const { return m_iconRect; }
  const RECT& DetailsRect() const { return m_detailsRect; }
  // The panel, the icon part and the details part for the gadget's top.
  void LayoutPanel(RECT* panel);

 protected:
  // Helpers of the members' drawing: a skin picture centred in the part;
  // a short text (what the panel has not got) in whole words, centred
  // vertically, cut with "..." when it does not fit.
  void DrawCentredImage(HDC dc, mivoSkinImage* image, const RECT& rect);
  void DrawNote(HDC dc, const RECT& rect, std::u16string_view text);
  // Two lines centred vertically: a title (with `aside`, a short text in
  // the small font, at its right end) over a second line; each line that
  // is too long ends in "...". An empty second line leaves the title alone.
  void DrawTwoLines(HDC dc, const RECT& rect, std::u16string_view title, std::u16string_view second,
                    std::u16string_view aside = {});

  int m_panelHeight;     // pixels; 50·S unless the member says otherwise
  RECT m_iconRect{};     // (page left, top, page left + 50·S, top + height)
  RECT m_detailsRect{};  // (page left + 60·S, top, page right, top + height)
};
