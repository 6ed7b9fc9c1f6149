#include "actions/action_draw.h"

#include <algorithm>

#include "actions/action.h"
#include "actions/actions.h"
#include "core/core.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/gdi/gdi.h"

namespace action_draw {

namespace {

constexpr UINT kCentred = kAlignCenterX | kAlignCenterY;

}  // namespace

mivoAppearance* Look(mivoCore* core) { return core ? core->GetAppearance() : nullptr; }

mivoSkinImage* Image(mivoCore* core, std::u16string_view name) {
  if (!core || !core->GetActions()) return nullptr;
  return core->GetActions()->SkinImage(name);
}

void DrawImageAction(mivoCore* core, HDC dc, const RECT& rect, int style, int mode, mivoSkinImage* image,
                     std::u16string_view title, std::u16string_view subtitle) {
  mivoAppearance* look = Look(core);
  if (!look || !dc) return;
  switch (style) {
    case kActionStyleRow:
      DrawRowImageTitleSubtitle(*look, dc, image, title, subtitle, rect, mode);
      break;
    case kActionStyleTile:
      DrawGridCellImage(*look, dc, image, title, rect, mode);
      break;
    default:
      DrawSkinImageIfAny(*look, dc, image, rect, kCentred, mode);
      break;
  }
}

void DrawIconAction(mivoCore* core, HDC dc, const RECT& rect, int style, HICON icon, std::u16string_view title,
                    std::u16string_view subtitle) {
  mivoAppearance* look = Look(core);
  if (!look || !dc) return;
  switch (style) {
    case kActionStyleRow: {
      if (subtitle.empty()) {
        DrawRowIconTitle(*look, dc, icon, title, rect, false);
        break;
      }
      RECT text = rect;
      if (icon) {
        const RECT drawn = DrawIconAligned(*look, dc, icon, rect.left + 5 * DisplayScale, rect.top, rect.right,
                                           rect.bottom, kAlignCenterY, false);
        if (drawn.right > drawn.left) text.left = drawn.right;
      }
      DrawRowTitleSubtitle(*look, dc, title, subtitle, text);
      break;
    }
    case kActionStyleTile:
      DrawGridCellIcon(*look, dc, icon, title, rect, false);
      break;
    default:
      if (icon) DrawIconAligned(*look, dc, icon, rect.left, rect.top, rect.right, rect.bottom, kCentred, false);
      break;
  }
}

void DrawPhotoAction(mivoCore* core, HDC dc, const RECT& rect, int style, int mode, HBITMAP photo,
                     mivoSkinImage* mark, std::u16string_view title, std::u16string_view subtitle) {
  mivoAppearance* look = Look(core);
  if (!look || !dc) return;
  if (style == kActionStyleRow) {
    DrawRowBitmapTitleSubtitle(*look, dc, title, subtitle, photo, rect, false, 0);
    return;
  }
  // The photo fitted into 65·S square, centred where a tile's picture goes;
  // in a tile smaller, when it must, so that a line of caption fits under it.
  BITMAP info{};
  GetObjectW(photo, sizeof info, &info);
  int w = info.bmWidth, h = info.bmHeight;
  int box = 65 * DisplayScale;
  if (style == kActionStyleTile) box = std::max(1, std::min(box, rect.bottom - rect.top - 16 * DisplayScale));
  FitSizeInBox(box, box, &w, &h);
  const int left = (rect.left + rect.right - w) / 2;
  const int top = style == kActionStyleTile ? rect.top : (rect.top + rect.bottom - h) / 2;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, photo);
  StretchBlt(dc, left, top, w, h, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  // The small mark over the photo's bottom-right corner.
  DrawSkinImageIfAny(*look, dc, mark, RECT{left, top, left + w, top + h}, kAlignRight | kAlignBottom, 0);
  if (style == kActionStyleTile) {
    DrawGridCellImage(*look, dc, nullptr, title, RECT{rect.left, top + h, rect.right, rect.bottom}, mode);
  }
}

}  // namespace action_draw
