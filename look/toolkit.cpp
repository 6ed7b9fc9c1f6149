#include "look/toolkit.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "look/fitted_text.h"
#include "platform/gdi/gdi.h"

namespace {

int S() { return DisplayScale; }

// The shared placement rule: centring first, right and bottom alignment win.
POINT Place(int left, int top, int right, int bottom, int w, int h, UINT flags) {
  POINT p{left, top};
  if (flags & kAlignCenterX) p.x = left + (right - left - w) / 2;
  if (flags & kAlignCenterY) p.y = top + (bottom - top - h) / 2;
  if (flags & kAlignRight) p.x = right - w;
  if (flags & kAlignBottom) p.y = bottom - h;
  return p;
}

bool IsZero(const RECT& r) { return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0; }

int Draw(HDC dc, std::u16string_view text, RECT* rect, UINT flags) {
  return DrawTextW(dc, std::u16string(text).c_str(), static_cast<int>(text.size()), rect, flags);
}

// Title and subtitle rows from the text area's left edge on.
void DrawTitleSubtitle(mivoAppearance& a, HDC dc, std::u16string_view title, std::u16string_view subtitle,
                       const RECT& rect, int textLeft) {
  RECT text{textLeft, rect.top, rect.right, rect.bottom};
  if (!subtitle.empty()) text.bottom -= 10 * S();
  SetTextColor(dc, a.TextColor);
  SetBkMode(dc, TRANSPARENT);
  // The title is centred in its area (the whole row, or the row above the
  // subtitle): on one line when it fits, else in whole words on the lines
  // there is room for, in the small font when it must.
  const mivoFittedText fitted = FitText(a, dc, title, a.TitleFont, text.right - text.left, text.bottom - text.top);
  const int top = text.top + (text.bottom - text.top - fitted.Height()) / 2;
  DrawFittedText(a, dc, fitted, RECT{text.left, top, text.right, text.bottom}, 0);
  if (!subtitle.empty()) {
    text.bottom += 8 * S();
    SelectObject(dc, a.SubtitleFont);
    SetTextColor(dc, a.SubTextColor);
    // DT_BOTTOM needs DT_SINGLELINE to act; without it the subtitle would
    // be drawn over the title.
    Draw(dc, subtitle, &text, kRowSubtitleFlags | DT_SINGLELINE);
  }
}

// Centred title rows: the title is laid out in whole words in the row's
// height, then centred vertically.
int DrawCentredTitle(mivoAppearance& a, HDC dc, std::u16string_view title, const RECT& rect, int textLeft) {
  SetTextColor(dc, a.TextColor);
  SetBkMode(dc, TRANSPARENT);
  const mivoFittedText fitted = FitText(a, dc, title, a.TitleFont, rect.right - textLeft, rect.bottom - rect.top);
  const RECT text{textLeft, rect.top + (rect.bottom - rect.top - fitted.Height()) / 2, rect.right, rect.bottom};
  return DrawFittedText(a, dc, fitted, text, 0);
}

// A grid cell's caption: in the band 31·S above the cell's bottom, or lower
// when the picture reaches into the band, so that it never covers the
// picture; down to S above the bottom.
void DrawGridCaption(mivoAppearance& a, HDC dc, std::u16string_view caption, const RECT& rect, int pictureBottom,
                     int inset) {
  SetTextColor(dc, a.TextColor);
  SetBkMode(dc, TRANSPARENT);
  const RECT band{rect.left + inset, std::max<int>(rect.bottom - 31 * S(), pictureBottom), rect.right - inset,
                  rect.bottom - S()};
  const mivoFittedText fitted = FitText(a, dc, caption, a.SubtitleFont, band.right - band.left, band.bottom - band.top);
  DrawFittedText(a, dc, fitted, band, DT_CENTER);
}

bool HasPicture(const mivoSkinImage* image) { return image && !image->File.empty(); }

// A row's picture at its own size, or, when it is taller than the row, scaled
// down to the row's height (aspect kept), so that it stays on the row's card.
RECT DrawRowPicture(mivoAppearance& a, HDC dc, mivoSkinImage* image, const RECT& rect, UINT flags, int mode) {
  if (!image) return RECT{};
  const SIZE size = a.GetSkinImageSize(image);
  const int room = rect.bottom - rect.top;
  if (size.cy <= room || room <= 0) return a.DrawSkinImage(image, dc, rect, flags, mode);
  int w = size.cx, h = size.cy;
  FitSizeInBox(rect.right - rect.left, room, &w, &h);
  // The kept composites are of the picture's own size: a scaled picture is
  // blended straight onto the card.
  return a.DrawSkinImage(image, dc, rect, flags, kSkinDrawDirect, std::max(1, w), std::max(1, h));
}

}  // namespace

RECT DrawBitmapAligned(mivoAppearance&, HDC dc, HBITMAP bitmap, int left, int top, int right, int bottom, UINT flags,
                       bool transparent, COLORREF transparentColor) {
  BITMAP info;
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return RECT{};
  const int w = info.bmWidth, h = info.bmHeight;
  const POINT p = Place(left, top, right, bottom, w, h, flags);
  if (transparent) {
    TransparentImage(dc, p.x, p.y, w, h, bitmap, 0, 0, w, h, transparentColor);
  } else {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(dc, p.x, p.y, w, h, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }
  return RECT{p.x, p.y, p.x + w, p.y + h};
}

RECT DrawIconAligned(mivoAppearance&, HDC dc, HICON icon, int left, int top, int right, int bottom, UINT flags,
                     bool destroy) {
  ICONINFO info;
  if (!icon || !GetIconInfo(icon, &info)) return RECT{};
  int w = 0, h = 0;
  BITMAP bm;
  if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
    w = bm.bmWidth;
    h = bm.bmHeight;
  } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bm, &bm)) {
    w = bm.bmWidth;
    h = bm.bmHeight / 2;
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  const POINT p = Place(left, top, right, bottom, w, h, flags & (kAlignCenterX | kAlignCenterY));
  DrawIconEx(dc, p.x, p.y, icon, 0, 0, 0, nullptr, DI_NORMAL);
  if (destroy) DestroyIcon(icon);
  return RECT{p.x, p.y, p.x + w, p.y + h};
}

RECT DrawSkinImageIfAny(mivoAppearance& appearance, HDC dc, mivoSkinImage* image, const RECT& rect, UINT flags,
                        int mode) {
  if (!image) return RECT{};
  return appearance.DrawSkinImage(image, dc, rect, flags, mode);
}

void FitSizeInBox(int boxWidth, int boxHeight, int* width, int* height) {
  if (!width || !height || *width <= 0 || *height <= 0) return;
  const std::int64_t w = static_cast<std::int64_t>(*width) * boxHeight / *height;
  if (w >= 0 && w <= boxWidth) {
    *width = static_cast<int>(w);
    *height = boxHeight;
  } else {
    *height = static_cast<int>(static_cast<std::int64_t>(*height) * boxWidth / *width);
    *width = boxWidth;
  }
}

void StretchBitmapToBox(mivoAppearance&, HBITMAP bitmap, HBITMAP* holder, HDC dc, SIZE box) {
  if (!holder || *holder) return;
  BITMAP info;
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return;
  int w = info.bmWidth, h = info.bmHeight;
  FitSizeInBox(box.cx, box.cy, &w, &h);
  if (w <= 0 || h <= 0) return;
  HBITMAP fitted = CreateCompatibleBitmap(dc, w, h);
  HDC source = CreateCompatibleDC(dc);
  HDC target = CreateCompatibleDC(dc);
  HGDIOBJ oldSource = SelectObject(source, bitmap);
  HGDIOBJ oldTarget = SelectObject(target, fitted);
  StretchBlt(target, 0, 0, w, h, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(source, oldSource);
  SelectObject(target, oldTarget);
  DeleteDC(source);
  DeleteDC(target);
  *holder = fitted;
}

void FillBackground(HDC dc, const RECT& r, const mivoAppearance* look) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (look && look->BackgroundBrush) {
    FillRect(dc, &r, look->BackgroundBrush);
    return;
  }
  HBRUSH brush = CreateSolidBrush(look ? look->BackgroundColor : RGB(0, 0, 0));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void DrawVerticalGradient(HDC dc, COLORREF from, COLORREF to, int left, int top, int right, int bottom, int firstRow,
                          int endRow) {
  const double span = bottom - top;
  auto channel = [&](int shift, int row) {
    const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    // A zero-height band has no slope: it is the start colour.
    const double v = span != 0 ? a + (row - top) * static_cast<double>(b - a) / span : a;
    return static_cast<COLORREF>(static_cast<long long>(v) & 0xFF);
  };
  for (int row = firstRow; row < endRow; ++row) {
    const COLORREF c = channel(0, row) | (channel(8, row) << 8) | (channel(16, row) << 16);
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, pen);
    const int y = top - firstRow + row;
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right, y);
    SelectObject(dc, old);
    DeleteObject(pen);
  }
}

HBITMAP RenderImageToBitmap(IImage* image, COLORREF background) {
  ImageInfo info;
  if (!image || FAILED(image->GetImageInfo(&info)) || info.Width == 0 || info.Height == 0) return nullptr;
  BITMAPINFO bmi;
  bmi.bmiHeader.biSize = 40;
  bmi.bmiHeader.biWidth = static_cast<LONG>(info.Width);
  bmi.bmiHeader.biHeight = static_cast<LONG>(info.Height);
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = static_cast<WORD>(std::max(16, GetDeviceCaps(nullptr, BITSPIXEL)));
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const RECT all{0, 0, static_cast<LONG>(info.Width), static_cast<LONG>(info.Height)};
  SetBkColor(dc, background);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, u"", 0, nullptr);
  const bool drawn = SUCCEEDED(image->Draw(dc, &all, nullptr));
  SelectObject(dc, old);
  DeleteDC(dc);
  if (!drawn) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

HRESULT LoadImageStreamThumbnail(IStream* stream, int* width, int* height, HBITMAP* bitmap) {
  if (!stream || !width || !height || !bitmap) return E_FAIL;
  *bitmap = nullptr;
  IImagingFactory* factory = nullptr;
  IImage* image = nullptr;
  IImage* thumbnail = nullptr;
  HRESULT result = E_FAIL;
  ImageInfo info;
  if (SUCCEEDED(CreateImagingFactory(&factory)) && SUCCEEDED(factory->CreateImageFromStream(stream, &image)) &&
      SUCCEEDED(image->GetImageInfo(&info)) && info.Width > 0 && info.Height > 0) {
    int w = static_cast<int>(info.Width), h = static_cast<int>(info.Height);
    FitSizeInBox(*width, *height, &w, &h);
    if (w > 0 && h > 0 && SUCCEEDED(image->GetThumbnail(w, h, &thumbnail))) {
      *bitmap = RenderImageToBitmap(thumbnail, RGB(255, 255, 255));
      if (*bitmap) {
        *width = w;
        *height = h;
        result = S_OK;
      }
    }
  }
  if (thumbnail) thumbnail->Release();
  if (image) image->Release();
  if (factory) factory->Release();
  return result;
}

int DrawTextWithShadow(mivoAppearance& a, HDC dc, std::u16string_view text, const RECT& rect, UINT flags) {
  const int d = 2 * S();
  SetBkMode(dc, TRANSPARENT);
  RECT shadow = rect, front = rect;
  if (!(flags & (DT_RIGHT | DT_BOTTOM))) {
    shadow = RECT{rect.left + d, rect.top + d, rect.right + d, rect.bottom + d};
  } else {
    front = RECT{rect.left - d, rect.top - d, rect.right - d, rect.bottom - d};
  }
  const COLORREF previous = SetTextColor(dc, a.BackgroundColor);
  Draw(dc, text, &shadow, flags);
  SetTextColor(dc, previous);
  return Draw(dc, text, &front, flags) + d;
}

void DrawSmallText(mivoAppearance& a, HDC dc, std::u16string_view text, const RECT& rect, UINT flags) {
  RECT inner{rect.left + S(), rect.top + S(), rect.right - S(), rect.bottom - S()};
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, a.SmallFont);
  const COLORREF oldColor = SetTextColor(dc, a.TextColor);
  Draw(dc, text, &inner, flags);
  SetTextColor(dc, oldColor);
  SelectObject(dc, oldFont);
}

void DrawGridCellImage(mivoAppearance& a, HDC dc, mivoSkinImage* image, std::u16string_view caption, const RECT& rect,
                       int mode) {
  int pictureBottom = rect.top;
  if (HasPicture(image)) {
    const RECT drawn = a.DrawSkinImage(image, dc, rect, kAlignCenterX, mode);
    if (!IsZero(drawn)) pictureBottom = rect.top + a.GetSkinImageSize(image).cy;
  }
  DrawGridCaption(a, dc, caption, rect, pictureBottom, S());
}

void DrawGridCellIcon(mivoAppearance& a, HDC dc, HICON icon, std::u16string_view caption, const RECT& rect,
                      bool destroy) {
  const RECT drawn =
      DrawIconAligned(a, dc, icon, rect.left, rect.top + 10 * S(), rect.right, rect.bottom, kAlignCenterX, destroy);
  DrawGridCaption(a, dc, caption, rect, IsZero(drawn) ? rect.top : drawn.bottom, 3 * S());
}

void DrawRowBitmapTitleSubtitle(mivoAppearance& a, HDC dc, std::u16string_view title, std::u16string_view subtitle,
                                HBITMAP bitmap, const RECT& rect, bool transparent, COLORREF transparentColor) {
  int textLeft = rect.left + 7 * S();
  if (bitmap) {
    const RECT drawn = DrawBitmapAligned(a, dc, bitmap, rect.left + 5 * S(), rect.top, rect.right, rect.bottom,
                                         kAlignCenterY, transparent, transparentColor);
    if (!IsZero(drawn)) textLeft = drawn.right + 7 * S();
  }
  DrawTitleSubtitle(a, dc, title, subtitle, rect, textLeft);
}

void DrawRowImageTitleSubtitle(mivoAppearance& a, HDC dc, mivoSkinImage* image, std::u16string_view title,
                               std::u16string_view subtitle, const RECT& rect, int mode) {
  int textLeft = rect.left + 7 * S();
  const RECT drawn =
      DrawRowPicture(a, dc, image, RECT{rect.left + 5 * S(), rect.top, rect.right, rect.bottom}, kAlignCenterY, mode);
  // A picture that could not be drawn leaves the text where a row without one has it.
  if (!IsZero(drawn)) textLeft = 7 * S() + drawn.right;
  DrawTitleSubtitle(a, dc, title, subtitle, rect, textLeft);
}

void DrawRowTitleSubtitle(mivoAppearance& a, HDC dc, std::u16string_view title, std::u16string_view subtitle,
                          const RECT& rect) {
  DrawTitleSubtitle(a, dc, title, subtitle, rect, rect.left + 7 * S());
}

int DrawRowImageTitle(mivoAppearance& a, HDC dc, mivoSkinImage* image, std::u16string_view title, const RECT& rect,
                      int mode) {
  int textLeft = rect.left + 10 * S();
  if (HasPicture(image)) {
    const RECT drawn = DrawRowPicture(a, dc, image, rect, kAlignCenterY, mode);
    if (!IsZero(drawn)) textLeft = 7 * S() + drawn.right;
  }
  return DrawCentredTitle(a, dc, title, rect, textLeft);
}

int DrawRowTitle(mivoAppearance& a, HDC dc, std::u16string_view title, const RECT& rect, bool measure) {
  if (measure) {
    SelectObject(dc, a.TitleFont);
    return FitText(a, dc, title, a.TitleFont, rect.right - rect.left - 10 * S(), 10000).Height();
  }
  return DrawCentredTitle(a, dc, title, rect, rect.left + 10 * S());
}

int DrawRowIconTitle(mivoAppearance& a, HDC dc, HICON icon, std::u16string_view title, const RECT& rect,
                     bool destroy) {
  int textLeft = rect.left;
  if (icon) {
    const RECT drawn =
        DrawIconAligned(a, dc, icon, rect.left + 5 * S(), rect.top, rect.right, rect.bottom, kAlignCenterY, destroy);
    if (!IsZero(drawn)) textLeft = drawn.right + 7 * S();
  }
  return DrawCentredTitle(a, dc, title, rect, textLeft);
}

void DrawWallpaper(mivoAppearance& a, HDC dc, int sourceX, int sourceY, const RECT& rect, int desktop, bool landscape) {
  HBITMAP wallpaper = a.GetDesktopWallpaper(desktop, landscape);
  if (!wallpaper) {
    FillRect(dc, &rect, a.BackgroundBrush);
    return;
  }
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, wallpaper);
  BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, sourceX, sourceY, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}
