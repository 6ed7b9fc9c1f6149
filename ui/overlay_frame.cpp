#include "ui/overlay_frame.h"

#include "look/appearance.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"

namespace ui {

int DrawOverlayFrame(mivoAppearance& look, HDC dc, const RECT& client, const std::u16string& title, UINT titleFlags) {
  const int S = DisplayScale;
  const int l = client.left, t = client.top, r = client.right, b = client.bottom;
  if (look.BackgroundBrush) {
    FillRect(dc, &client, look.BackgroundBrush);
  }
  SelectObject(dc, look.TitleFont);
  SIZE x{};
  GetTextExtentPoint32W(dc, u"X", 1, &x);
  const int h = x.cy;

  SelectObject(dc, look.ThemePen4);
  SelectObject(dc, look.ThemeBrush5);
  RoundRect(dc, l + 5 * S, t + h / 2, r - 5 * S, b - 5 * S, 20 * S, 20 * S);

  SetTextColor(dc, look.TextColor);
  SetBkColor(dc, look.BackgroundColor);
  SetBkMode(dc, OPAQUE);
  RECT titleRect = client;
  DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &titleRect, titleFlags);
  return h;
}

void DrawOverlayButtons(mivoAppearance& look, HDC dc, const RECT& client, const RECT& body, int bottom, bool two,
                        RECT* first, RECT* second) {
  const int S = DisplayScale;
  const int l = client.left, r = client.right;
  const int top = bottom - 70 * S;
  const int middle = (body.left + body.right) / 2;
  if (two) {
    *first = MakeRect(l + 10 * S, top, middle, bottom);
    *second = MakeRect(middle, top, r - 10 * S, bottom);
  } else {
    *first = MakeRect(body.left, top, body.right, bottom);
    *second = RECT{};
  }
  look.DrawSkinImage(look.GetSkinImage(u"message_box_yes"), dc, *first, kAlignCenterX | kAlignCenterY);
  if (two) look.DrawSkinImage(look.GetSkinImage(u"message_box_no"), dc, *second, kAlignCenterX | kAlignCenterY);

  SelectObject(dc, look.ThemePen4);
  MoveToEx(dc, l + 20 * S, bottom - 75 * S, nullptr);
  LineTo(dc, r - 20 * S, bottom - 75 * S);
  if (two) {
    MoveToEx(dc, middle, bottom - 65 * S, nullptr);
    LineTo(dc, middle, bottom - 5 * S);
  }
}

}  // namespace ui
