#include "ui/adv_list_box_card.h"

#include "look/appearance.h"
#include "platform/gdi/gdi.h"

namespace {

// One set of corners: a small rounded rectangle drawn once, whose four
// corners are blitted onto every card of that state.
struct CornerSet {
  int scale = 0;                  // DisplayScale the set was built for; 0: not built
  COLORREF background = 0;        // colour 1 around the corners
  COLORREF outline = 0;           // colour 4 (normal) or 6 (selected)
  COLORREF fill = 0;              // colour 5 (normal) or 7 (selected)
  HDC dc = nullptr;               // memory DC holding `bitmap`, kept selected
  HBITMAP bitmap = nullptr;       // the template rounded rectangle
  HGDIOBJ oldBitmap = nullptr;    // the DC's own bitmap, put back on release
  HBRUSH outlineBrush = nullptr;  // straight edges
  HBRUSH fillBrush = nullptr;     // the inside
  int size = 0;                   // template side in pixels
};

CornerSet g_sets[2];  // [0] normal, [1] selected

void Release(CornerSet& set) {
  if (set.dc) {
    SelectObject(set.dc, set.oldBitmap);
    DeleteDC(set.dc);
  }
  if (set.bitmap) DeleteObject(set.bitmap);
  if (set.outlineBrush) DeleteObject(set.outlineBrush);
  if (set.fillBrush) DeleteObject(set.fillBrush);
  set = CornerSet{};
}

int Ellipse() { return 20 * DisplayScale; }
int Corner() { return 10 * DisplayScale; }

// The set for a state, built (again) when the colours or the scale differ
// from those it was built with; null when GDI refuses.
CornerSet* Corners(mivoAppearance& look, bool selected) {
  mivoColorTheme& theme = look.ColorTheme();
  CornerSet& set = g_sets[selected ? 1 : 0];
  const COLORREF background = look.BackgroundColor;
  const COLORREF outline = theme.GetColor(selected ? 6 : 4);
  const COLORREF fill = theme.GetColor(selected ? 7 : 5);
  if (set.scale == DisplayScale && set.background == background && set.outline == outline && set.fill == fill &&
      set.dc) {
    return &set;
  }
  Release(set);
  // Larger than the ellipse, so the corners are whole quarter arcs and the
  // template's straight edges are those of any larger card.
  const int size = Ellipse() + 2 * DisplayScale + 2;
  set.dc = CreateCompatibleDC(nullptr);
  set.bitmap = CreateCompatibleBitmap(nullptr, size, size);
  if (!set.dc || !set.bitmap) {
    Release(set);
    return nullptr;
  }
  set.oldBitmap = SelectObject(set.dc, set.bitmap);
  set.outlineBrush = CreateSolidBrush(outline);
  set.fillBrush = CreateSolidBrush(fill);
  HBRUSH back = CreateSolidBrush(background);
  const RECT all{0, 0, size, size};
  FillRect(set.dc, &all, back);
  DeleteObject(back);
  HPEN pen = CreatePen(PS_SOLID, DisplayScale, outline);
  HGDIOBJ oldPen = SelectObject(set.dc, pen);
  HGDIOBJ oldBrush = SelectObject(set.dc, set.fillBrush);
  RoundRect(set.dc, 0, 0, size, size, Ellipse(), Ellipse());
  SelectObject(set.dc, oldBrush);
  SelectObject(set.dc, oldPen);
  DeleteObject(pen);
  set.scale = DisplayScale;
  set.background = background;
  set.outline = outline;
  set.fill = fill;
  set.size = size;
  return &set;
}

void Fill(HDC dc, int l, int t, int r, int b, HBRUSH brush) {
  if (r <= l || b <= t) return;
  const RECT rc{l, t, r, b};
  FillRect(dc, &rc, brush);
}

}  // namespace

void DrawAdvListBoxCardShape(mivoAppearance& look, HDC dc, const RECT& box, bool selected) {
  const int l = box.left, t = box.top, r = box.right, b = box.bottom;
  const int e = Corner();
  const int s = DisplayScale;
  CornerSet* set = (r - l >= 2 * e && b - t >= 2 * e) ? Corners(look, selected) : nullptr;
  if (!set) {
    // Too small for the corners (or no cache): the shape itself.
    HGDIOBJ oldPen = SelectObject(dc, selected ? look.ThemePen6 : look.ThemePen4);
    HGDIOBJ oldBrush = SelectObject(dc, selected ? look.ThemeBrush7 : look.ThemeBrush5);
    RoundRect(dc, l, t, r, b, Ellipse(), Ellipse());
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    return;
  }
  const int n = set->size;
  BitBlt(dc, l, t, e, e, set->dc, 0, 0, SRCCOPY);
  BitBlt(dc, r - e, t, e, e, set->dc, n - e, 0, SRCCOPY);
  BitBlt(dc, l, b - e, e, e, set->dc, 0, n - e, SRCCOPY);
  BitBlt(dc, r - e, b - e, e, e, set->dc, n - e, n - e, SRCCOPY);
  // The four straight edges, S wide, inside the box.
  Fill(dc, l + e, t, r - e, t + s, set->outlineBrush);
  Fill(dc, l + e, b - s, r - e, b, set->outlineBrush);
  Fill(dc, l, t + e, l + s, b - e, set->outlineBrush);
  Fill(dc, r - s, t + e, r, b - e, set->outlineBrush);
  // The inside as a cross: the full-width middle band and the columns
  // between the corners.
  Fill(dc, l + s, t + e, r - s, b - e, set->fillBrush);
  Fill(dc, l + e, t + s, r - e, t + e, set->fillBrush);
  Fill(dc, l + e, b - e, r - e, b - s, set->fillBrush);
}

void DrawAdvListBoxCard(mivoAppearance& look, HDC dc, const RECT& item, bool selected) {
  const int s = DisplayScale;
  const int l = item.left, t = item.top, r = item.right, b = item.bottom;
  HBRUSH back = look.BackgroundBrush;
  HBRUSH made = nullptr;
  if (!back) back = made = CreateSolidBrush(look.BackgroundColor);
  Fill(dc, l, t, l + 5 * s, b, back);
  Fill(dc, r - 6 * s, t, r, b, back);
  Fill(dc, l, t, r, t + 5 * s, back);
  Fill(dc, l, b - 4 * s, r, b, back);
  if (made) DeleteObject(made);
  const RECT box{l + 5 * s, t + 5 * s, r - 6 * s, b - 4 * s};
  if (box.right > box.left && box.bottom > box.top) DrawAdvListBoxCardShape(look, dc, box, selected);
}

void DropAdvListBoxCardCorners() {
  Release(g_sets[0]);
  Release(g_sets[1]);
}
